#include "systemtraybackend.h"

#include <QEvent>
#include <QMenu>
#include <QTimer>
#include <QWidget>

#include <utility>

#if QT_CONFIG(dbus)
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <QDBusVariant>
#endif

namespace {

// How long a session bus may take to say whether a StatusNotifier host draws the menus.
const int HostAnswerTimeoutMs = 2000;
// How long the icon waits for its window's first paint.
const int IconWithoutPaintMs = 1000;

bool deferredUntilPainted(const QWidget *owner)
{
#if QT_CONFIG(dbus)
    return owner && !owner->isVisible();
#else
    Q_UNUSED(owner)
    return false;
#endif
}

} // namespace

void SystemTrayBackend::shellNotifyIcon(quint32 action, const NotifyIconData &data, QWidget *owner)
{
    switch (action) {
    case quint32(TrayAction::Add):
        if (m_icon || m_pending)
            return;
        m_pending = data;
        // Reaching a tray found over D-Bus costs start-up milliseconds that the window's
        // first picture need not wait for: a window not shown yet gets its icon once it is
        // painted, or after a moment should it never be. Windows' notification area is
        // reached at once, before the window shows, as there: under Wine an icon docked
        // after the show takes the window's activation, and the first keys typed are lost.
        if (deferredUntilPainted(owner)) {
            m_owner = owner;
            owner->installEventFilter(this);
            QTimer::singleShot(IconWithoutPaintMs, this, &SystemTrayBackend::addPendingIcon);
        } else {
            addPendingIcon();
        }
        break;
    case quint32(TrayAction::Modify):
        if (m_pending) {
            m_pending = data;
        } else if (m_icon) {
            m_icon->setIcon(Tray::iconFromHandle(data.hIcon));
            m_icon->setToolTip(Tray::tipText(data));
        }
        break;
    case quint32(TrayAction::Delete):
        m_pending.reset();
        // The tray's own menu may be what asked: the icon goes once that call returns.
        if (m_icon) {
            m_icon->hide();
            m_icon->deleteLater();
            m_icon = nullptr;
        }
        break;
    default:
        break;
    }
}

bool SystemTrayBackend::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_owner && event->type() == QEvent::Paint) {
        m_owner->removeEventFilter(this);
        m_owner = nullptr;
        // Once the paint is over and its picture on the screen.
        QTimer::singleShot(0, this, &SystemTrayBackend::addPendingIcon);
    }
    return TrayBackend::eventFilter(watched, event);
}

void SystemTrayBackend::addPendingIcon()
{
    if (!m_pending)
        return;
    if (m_owner)
        m_owner->removeEventFilter(this);
    const NotifyIconData data = *std::exchange(m_pending, std::nullopt);
    m_icon = new QSystemTrayIcon(Tray::iconFromHandle(data.hIcon), this);
    m_icon->setToolTip(Tray::tipText(data));
    connect(m_icon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) { emit activated(eventCodeFor(reason)); });
    showWithMenu();
}

bool SystemTrayBackend::isAvailable() const
{
    return QSystemTrayIcon::isSystemTrayAvailable();
}

void SystemTrayBackend::setContextMenu(QMenu *menu)
{
    m_menu = menu;
    attachMenu();
}

// The test Qt makes as the icon is created: its tray is a StatusNotifier item on D-Bus once
// a host has registered with the watcher, and otherwise an XEmbed icon. Asked without
// waiting, so that a watcher that does not answer cannot hold the start up; the icon is
// shown with the answer, so that a host never sees it without its menu. With no bus at all
// (startx, a bare window manager) there is nobody to ask, and a bus that does not answer
// within a moment counts as none: the icon is never left unshown.
void SystemTrayBackend::showWithMenu()
{
#if QT_CONFIG(dbus)
    QDBusConnection bus = QDBusConnection::sessionBus();
    if (bus.isConnected()) {
        const QString watcher = QStringLiteral("org.kde.StatusNotifierWatcher");
        QDBusMessage get = QDBusMessage::createMethodCall(watcher, QStringLiteral("/StatusNotifierWatcher"),
                                                          QStringLiteral("org.freedesktop.DBus.Properties"),
                                                          QStringLiteral("Get"));
        get << watcher << QStringLiteral("IsStatusNotifierHostRegistered");
        // A call that times out finishes with an error: no late answer can follow.
        auto *call = new QDBusPendingCallWatcher(bus.asyncCall(get, HostAnswerTimeoutMs), this);
        connect(call, &QDBusPendingCallWatcher::finished, this, [this](QDBusPendingCallWatcher *call) {
            const QDBusPendingReply<QDBusVariant> reply = *call;
            m_hostDrawsMenus = reply.isValid() && reply.value().variant().toBool();
            attachMenu();
            if (m_icon)
                m_icon->show();
            call->deleteLater();
        });
        return;
    }
#endif
    // Windows' notification area, or an XEmbed tray: the program pops its own menu up.
    m_icon->show();
}

void SystemTrayBackend::attachMenu()
{
    // A StatusNotifier host draws the exported menu itself, which also works on Wayland,
    // where the program cannot pop a parentless menu up at the pointer. An XEmbed icon
    // would pop a context menu up by itself; there the program pops its own on event 517.
    if (m_icon && m_menu && m_hostDrawsMenus)
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
