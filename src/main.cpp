#include "mainwin/frmqbox.h"
#include "platform/singleinstance.h"
#include "store/programfolder.h"
#include "tray/systemtraybackend.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Hiding to the tray leaves no window; only the quit commands end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    // A copy already running from this folder is asked to show its window instead.
    SingleInstance instance(ProgramFolder());
    if (!instance.claim())
        return 0;

    SystemTrayBackend tray;
    TrayBackend::setCurrent(&tray);

    FrmQbox window;
    QObject::connect(&instance, &SingleInstance::showRequested, &window, [&window] {
        window.Mnu_Affichier_Click();
        window.raise();
        window.activateWindow();
    });
    window.show();
    return app.exec();
}
