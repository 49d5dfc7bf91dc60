#pragma once

// The few arguments read before any window or display connection exists; every other
// argument is left to Qt (-platform, -style...) or ignored.
namespace CommandLine {

enum class Request {
    Run,            // start the program
    Done,           // the version or the usage was printed: exit with status 0
    ServeClipboard, // the helper that keeps a copied text after the program has ended
};

Request parse(int argc, char *argv[]);

// The X display the program connects to, as Qt's X11 platform picks it: the one named by
// -display, else $DISPLAY; null when neither names one. Read before the application object
// takes Qt's own arguments out.
const char *displayName(int argc, char *argv[]);

// The argument that starts the clipboard helper; it is not meant to be typed.
constexpr const char *ServeClipboardArgument = "--serve-clipboard";

} // namespace CommandLine
