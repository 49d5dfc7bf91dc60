#pragma once

#include <QString>

namespace System {

// Starts the program at path without waiting for it. The path is the program itself,
// never a command line: no shell sees it and no arguments are passed. Returns false
// when the program could not be started.
bool startProgram(const QString &path);

} // namespace System
