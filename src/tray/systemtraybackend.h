#pragma once

#include "tray/traybackend.h"

#include <QPointer>
#include <QSystemTrayIcon>

#include <memory>

class QMenu;

// The desktop's notification area, through QSystemTrayIcon.
class SystemTrayBackend : public TrayBackend
{
public:
    SystemTrayBackend();
    ~SystemTrayBackend() override;

    void shellNotifyIcon(quint32 action, const NotifyIconData &data) override;
    bool isAvailable() const override;
    void setContextMenu(QMenu *menu) override;

    static int eventCodeFor(QSystemTrayIcon::ActivationReason reason);

private:
    void attachMenu();

    std::unique_ptr<QSystemTrayIcon> m_icon;
    QPointer<QMenu> m_menu;
};
