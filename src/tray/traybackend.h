#pragma once

#include "tray/traydata.h"

#include <QObject>

class QMenu;
class QWidget;

// Where the tray record goes: the notification area of the desktop, or a test's fake.
class TrayBackend : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    // Add, modify or delete the icon that the record describes; owner is the window whose
    // handle the record holds.
    virtual void shellNotifyIcon(quint32 action, const NotifyIconData &data, QWidget *owner) = 0;

    // Whether the desktop has a notification area to hide the window to.
    virtual bool isAvailable() const = 0;

    // The icon's menu, for desktops whose tray draws an application's menu itself; where
    // the application pops its menu up on event 517, the backend leaves it alone.
    virtual void setContextMenu(QMenu *menu);

    // The backend installed, or else the desktop's; TrayNotify hands the record to it.
    static TrayBackend &current();
    // Puts backend (not owned) in the desktop's place; nullptr restores the desktop's.
    static void install(TrayBackend *backend);

Q_SIGNALS:
    // The icon's mouse events, as the classic event codes.
    void activated(int eventCode);
};
