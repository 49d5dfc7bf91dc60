#include "traybackend.h"

#include "tray/systemtraybackend.h"

#include <QCoreApplication>
#include <QPointer>

namespace {
TrayBackend *installed = nullptr;
}

void TrayBackend::setContextMenu(QMenu *menu)
{
    Q_UNUSED(menu);
}

TrayBackend &TrayBackend::current()
{
    if (installed)
        return *installed;
    // Made with the first window and gone with the application, after the icon it showed.
    static QPointer<SystemTrayBackend> system;
    if (!system)
        system = new SystemTrayBackend(QCoreApplication::instance());
    return *system;
}

void TrayBackend::install(TrayBackend *backend)
{
    installed = backend;
}
