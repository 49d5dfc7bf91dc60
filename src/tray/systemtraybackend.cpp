#include "systemtraybackend.h"

SystemTrayBackend::SystemTrayBackend() = default;

SystemTrayBackend::~SystemTrayBackend() = default;

void SystemTrayBackend::shellNotifyIcon(quint32 action, const NotifyIconData &data)
{
    switch (action) {
    case quint32(TrayAction::Add):
        if (m_icon)
            return;
        m_icon = std::make_unique<QSystemTrayIcon>(IconFromHandle(data.hIcon));
        m_icon->setToolTip(TipText(data));
        QObject::connect(m_icon.get(), &QSystemTrayIcon::activated, m_icon.get(),
                         [this](QSystemTrayIcon::ActivationReason reason) {
                             reportEvent(eventCodeFor(reason));
                         });
        m_icon->show();
        break;
    case quint32(TrayAction::Modify):
        if (m_icon) {
            m_icon->setIcon(IconFromHandle(data.hIcon));
            m_icon->setToolTip(TipText(data));
        }
        break;
    case quint32(TrayAction::Delete):
        if (m_icon)
            m_icon->hide();
        m_icon.reset();
        break;
    default:
        break;
    }
}

bool SystemTrayBackend::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

int SystemTrayBackend::eventCodeFor(QSystemTrayIcon::ActivationReason reason)
{
    switch (reason) {
    case QSystemTrayIcon::Trigger:
        return TrayEvent::LeftButtonDown;
    case QSystemTrayIcon::Context:
        return TrayEvent::RightButtonUp;
    case QSystemTrayIcon::DoubleClick:
        return TrayEvent::LeftButtonDouble;
    default:
        return TrayEvent::MouseMove;
    }
}
