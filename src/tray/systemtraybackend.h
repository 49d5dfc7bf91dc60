#pragma once

#include "tray/traybackend.h"

#include <QSystemTrayIcon>

#include <memory>

// The desktop's notification area, through QSystemTrayIcon.
class SystemTrayBackend : public TrayBackend
{
public:
    SystemTrayBackend();
    ~SystemTrayBackend() override;

    void shellNotifyIcon(quint32 action, const NotifyIconData &data) override;
    bool isAvailable() const override;

    static int eventCodeFor(QSystemTrayIcon::ActivationReason reason);

private:
    std::unique_ptr<QSystemTrayIcon> m_icon;
};
