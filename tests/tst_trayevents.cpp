#include "mainwin/frmqbox.h"
#include "module1.h"
#include "platform/programexit.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QTest>

class TestTrayEvents : public QObject
{
    Q_OBJECT

private:
    static QMenu *trayMenu(FrmQbox &window) { return window.findChild<QMenu *>(QStringLiteral("MenuPopUp")); }

private Q_SLOTS:
    void eventCodes_data()
    {
        QTest::addColumn<int>("code");
        QTest::addColumn<bool>("hiddenBefore");
        QTest::addColumn<bool>("shownAfter");
        QTest::addColumn<bool>("menuOpens");
        QTest::newRow("513 shows a hidden window") << 513 << true << true << false;
        QTest::newRow("513 on a shown window") << 513 << false << true << false;
        QTest::newRow("517 opens the tray menu") << 517 << true << false << true;
        QTest::newRow("512 mouse move") << 512 << true << false << false;
        QTest::newRow("514 left release") << 514 << true << false << false;
        QTest::newRow("515 double click") << 515 << true << false << false;
        QTest::newRow("516 right press") << 516 << true << false << false;
    }
    void eventCodes()
    {
        QFETCH(int, code);
        QFETCH(bool, hiddenBefore);
        QFETCH(bool, shownAfter);
        QFETCH(bool, menuOpens);
        ScratchFolder folder;
        FakeTrayBackend tray;
        FrmQbox window;
        QVERIFY(showWindow(window));
        if (hiddenBefore)
            window.hide();
        const QRect geometry = window.geometry();

        tray.sendEvent(code);

        QCOMPARE(window.isVisible(), shownAfter);
        QCOMPARE(trayMenu(window)->isVisible(), menuOpens);
        if (shownAfter)
            QCOMPARE(window.geometry(), geometry);
        trayMenu(window)->close();
    }

    void mouseMovesOverTheWindowAreNoTrayEvents()
    {
        ScratchFolder folder;
        FakeTrayBackend tray;
        FrmQbox window;
        QVERIFY(showWindow(window));
        // 517 pixels of the tray's scale, were the window's own moves ever decoded.
        QTest::mouseMove(&window, QPoint(34, 10));
        QTest::mouseMove(window.centralWidget(), QPoint(517 % 400, 5));
        QVERIFY(!trayMenu(window)->isVisible());
        QVERIFY(window.isVisible());
    }

    void hideCommands_data()
    {
        QTest::addColumn<QString>("command");
        QTest::newRow("button") << "Command8";
        QTest::newRow("file menu") << "Mnu_Masque";
        QTest::newRow("tray menu") << "Mnu_Masquer";
    }
    void hideCommands()
    {
        QFETCH(QString, command);
        ScratchFolder folder;
        FakeTrayBackend tray;
        FrmQbox window;
        QVERIFY(showWindow(window));
        if (auto *button = window.findChild<QAbstractButton *>(command))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            window.findChild<QAction *>(command)->trigger();
        QVERIFY(!window.isVisible());

        // Hiding a hidden window changes nothing; the icon stays.
        window.Mnu_Masquer_Click();
        QVERIFY(!window.isVisible());
        QCOMPARE(tray.calls().size(), 1);

        window.findChild<QAction *>(QStringLiteral("Mnu_Affichier"))->trigger();
        QVERIFY(window.isVisible());
    }

    void hidingDuringAnEditKeepsTheTypedText()
    {
        ScratchFolder folder;
        FakeTrayBackend tray;
        FrmQbox window;
        QVERIFY(showWindow(window));
        window.Command2_Click();
        auto *title = window.findChild<QLineEdit *>(QStringLiteral("Text2"));
        auto *body = window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"));
        QTest::keyClicks(title, QStringLiteral("titre"));
        QTest::keyClicks(body, QStringLiteral("texte en cours"));

        window.Command8_Click();
        QVERIFY(!window.isVisible());
        tray.sendEvent(513);

        QVERIFY(window.isVisible());
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame2"))->isVisible());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible());
        QCOMPARE(title->text(), QStringLiteral("titre"));
        QCOMPARE(body->toPlainText(), QStringLiteral("texte en cours"));
        QCOMPARE(int(NumMes), 1);
    }

    void withoutANotificationAreaHidingMinimizes()
    {
        ScratchFolder folder;
        FakeTrayBackend tray;
        tray.setAvailable(false);
        FrmQbox window;
        QVERIFY(showWindow(window));

        window.Command8_Click();
        QVERIFY(window.isVisible());
        QVERIFY(window.isMinimized());

        window.Mnu_Affichier_Click();
        QVERIFY(window.isVisible());
        QVERIFY(!window.isMinimized());
    }

    void everyWayOutRemovesTheIconFirst_data()
    {
        QTest::addColumn<QString>("way");
        QTest::newRow("Quitter button") << "Command5";
        QTest::newRow("Quitter in the file menu") << "Mnu_Quitter";
        QTest::newRow("Quitter in the tray menu") << "Mnu_Fin";
        QTest::newRow("closing the window") << "close";
    }
    void everyWayOutRemovesTheIconFirst()
    {
        QFETCH(QString, way);
        ScratchFolder folder;
        const QByteArray bytes = slotBytes(1, "Un", {"u"});
        folder.write("Qbox1.QBX", bytes);
        FakeTrayBackend tray;
        MsgBoxRecorder boxes;
        QList<quint32> actionsWhenEnded;
        int ended = 0;
        SetEndProgramFunction([&] {
            ++ended;
            for (const FakeTrayBackend::Call &call : tray.calls())
                actionsWhenEnded << call.action;
        });
        FrmQbox window;
        QVERIFY(showWindow(window));
        // An edit in progress is dropped without a question.
        window.Command2_Click();
        QTest::keyClicks(window.findChild<QLineEdit *>(QStringLiteral("Text2")), QStringLiteral("perdu"));

        if (way == QLatin1String("close"))
            window.close();
        else if (auto *button = window.findChild<QAbstractButton *>(way))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            window.findChild<QAction *>(way)->trigger();
        SetEndProgramFunction({});

        QCOMPARE(ended, 1);
        QCOMPARE(actionsWhenEnded, (QList<quint32>{0, 2}));
        const NotifyIconData &removal = tray.calls().constLast().data;
        QCOMPARE(removal.uFlags, 7u);
        QCOMPARE(removal.hIcon, tray.calls().constFirst().data.hIcon);
        QCOMPARE(removal.hWnd, tray.calls().constFirst().data.hWnd);
        QVERIFY(boxes.calls().isEmpty());
        QCOMPARE(folder.entries(), QStringList{"Qbox1.QBX"});
        QCOMPARE(folder.read("Qbox1.QBX"), bytes);
    }
};

QTEST_MAIN(TestTrayEvents)
#include "tst_trayevents.moc"
