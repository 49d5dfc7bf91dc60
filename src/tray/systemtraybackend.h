#pragma once

#include "tray/traybackend.h"

#include <QPointer>
#include <QSystemTrayIcon>

#include <optional>

class QMenu;

// The desktop's notification area, through QSystemTrayIcon.
class SystemTrayBackend : public TrayBackend
{
public:
    using TrayBackend::TrayBackend;

    void shellNotifyIcon(quint32 action, const NotifyIconData &data, QWidget *owner) override;
    bool isAvailable() const override;
    void setContextMenu(QMenu *menu) override;

    static int eventCodeFor(QSystemTrayIcon::ActivationReason reason);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void addPendingIcon();
    void showWithMenu();
    void attachMenu();

    // The icon to add once the window it belongs to has been painted.
    std::optional<NotifyIconData> m_pending;
    QPointer<QWidget> m_owner;
    QPointer<QSystemTrayIcon> m_icon;
    QPointer<QMenu> m_menu;
    bool m_hostDrawsMenus = false;
};
