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

// The main window shown over a scratch folder, with the fake platform and a fake tray.
class Session
{
public:
    explicit Session(const FileMap &files = {}) : folder(files)
    {
        fake = FakePlatform();  // nothing shown, started or answered yet
        fake.folder = folder.path();
        fake.onEndProgram = [this] { ended = tray.actions; };
        m_window = std::make_unique<FrmQbox>();
        m_window->show();
        if (!QTest::qWaitForWindowExposed(m_window.get()))
            qFatal("the main window was never exposed");
    }
    ~Session()
    {
        while (!atEnd.isEmpty())
            atEnd.takeLast()();
        fake = FakePlatform();
    }

    ScratchFolder folder;
    FakeTrayBackend tray;
    FakePlatform &fake = FakePlatform::instance();
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
