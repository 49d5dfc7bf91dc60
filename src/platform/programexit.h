#pragma once

#include <functional>

// Ends the program: leaves the event loop, so that the clipboard can still be handed
// over to a clipboard manager as the application shuts down.
void EndProgram();

// Tests record the call instead of ending the process; empty restores the default.
void SetEndProgramFunction(std::function<void()> function);
