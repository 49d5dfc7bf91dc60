#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/programexit.h"
#include "testsupport.h"
#include "tray/traydata.h"

#include <QAction>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QScreen>
#include <QTest>

using TitleMap = QMap<int, QString>;

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void gridAfterStartup_data()
    {
        QTest::addColumn<FileMap>("files");
        QTest::addColumn<TitleMap>("titles");
        QTest::addColumn<int>("numMes");

        QTest::newRow("empty folder") << FileMap{} << TitleMap{} << 0;
        QTest::newRow("files 3 and 12")
            << FileMap{{"Qbox3.QBX", slotBytes(3, "Trois", {"a"})}, {"Qbox12.QBX", slotBytes(12, "Douze", {"b"})}}
            << TitleMap{{3, "Trois"}, {12, "Douze"}} << 12;
        QTest::newRow("Qbox7 storing 3 shows in row 3")
            << FileMap{{"Qbox7.QBX", slotBytes(3, "Sept", {"a"})}} << TitleMap{{3, "Sept"}} << 3;
        QTest::newRow("two files storing one number: the later file wins")
            << FileMap{{"Qbox4.QBX", slotBytes(4, "Premier", {"a"})}, {"Qbox9.QBX", slotBytes(4, "Second", {"b"})}}
            << TitleMap{{4, "Second"}} << 4;
        QTest::newRow("accented title")
            << FileMap{{"Qbox1.QBX", QByteArray("1,1\r\n\"D\xe9j\xe0 vu\"\r\nx\r\n")}}
            << TitleMap{{1, QStringLiteral("Déjà vu")}} << 1;
        QTest::newRow("unparsable files keep the row of their name")
            << FileMap{{"Qbox5.QBX", QByteArray()},
                       {"Qbox6.QBX", QByteArray("x,y\r\n\"Six\"\r\n")},
                       {"Qbox8.QBX", QByteArray("99,1\r\n\"Huit\"\r\nl\r\n")},
                       {"Qbox10.QBX", QByteArray("10,1\r\n")},
                       {"Qbox11.QBX", QByteArray("11,40000\r\n\"Onze\"\r\n")},
                       {"Qbox13.QBX", QByteArray("13,1\r\n\"\"\r\nl\r\n")}}
            << TitleMap{{5, "(illisible)"}, {6, "Six"}, {8, "Huit"}, {10, "(illisible)"},
                        {11, "Onze"}, {13, "(illisible)"}}
            << 13;
        QTest::newRow("files beyond slot 50 and other names are not read")
            << FileMap{{"Qbox51.QBX", slotBytes(51, "x", {"a"})}, {"Qbox03.QBX", slotBytes(3, "y", {"a"})},
                       {"qbox2.qbx", slotBytes(2, "z", {"a"})}}
            << TitleMap{} << 0;
    }
    void gridAfterStartup()
    {
        QFETCH(FileMap, files);
        QFETCH(TitleMap, titles);
        QFETCH(int, numMes);
        NumMes = 0;  // as the program starts
        Session s(files);

        TitleMap shown;
        for (int row = 1; row <= MaxSlots; ++row) {
            QCOMPARE(s.grid()->textMatrix(row, 0), QString::number(row));
            // A title without its yellow, or yellow without a title, would show here.
            QCOMPARE(s.cellYellow(row), !s.cellText(row).isEmpty());
            if (!s.cellText(row).isEmpty())
                shown.insert(row, s.cellText(row));
        }
        QCOMPARE(shown, titles);
        QCOMPARE(int(NumMes), numMes);
        // Start-up only reads: every file is as it was, and nothing was added.
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            QCOMPARE(s.folder.read(it.key()), it.value());
        QCOMPARE(s.folder.entries().size(), files.size());
    }

    void startsBrowsingWithTheSelectionCommandsOff()
    {
        Session s(slotFiles(1, 3));
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(s.commands(), QStringLiteral("000000"));
        QCOMPARE(s.display()->toPlainText(), QStringLiteral("Text3"));
        QCOMPARE(s.grid()->textMatrix(0, 0), QStringLiteral("N°Mes"));
        QCOMPARE(s.grid()->textMatrix(0, 1), QStringLiteral("Titre"));
        QCOMPARE(s.grid()->columnWidth(0), 40);
        QCOMPARE(s.grid()->columnWidth(1), 170);
        QStringList menus;
        for (const QAction *action : s.window().menuBar()->actions()) {
            if (action->isVisible())
                menus << action->text();
        }
        QCOMPARE(menus, (QStringList{"&Fichier", "&?"}));
    }

    void windowIsFixedCentredAndHasNoMinimizeOrMaximize()
    {
        Session s;
        FrmQbox &window = s.window();
        QCOMPARE(window.windowTitle(), QStringLiteral("Gestionnaire de Presse Papier"));
        QCOMPARE(window.centralWidget()->size(), QSize(441, 396));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint)));
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
        QVERIFY(offset.manhattanLength() <= 2);
        const QList<QSize> sizes = window.windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)) && sizes.contains(QSize(32, 32)));
    }

    void trayIconIsAddedOnceWithTheWindowIconAndTip()
    {
        Session s;
        QCOMPARE(s.tray.calls().size(), 1);
        const FakeTrayBackend::Call &add = s.tray.calls().constFirst();
        QCOMPARE(add.action, 0u);
        QCOMPARE(TipText(add.data), QStringLiteral("Gestionnaire de Presse Papier"));
        QCOMPARE(IconFromHandle(add.data.hIcon).cacheKey(), s.window().windowIcon().cacheKey());
        QCOMPARE(add.data.hWnd, quint32(s.window().winId()));
    }

    void destroyingTheWindowDoesNotEndTheProgram()
    {
        int ended = 0;
        SetEndProgramFunction([&] { ++ended; });
        {
            Session s;
        }
        SetEndProgramFunction({});
        QCOMPARE(ended, 0);
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
