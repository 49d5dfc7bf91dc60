#pragma once

#include <QString>

#include <chrono>

// The clipboard as the program uses it, with the meaning it has on Windows: the text
// put there stays after the program ends.
namespace Clipboard {

void clear();
void setText(const QString &text);

// Where the system keeps the text itself (Windows), hands it the text now: Qt's own
// copy on the clipboard would otherwise be taken away with the process.
void leaveWithSystem();

// True when the text this program put on the clipboard would end with the process: it
// still owns the clipboard, the system keeps no copy of its own (X11, Wayland) and no
// clipboard manager will take the text over at exit.
bool endsWithProgram();

// Serves the clipboard, with nothing shown, until another program takes it or the
// limit has passed.
void serveUntilTaken(std::chrono::milliseconds limit);

// True where a copy of this program started for it can keep the text after the program
// ends: X11. A process without a window cannot own a Wayland selection.
bool canHandOver();

// Hands the text over to a copy of this program started, detached, with the given
// argument, on the given X display, so that this process can end at once; false when the
// copy did not take the clipboard within the wait, or ended before, and the text then goes
// with the program.
bool handOver(const QString &helperArgument, const QString &display, std::chrono::milliseconds wait);

// In that copy: takes the text from the program's window, named after the argument, only
// while that window still owns the clipboard (a copy another program made meanwhile is
// left alone), then serves it as serveUntilTaken() does.
void serveHandedOver(const QString &helperArgument, std::chrono::milliseconds limit);

} // namespace Clipboard
