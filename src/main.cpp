#include "mainwin/frmqbox.h"
#include "tray/systemtraybackend.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    // Hiding to the tray leaves no window; only the quit commands end the program.
    QApplication::setQuitOnLastWindowClosed(false);

    SystemTrayBackend tray;
    TrayBackend::setCurrent(&tray);

    FrmQbox window;
    window.show();
    return app.exec();
}
