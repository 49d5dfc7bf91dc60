#pragma once

#include "tray/traydata.h"

#include <functional>

class QMenu;

// Where the tray record goes: the notification area of the desktop, or a test's fake.
// The backend reports the icon's mouse events as the classic event codes.
class TrayBackend
{
public:
    using EventHandler = std::function<void(int eventCode)>;

    virtual ~TrayBackend();

    // Add, modify or delete the icon that the record describes.
    virtual void shellNotifyIcon(quint32 action, const NotifyIconData &data) = 0;

    // Whether the desktop has a notification area to hide the window to.
    virtual bool isAvailable() const = 0;

    void setEventHandler(EventHandler handler);

    // The icon's menu, for desktops whose tray draws an application's menu itself; where
    // the application pops its menu up on event 517, the backend leaves it alone.
    virtual void setContextMenu(QMenu *menu);

    // The backend that TrayNotify uses (not owned); none means no tray at all.
    static TrayBackend *current();
    static void setCurrent(TrayBackend *backend);

protected:
    void reportEvent(int eventCode) const;

private:
    EventHandler m_handler;
};
