#pragma once

namespace System {

// Lets what the command line prints reach the terminal that started the program: on
// Windows a windowed program has none of its own unless it takes its parent's.
void attachParentConsole();

// Prints UTF-8 text on standard output: to a Windows console as its characters, whatever
// the console's code page; to a file or a pipe as UTF-8.
void printUtf8(const char *text);

// Closes every descriptor above the standard streams that the process inherited, so that a
// process outliving the program that started it holds none of that program's files, locks
// or pipes. Called before anything of the process's own is open.
void closeInheritedDescriptors();

} // namespace System
