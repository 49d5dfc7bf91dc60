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
#include <QTimer>

class TestTrayEvents : public QObject
{
    Q_OBJECT

private:
    static QMenu *trayMenu(const Session &s) { return s.window().findChild<QMenu *>(QStringLiteral("MenuPopUp")); }

    // A button is clicked, a menu item triggered, "close" closes the window.
    static void run(const Session &s, const QString &command)
    {
        if (command == QLatin1String("close"))
            s.window().close();
        else if (QAbstractButton *button = s.button(qPrintable(command)))
            QTest::mouseClick(button, Qt::LeftButton);
        else
            s.item(qPrintable(command))->trigger();
    }

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
        for (int code : {512, 514, 515, 516})
            QTest::addRow("%d does nothing", code) << code << true << false << false;
    }
    void eventCodes()
    {
        QFETCH(int, code);
        QFETCH(bool, hiddenBefore);
        QFETCH(bool, shownAfter);
        QFETCH(bool, menuOpens);
        Session s;
        if (hiddenBefore)
            s.window().hide();
        const QRect geometry = s.window().geometry();

        s.tray.sendEvent(code);

        QCOMPARE(s.window().isVisible(), shownAfter);
        QCOMPARE(trayMenu(s)->isVisible(), menuOpens);
        if (shownAfter)
            QCOMPARE(s.window().geometry(), geometry);
        trayMenu(s)->close();
    }

    void mouseMovesOverTheWindowAreNoTrayEvents()
    {
        Session s;
        s.window().hide();
        s.window().show();
        QTest::mouseMove(s.window().centralWidget(), QPoint(34, 10));
        QVERIFY(!trayMenu(s)->isVisible());
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
        Session s;
        run(s, command);
        QVERIFY(!s.window().isVisible());
        // Hiding a hidden window changes nothing; the icon stays.
        run(s, command);
        QVERIFY(!s.window().isVisible());
        QCOMPARE(s.tray.calls().size(), 1);
        s.item("Mnu_Affichier")->trigger();
        QVERIFY(s.window().isVisible());
    }

    void hidingDuringAnEditKeepsTheTypedText()
    {
        Session s;
        s.click("Command2");
        QTest::keyClicks(s.title(), QStringLiteral("titre"));
        QTest::keyClicks(s.body(), QStringLiteral("texte en cours"));
        s.click("Command8");
        s.tray.sendEvent(513);
        QVERIFY(s.window().isVisible());
        QCOMPARE(s.mode(), QStringLiteral("edit"));
        QCOMPARE(s.title()->text(), QStringLiteral("titre"));
        QCOMPARE(s.body()->toPlainText(), QStringLiteral("texte en cours"));
        QCOMPARE(int(NumMes), 1);
    }

    void withoutANotificationAreaHidingMinimizes()
    {
        Session s;
        s.tray.setAvailable(false);
        s.click("Command8");
        QVERIFY(s.window().isVisible());
        QVERIFY(s.window().isMinimized());
        s.window().Mnu_Affichier_Click();
        QVERIFY(!s.window().isMinimized());
    }

    void everyWayOutRemovesTheIconFirst_data()
    {
        QTest::addColumn<QString>("way");
        for (const char *way : {"Command5", "Mnu_Quitter", "Mnu_Fin", "close"})
            QTest::newRow(way) << way;
    }
    void everyWayOutRemovesTheIconFirst()
    {
        QFETCH(QString, way);
        const QByteArray bytes = slotBytes(1, "Un", {"u"});
        Session s({{"Qbox1.QBX", bytes}});
        QList<quint32> actionsWhenEnded;
        SetEndProgramFunction([&] {
            for (const FakeTrayBackend::Call &call : s.tray.calls())
                actionsWhenEnded << call.action;
        });
        // An edit in progress is dropped without a question.
        s.clickCell(1);
        s.click("Command3");
        QTest::keyClicks(s.title(), QStringLiteral("perdu"));

        run(s, way);
        SetEndProgramFunction({});

        QCOMPARE(actionsWhenEnded, (QList<quint32>{0, 2}));
        const NotifyIconData &removal = s.tray.calls().constLast().data;
        QCOMPARE(removal.uFlags, 7u);
        QCOMPARE(removal.hIcon, s.tray.calls().constFirst().data.hIcon);
        QVERIFY(s.boxes.calls().isEmpty());
        QCOMPARE(s.folder.entries(), QStringList{"Qbox1.QBX"});
        QCOMPARE(s.folder.read("Qbox1.QBX"), bytes);
    }

    // Each way out leaves the running event loop, even where a quit request could be
    // refused by the window being closed, and removes the icon once.
    void everyWayOutEndsTheEventLoopOnce_data() { everyWayOutRemovesTheIconFirst_data(); }
    void everyWayOutEndsTheEventLoopOnce()
    {
        QFETCH(QString, way);
        Session s;
        QTimer::singleShot(0, &s.window(), [&] { run(s, way); });
        QTimer watchdog;
        watchdog.callOnTimeout([] { QCoreApplication::exit(1); });
        watchdog.start(5000);
        QCOMPARE(QCoreApplication::exec(), 0);
        QCOMPARE(s.tray.calls().size(), 2);
    }
};

QTEST_MAIN(TestTrayEvents)
#include "tst_trayevents.moc"
