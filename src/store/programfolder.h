#pragma once

#include <QString>

// The folder of the running executable, where the messages are kept.
QString ProgramFolder();

// Tests run the window over a scratch folder; an empty folder restores the default.
void SetProgramFolderForTests(const QString &folder);
