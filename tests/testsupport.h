#pragma once

#include "tray/traybackend.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>

#include <functional>

class FrmQbox;
class QWidget;

// A scratch program folder: the window and the store work in it for the test's life.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const;
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    bool exists(const QString &name) const;
    // Every entry of the folder, to see that nothing else was left behind.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

// A slot file's bytes, in the stored layout.
QByteArray slotBytes(int number, const QByteArray &title, const QList<QByteArray> &lines);

// Records each message box and answers from a script (OK when the script runs out).
class MsgBoxRecorder
{
public:
    struct Call
    {
        QString prompt;
        int style;
        QString title;
    };

    MsgBoxRecorder();
    ~MsgBoxRecorder();

    void answer(int button) { m_answers.append(button); }
    const QList<Call> &calls() const { return m_calls; }
    // Runs during the box, while the handler waits for the answer.
    void onShow(std::function<void()> action) { m_onShow = std::move(action); }

private:
    QList<Call> m_calls;
    QList<int> m_answers;
    std::function<void()> m_onShow;
};

// Stands in for the notification area: records every record handed to it.
class FakeTrayBackend : public TrayBackend
{
public:
    struct Call
    {
        quint32 action;
        NotifyIconData data;
    };

    FakeTrayBackend();
    ~FakeTrayBackend() override;

    void shellNotifyIcon(quint32 action, const NotifyIconData &data) override;
    bool isAvailable() const override { return m_available; }

    void setAvailable(bool available) { m_available = available; }
    void sendEvent(int eventCode) const { reportEvent(eventCode); }
    const QList<Call> &calls() const { return m_calls; }

private:
    QList<Call> m_calls;
    bool m_available = true;
};


// A user's click on a grid cell, the row counted as the grid counts it (1 to 50).
void clickGridCell(FrmQbox &window, int row, int col = 1);

// Shows the window on the offscreen screen and waits until it can take input.
bool showWindow(QWidget &window);
