#pragma once

namespace System {

// Lets what the command line prints reach the terminal that started the program: on
// Windows a windowed program has none of its own unless it takes its parent's.
void attachParentConsole();

} // namespace System
