#pragma once

namespace System {

// Ends the program: leaves every running event loop at once, so that main() can finish
// the quit and the clipboard can be handed over or kept as the process ends. Unlike a
// quit request it closes no window and nothing can refuse it; calling it again while
// the program ends changes nothing.
void endProgram();

} // namespace System
