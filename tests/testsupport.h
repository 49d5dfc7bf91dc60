#pragma once

#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "tray/traybackend.h"

#include <QAbstractButton>
#include <QAction>
#include <QByteArray>
#include <QLabel>
#include <QLineEdit>
#include <QList>
#include <QMap>
#include <QPlainTextEdit>
#include <QString>
#include <QTemporaryDir>

#include <functional>
#include <memory>

using FileMap = QMap<QString, QByteArray>;

// A scratch program folder: the window and the store work in it for the test's life.
class ScratchFolder
{
public:
    ScratchFolder();
    ~ScratchFolder();

    QString path() const { return m_dir.path(); }
    QString filePath(const QString &name) const { return m_dir.filePath(name); }
    void write(const QString &name, const QByteArray &bytes) const;
    QByteArray read(const QString &name) const;
    bool exists(const QString &name) const;
    void remove(const QString &name) const;
    // Every entry of the folder, to see that nothing else was left behind.
    QStringList entries() const;

private:
    QTemporaryDir m_dir;
};

// A slot file's bytes, in the stored layout; and plain files for the given slots.
QByteArray slotBytes(int number, const QByteArray &title, const QList<QByteArray> &lines);
FileMap slotFiles(int first, int last);

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

    FakeTrayBackend() { setCurrent(this); }

    void shellNotifyIcon(quint32 action, const NotifyIconData &data) override { m_calls.append({action, data}); }
    bool isAvailable() const override { return m_available; }

    void setAvailable(bool available) { m_available = available; }
    void sendEvent(int eventCode) const { reportEvent(eventCode); }
    const QList<Call> &calls() const { return m_calls; }

private:
    QList<Call> m_calls;
    bool m_available = true;
};

// Shows a window on the offscreen screen and waits until it can take input.
bool showWindow(QWidget &window);

// The main window started, and shown offscreen, over a scratch folder holding the
// given files, with scripted message boxes and a fake notification area. Controls are
// reached by their names, as a user's tools would.
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
    QLineEdit *title() const { return find<QLineEdit>("Text2"); }
    QPlainTextEdit *body() const { return find<QPlainTextEdit>("Text1"); }
    QPlainTextEdit *display() const { return find<QPlainTextEdit>("Label1"); }
    QLabel *shownTitle() const { return find<QLabel>("Label3"); }
    QAbstractButton *button(const char *name) const { return find<QAbstractButton>(name); }
    QAction *item(const char *name) const { return find<QAction>(name); }

    // "buttons", "view", "edit" for the panels shown, then "grid" when it is enabled.
    QString mode() const;
    // Copier, Modifier and Supprimer as buttons, then as menu items: 1 for enabled.
    QString commands() const;
    QString tooltip(const char *name) const;
    QString cellText(int row) const;
    bool cellYellow(int row) const;
    // The editor's text as the handlers see it, with CR LF.
    QString bodyText() const;

    void click(const char *name) const;
    // A user's click on a grid cell, the row counted as the grid counts it (1 to 50).
    void clickCell(int row, int col = 1) const;

private:
    std::unique_ptr<FrmQbox> m_window;
};
