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

// The argument that starts the clipboard helper; it is not meant to be typed.
constexpr const char *ServeClipboardArgument = "--serve-clipboard";

} // namespace CommandLine
