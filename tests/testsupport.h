#pragma once

#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "scratchfolder.h"
#include "tray/traybackend.h"

#include <QAbstractButton>
#include <QAction>
#include <QList>
#include <QPlainTextEdit>
#include <QString>

#include <functional>
#include <memory>

// Records each message box and answers from a script (OK when the script runs out).
class MsgBoxRecorder
{
public:
    MsgBoxRecorder();
    ~MsgBoxRecorder();

    void answer(int button) { m_answers.append(button); }
    // Each box as "prompt|style|title", the prompt's CRs written as \r.
    const QStringList &calls() const { return m_calls; }
    // Runs while a box is up, the handler waiting for the answer.
    std::function<void()> onShow;

private:
    QStringList m_calls;
    QList<int> m_answers;
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

    FakeTrayBackend() { setCurrent(this); }

    void shellNotifyIcon(quint32 action, const NotifyIconData &data) override { calls.append({action, data}); }
    bool isAvailable() const override { return available; }
    void sendEvent(int eventCode) const { reportEvent(eventCode); }

    QList<Call> calls;
    bool available = true;
};

// The main window started over a scratch folder holding the given files and shown
// offscreen, with scripted message boxes and a fake notification area.
class Session
{
public:
    explicit Session(const FileMap &files = {});
    ~Session();

    ScratchFolder folder;
    FakeTrayBackend tray;
    MsgBoxRecorder boxes;

    FrmQbox &window() const { return *m_window; }
    template<typename T = QWidget>
    T *find(const char *name) const { return m_window->findChild<T *>(QLatin1String(name)); }
    MSFlexGrid *grid() const { return find<MSFlexGrid>("MSFlexGrid1"); }

    // "buttons", "view", "edit" for the panels shown, then "grid" when it is enabled.
    QString mode() const;
    // Copier, Modifier and Supprimer as buttons, then as menu items: 1 for enabled.
    QString commands() const;
    // A user's click on a grid row's title cell.
    void clickRow(int row) const;

private:
    std::unique_ptr<FrmQbox> m_window;
};
