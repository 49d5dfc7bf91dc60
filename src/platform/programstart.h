#pragma once

#include <QString>

#include <functional>

// Starts the program at path without waiting for it. The path is the program itself,
// never a command line: no shell sees it and no arguments are passed. Returns false
// when the program could not be started.
bool StartProgram(const QString &path);

// Tests record the paths instead of starting anything; empty restores the default.
using StartProgramFunction = std::function<bool(const QString &path)>;
void SetStartProgramFunction(StartProgramFunction function);
