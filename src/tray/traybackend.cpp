#include "traybackend.h"

#include "platform/platform.h"

void TrayBackend::setContextMenu(QMenu *menu)
{
    Q_UNUSED(menu);
}

TrayBackend *TrayBackend::current()
{
    return Platform::current().trayBackend();
}
