#pragma once

#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "platform/fakeplatform.h"
#include "platform/msgbox.h"
#include "programwarnings.h"
#include "scratchfolder.h"
#include "tray/faketraybackend.h"

#include <QAbstractButton>
#include <QAction>
#include <QList>
#include <QPlainTextEdit>
#include <QString>
#include <QTest>

#include <functional>
#include <memory>

// Records each message box and answers from a script (OK when the script runs out).
class MsgBoxRecorder
{
public:
    MsgBoxRecorder()
    {
        FakePlatform::instance().answerMessageBox = [this](const QString &prompt, int style, const QString &title,
                                                           const QString &details) {
            m_calls << QString(prompt).replace('\r', "\\r") + QStringLiteral("|%1|").arg(style) + title
                           + (details.isEmpty() ? "" : "|" + details);
            if (onShow)
                onShow();
            return m_answers.isEmpty() ? 1 : m_answers.takeFirst();
        };
    }
    ~MsgBoxRecorder() { FakePlatform::instance().answerMessageBox = {}; }

    void answer(int button) { m_answers.append(button); }
    // Each box as "prompt|style|title", "|details" after when given, the prompt's CRs as \r.
    const QStringList &calls() const { return m_calls; }
    // Runs while a box is up, the handler waiting for the answer.
    std::function<void()> onShow;

private:
    QStringList m_calls;
    QList<int> m_answers;
};

// The main window shown over a scratch folder, with scripted message boxes and a fake tray.
class Session
{
public:
    explicit Session(const FileMap &files = {}) : folder(files)
    {
        FakePlatform::instance().folder = folder.path();
        FakePlatform::instance().onEndProgram = [this] { ended = tray.actions; };
        m_window = std::make_unique<FrmQbox>();
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("the main window was never exposed");
    }
    ~Session()
    {
        while (!atEnd.isEmpty())
            atEnd.takeLast()();
        FakePlatform::instance().onEndProgram = {};
    }

    ScratchFolder folder;
    FakeTrayBackend tray;
    MsgBoxRecorder boxes;
    // What the steps must undo, run as the session ends, the latest first.
    QList<std::function<void()>> atEnd;
    // The tray actions done by the time the program ended, if it did.
    QStringList ended;

    FrmQbox &window() const { return *m_window; }
    template<typename T = QWidget>
    T *find(const char *name) const { return m_window->findChild<T *>(QLatin1String(name)); }
    MSFlexGrid *grid() const { return find<MSFlexGrid>("MSFlexGrid1"); }

    // A user's click on a grid row's title cell.
    void clickRow(int row) const
    {
        QTableWidgetItem *cell = grid()->item(row - 1, 1);
        grid()->scrollToItem(cell);
        QTest::mouseClick(grid()->viewport(), Qt::LeftButton, {}, grid()->visualItemRect(cell).center());
    }

private:
    std::unique_ptr<FrmQbox> m_window;
};
