#include "traybackend.h"

namespace {
TrayBackend *currentBackend = nullptr;
}

TrayBackend::~TrayBackend()
{
    if (currentBackend == this)
        currentBackend = nullptr;
}

void TrayBackend::setEventHandler(EventHandler handler)
{
    m_handler = std::move(handler);
}

void TrayBackend::setContextMenu(QMenu *menu)
{
    Q_UNUSED(menu);
}

TrayBackend *TrayBackend::current()
{
    return currentBackend;
}

void TrayBackend::setCurrent(TrayBackend *backend)
{
    currentBackend = backend;
}

void TrayBackend::reportEvent(int eventCode) const
{
    if (m_handler)
        m_handler(eventCode);
}
