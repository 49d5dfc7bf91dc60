#include "systemtraybackend.h"

#include <QMenu>

#if QT_CONFIG(dbus)
#include <QDBusConnection>
#include <QDBusInterface>
#endif

namespace {

// The test Qt makes as the icon is created: its tray is a StatusNotifier item on D-Bus once
// a host has registered with the watcher, and otherwise an XEmbed icon.
bool isStatusNotifierItem()
{
#if !QT_CONFIG(dbus)
    return false;   // Windows: the shell's own notification area
#else
    const QString watcherName = QStringLiteral("org.kde.StatusNotifierWatcher");
    QDBusInterface watcher(watcherName, QStringLiteral("/StatusNotifierWatcher"), watcherName,
                           QDBusConnection::sessionBus());
    return watcher.isValid() && watcher.property("IsStatusNotifierHostRegistered").toBool();
#endif
}

} // namespace

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
        attachMenu();
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

void SystemTrayBackend::setContextMenu(QMenu *menu)
{
    m_menu = menu;
    if (m_icon)
        attachMenu();
}

void SystemTrayBackend::attachMenu()
{
    // A StatusNotifier host draws the exported menu itself, which also works on Wayland,
    // where the program cannot pop a parentless menu up at the pointer. An XEmbed icon
    // would pop a context menu up by itself; there the program pops its own on event 517.
    if (m_menu && isStatusNotifierItem())
        m_icon->setContextMenu(m_menu);
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
