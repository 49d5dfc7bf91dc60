#include "commandline.h"
#include "logging.h"
#include "mainwin/frmqbox.h"
#include "platform/clipboard.h"
#include "platform/console.h"
#include "platform/singleinstance.h"
#include "platform/programfolder.h"
#include "platform/qttranslation.h"
#include "version.h"

#include <QApplication>

#include <chrono>
#include <memory>

namespace {

// A copied text is kept this long after quitting when nothing else keeps it: a working
// day and the night after. Another program's copy ends the wait sooner.
constexpr std::chrono::hours KeepClipboardFor{12};
// How long the helper that serves it may take to start and take the text over.
constexpr std::chrono::seconds HandOverWithin{5};

} // namespace

int main(int argc, char *argv[])
{
    startupMark("main");
    const CommandLine::Request request = CommandLine::parse(argc, argv);
    if (request == CommandLine::Request::Done)
        return 0;
    // The helper may serve for hours: it keeps nothing of the program that started it.
    if (request == CommandLine::Request::ServeClipboard)
        System::closeInheritedDescriptors();
    const QString display = QString::fromLocal8Bit(CommandLine::displayName(argc, argv));
    // Names the user's data folder (~/.local/share/Quillbox) and the X11 window class.
    QApplication::setApplicationName(QStringLiteral("Quillbox"));
    QApplication app(argc, argv);
    startupMark("application");
    // The launcher's name: docks and Wayland compositors match the window to it.
    QGuiApplication::setDesktopFileName(QStringLiteral(QUILLBOX_APP_ID));
    // Hiding to the tray leaves no window; only the quit commands end the program.
    QApplication::setQuitOnLastWindowClosed(false);
    if (request == CommandLine::Request::ServeClipboard) {
        Clipboard::serveHandedOver(QString::fromLatin1(CommandLine::ServeClipboardArgument), KeepClipboardFor);
        return 0;
    }
    // Qt's own texts (context menus, box buttons) in French, as the program's are.
    System::installQtTranslation();

    // A copy already running from this folder is asked to show its window instead.
    auto instance = std::make_unique<SingleInstance>(System::programFolder());
    if (!instance->claim())
        return 0;
    startupMark("single-instance guard");

    int status = 0;
    {
        FrmQbox window;
        QObject::connect(instance.get(), &SingleInstance::showRequested, &window, [&window] {
            window.Mnu_Affichier_Click();
            window.raise();
            window.activateWindow();
        });
        window.show();
        startupMark("shown");
        status = app.exec();
    }

    // The quit steps have run and the window is gone; a new launch now starts normally.
    instance.reset();
    Clipboard::leaveWithSystem();
    // Where the system keeps no copy, a detached helper serves the text on X11, so that a
    // terminal gets its prompt back; should it fail, the text goes and the program ends all
    // the same. On Wayland, where only a process with a window can own the clipboard, this
    // one stays, unseen, to serve it.
    if (Clipboard::endsWithProgram()) {
        if (Clipboard::canHandOver())
            Clipboard::handOver(QString::fromLatin1(CommandLine::ServeClipboardArgument), display, HandOverWithin);
        else
            Clipboard::serveUntilTaken(KeepClipboardFor);
    }
    return status;
}
