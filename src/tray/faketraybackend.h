#pragma once

#include "tray/traybackend.h"

#include <QList>
#include <QStringList>

// Stands in for the notification area in tests while it lives: records every record
// handed to it, and reports the events a test sends.
class FakeTrayBackend : public TrayBackend
{
public:
    FakeTrayBackend() { install(this); }
    ~FakeTrayBackend() override { install(nullptr); }

    void shellNotifyIcon(quint32 action, const NotifyIconData &data, QWidget *) override
    {
        actions << QString::number(action);
        records << data;
    }
    bool isAvailable() const override { return available; }
    void sendEvent(int eventCode) { emit activated(eventCode); }

    QStringList actions;
    QList<NotifyIconData> records;
    bool available = true;
};
