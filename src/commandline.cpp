#include "commandline.h"

#include "platform/console.h"
#include "version.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

const char Usage[] =
        "Usage: quillbox [--help | --version]\n"
        "\n"
        "Clipboard-snippet manager with a French interface: up to 50 numbered messages,\n"
        "each a title and a text, whose text one click puts on the clipboard.\n"
        "\n"
        "  --help     print this help and exit\n"
        "  --version  print the version and exit\n"
        "\n"
        "Other arguments are ignored, except those of Qt (-platform, -style...).\n"
        "See quillbox(1).\n";

} // namespace

namespace CommandLine {

Request parse(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            System::attachParentConsole();
            std::fputs("quillbox " QUILLBOX_VERSION_STRING "\n", stdout);
            return Request::Done;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            System::attachParentConsole();
            std::fputs(Usage, stdout);
            return Request::Done;
        }
        if (std::strcmp(argv[i], ServeClipboardArgument) == 0)
            return Request::ServeClipboard;
    }
    return Request::Run;
}

const char *displayName(int argc, char *argv[])
{
    const char *name = std::getenv("DISPLAY");
    // The last one named wins, as in Qt.
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0 || std::strcmp(argv[i], "--display") == 0)
            name = argv[++i];
    }
    return name;
}

} // namespace CommandLine
