#pragma once

#include "tray/traybackend.h"

#include <QPointer>
#include <QSystemTrayIcon>

class QMenu;

// The desktop's notification area, through QSystemTrayIcon.
class SystemTrayBackend : public TrayBackend
{
public:
    using TrayBackend::TrayBackend;

    void shellNotifyIcon(quint32 action, const NotifyIconData &data) override;
    bool isAvailable() const override;
    void setContextMenu(QMenu *menu) override;

    static int eventCodeFor(QSystemTrayIcon::ActivationReason reason);

private:
    void showWithMenu();
    void attachMenu();

    QPointer<QSystemTrayIcon> m_icon;
    QPointer<QMenu> m_menu;
    bool m_hostDrawsMenus = false;
};
