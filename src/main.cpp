#include "mainwin/frmqbox.h"
#include "platform/clipboard.h"
#include "platform/singleinstance.h"
#include "platform/programfolder.h"
#include "version.h"

#include <QApplication>

#include <chrono>
#include <memory>

namespace {

// A copied text is kept this long after quitting when nothing else keeps it: a working
// day and the night after. Another program's copy ends the wait sooner.
constexpr std::chrono::hours KeepClipboardFor{12};

} // namespace

int main(int argc, char *argv[])
{
    // Names the user's data folder (~/.local/share/Quillbox) and the X11 window class.
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QApplication app(argc, argv);
    // The launcher's name: docks and Wayland compositors match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLBOX_APP_ID));
    // Hiding to the tray leaves no window; only the quit commands end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // A copy already running from this folder is asked to show its window instead.
    auto instance = std::make_unique<SingleInstance>(ProgramFolder());
    if (!instance->claim())
        return 0;

    int status = 0;
    {
        FrmQbox window;
        QObject::connect(instance.get(), &SingleInstance::showRequested, &window, [&window] {
            window.Mnu_Affichier_Click();
            window.raise();
            window.activateWindow();
        });
        window.show();
        status = app.exec();
    }

    // The quit steps have run and the window is gone; a new launch now starts normally.
    instance.reset();
    // Where the system keeps no copy, the process stays, unseen, only to serve the text.
    if (Clipboard::endsWithProgram())
        Clipboard::serveUntilTaken(KeepClipboardFor);
    return status;
}
