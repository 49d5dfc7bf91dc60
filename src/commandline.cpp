#include "commandline.h"

#include "platform/console.h"
#include "version.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// UTF-8, as this file.
const char Usage[] =
        "Utilisation : quillbox [--help | --version]\n"
        "\n"
        "Gestionnaire de presse-papier en français : jusqu'à 50 messages numérotés,\n"
        "chacun fait d'un titre et d'un texte ; un clic copie le texte d'un message\n"
        "dans le presse-papier.\n"
        "\n"
        "  --help     afficher cette aide et quitter\n"
        "  --version  afficher la version et quitter\n"
        "\n"
        "Les autres arguments sont ignorés, sauf ceux de Qt (-platform, -style...).\n"
        "Voir quillbox(1).\n";

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
            System::printUtf8(Usage);
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
