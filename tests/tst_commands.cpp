#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/msgbox.h"
#include "store/slotstore.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

namespace {

const QString AllDisabled = QStringLiteral("000000");
const QString AllEnabled = QStringLiteral("111111");

// Caps the size of any file the process writes, as a full disk would.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_saved);
        rlimit limit = m_saved;
        limit.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_saved); }

private:
    rlimit m_saved{};
};

void compareBox(const MsgBoxRecorder::Call &call, const QString &prompt, int style, const QString &title)
{
    QCOMPARE(call.prompt, prompt);
    QCOMPARE(call.style, style);
    QCOMPARE(call.title, title);
}

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // --- Selecting and copying ------------------------------------------------------

    void selectingAnOccupiedRow_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("display");
        QTest::addColumn<int>("numMes");
        QTest::newRow("two lines") << slotBytes(5, "Cinq", {"ab", "cd"}) << "ab\ncd\n" << 5;
        QTest::newRow("count 0") << QByteArray("5,0\r\n\"Cinq\"\r\n") << "" << 5;
        QTest::newRow("fewer lines than counted") << QByteArray("5,3\r\n\"Cinq\"\r\nab\r\n") << "ab\n" << 5;
        QTest::newRow("rewritten to store 7") << slotBytes(7, "Cinq", {"x"}) << "x\n" << 7;
        QTest::newRow("rewritten with a header out of range") << slotBytes(70, "Cinq", {"x"}) << "x\n" << 5;
        QTest::newRow("removed: the display keeps its text") << QByteArray() << "Text3" << 5;
    }
    void selectingAnOccupiedRow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, display);
        QFETCH(int, numMes);
        Session s({{"Qbox5.QBX", slotBytes(5, "Cinq", {"old"})}});
        // Behind the program's back, after start-up.
        if (bytes.isEmpty())
            s.folder.remove("Qbox5.QBX");
        else
            s.folder.write("Qbox5.QBX", bytes);

        s.clickCell(5);

        QCOMPARE(int(NumMes), numMes);
        QCOMPARE(s.display()->toPlainText(), display);
        QCOMPARE(s.shownTitle()->text(), QStringLiteral("Cinq"));
        QCOMPARE(s.mode(), QStringLiteral("buttons view grid"));
        QCOMPARE(s.commands(), AllEnabled);
        const QString n = QString::number(numMes);
        QCOMPARE(s.tooltip("Command3"), "Modifier le message N° " + n);
        QCOMPARE(s.tooltip("Command4"), "Supprimer le message N° " + n);
        QCOMPARE(s.tooltip("Command1"), "Copie le texte N° " + n + " dans le presse papier");
        QCOMPARE(s.folder.read("Qbox5.QBX"), bytes);
    }

    void anEmptyRowAfterSlot12DropsTheSelection()
    {
        Session s({{"Qbox12.QBX", slotBytes(12, "Douze", {"texte"})}});
        s.clickCell(12);
        s.clickCell(13);
        QCOMPARE(int(NumMes), 0);
        QCOMPARE(s.commands(), AllDisabled);
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(s.tooltip("Command3"), QStringLiteral("Modifier le message N°"));
        QCOMPARE(s.tooltip("Command4"), QStringLiteral("Supprimer le message N°"));
        QCOMPARE(s.tooltip("Command1"), QStringLiteral("Copie le texte N° 12 dans le presse papier"));
        QCOMPARE(s.display()->toPlainText(), QStringLiteral("texte\n"));
    }

    void copyPutsExactlyTheDisplayedText_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("clipboard");
        QTest::newRow("ab cd gives eight characters") << slotBytes(1, "t", {"ab", "cd"}) << "ab\r\ncd\r\n";
        QTest::newRow("count 0 gives the empty text") << QByteArray("1,0\r\n\"t\"\r\n") << "";
        QTest::newRow("accents") << slotBytes(1, "t", {"\xe0 bient\xf4t"}) << QStringLiteral("à bientôt\r\n");
    }
    void copyPutsExactlyTheDisplayedText()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, clipboard);
        Session s({{"Qbox1.QBX", bytes}});
        s.clickCell(1);
        for (const char *way : {"Command1", "Mnu_Copier"}) {
            QGuiApplication::clipboard()->setText(QStringLiteral("before"));
            if (way[0] == 'C')
                s.click(way);
            else
                s.item(way)->trigger();
            QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
        }
    }

    void typingInTheDisplayBoxChangesNothing()
    {
        Session s({{"Qbox1.QBX", slotBytes(1, "t", {"ab", "cd"})}});
        s.clickCell(1);
        QTest::keyClicks(s.display(), QStringLiteral("xyz\""));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab})
            QTest::keyClick(s.display(), key);
        s.click("Command1");
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("ab\r\ncd\r\n"));
    }

    void theLargestMessageShowsWhole()
    {
        ScratchFolder scratch;
        const QString line(100, QLatin1Char('x'));
        QCOMPARE(WriteSlot(1, QStringLiteral("grand"), QString(line + QStringLiteral("\r\n")).repeated(32766) + line),
                 WriteResult::Ok);
        Session s(FileMap{{"Qbox1.QBX", scratch.read("Qbox1.QBX")}});
        QElapsedTimer timer;
        timer.start();
        s.clickCell(1);
        QCoreApplication::processEvents();
        qInfo("32767 lines of 100 characters shown in %lld ms", timer.elapsed());
        QCOMPARE(s.display()->blockCount(), 32768);  // the last line's CR LF opens an empty one
    }

    // --- Adding and modifying -------------------------------------------------------

    void addingGoesToTheFirstFreeSlot()
    {
        FileMap files = slotFiles(1, 2);
        files.insert("Qbox4.QBX", slotBytes(4, "t", {"x"}));
        Session s(files);
        s.click("Command2");
        QCOMPARE(int(NumMes), 3);
        QCOMPARE(s.mode(), QStringLiteral("edit"));

        QTest::keyClicks(s.title(), QStringLiteral("Trois"));
        QTest::keyClicks(s.body(), QStringLiteral("un"));
        QTest::keyClick(s.body(), Qt::Key_Return);
        QTest::keyClicks(s.body(), QStringLiteral("deux"));
        s.click("Command6");

        QVERIFY(s.boxes.calls().isEmpty());
        QCOMPARE(s.folder.read("Qbox3.QBX"), QByteArray("3,2\r\n\"Trois\"\r\nun\r\ndeux\r\n"));
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(s.commands(), AllDisabled);
        QCOMPARE(s.cellText(3), QStringLiteral("Trois"));
        QVERIFY(s.cellYellow(3));
        QCOMPARE(int(NumMes), 3);
        QCOMPARE(s.tooltip("Command3"), QStringLiteral("Modifier le message N° 3"));
        QCOMPARE(s.tooltip("Command4"), QStringLiteral("Supprimer le message N° 3"));
        QCOMPARE(s.display()->toPlainText(), QStringLiteral("un\ndeux"));
        QCOMPARE(s.shownTitle()->text(), QStringLiteral("Trois"));
    }

    void aFullStoreRefusesToAdd_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<int>("numMes");
        QTest::newRow("1 to 50") << 50 << 51;
        QTest::newRow("1 to 51") << 51 << 52;
    }
    void aFullStoreRefusesToAdd()
    {
        QFETCH(int, files);
        QFETCH(int, numMes);
        Session s(slotFiles(1, files));
        s.item("Mnu_Ajouter")->trigger();
        QCOMPARE(s.boxes.calls().size(), 1);
        compareBox(s.boxes.calls()[0], QStringLiteral("Nombre maximum de message atteint !"), 64,
                   QStringLiteral("Avertissement"));
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(int(NumMes), numMes);
        QCOMPARE(s.folder.entries().size(), files);
    }

    void theTitleBoxNeverHoldsADoubleQuote()
    {
        Session s;
        s.click("Command2");
        QTest::keyClicks(s.title(), QStringLiteral("a\"b"));
        QCOMPARE(s.title()->text(), QStringLiteral("ab"));
        s.title()->insert(QStringLiteral("\"c\"\r\nd"));  // as a paste does
        QCOMPARE(s.title()->text(), QStringLiteral("abcd"));
        QTest::keyClicks(s.body(), QStringLiteral("x\"y"));
        QCOMPARE(s.body()->toPlainText(), QStringLiteral("x\"y"));
    }

    void saving_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("body");
        QTest::addColumn<bool>("finalEnter");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("warning");
        const QString refused = QStringLiteral("Pas de message ou pas de titre !");
        QTest::newRow("three blanks and one blank") << "   " << " " << false
                                                    << QByteArray("1,1\r\n\"   \"\r\n \r\n") << "";
        QTest::newRow("two lines") << "t" << "a\nb" << false << QByteArray("1,2\r\n\"t\"\r\na\r\nb\r\n") << "";
        QTest::newRow("two lines and a final Enter")
            << "t" << "a\nb" << true << QByteArray("1,3\r\n\"t\"\r\na\r\nb\r\n\r\n") << "";
        QTest::newRow("empty title") << "" << "x" << false << QByteArray() << refused;
        QTest::newRow("empty body") << "t" << "" << false << QByteArray() << refused;
        QTest::newRow("a character outside the code page")
            << "t" << "Łódź" << false << QByteArray()
            << QStringLiteral("Le caractère « Ł » ne peut pas être enregistré : retirez-le du titre ou du texte !");
        QTest::newRow("32768 lines") << "t" << QString(32767, QLatin1Char('\n')) << false << QByteArray()
                                     << QStringLiteral("Le texte a plus de 32767 lignes : il ne peut pas être enregistré !");
    }
    void saving()
    {
        QFETCH(QString, title);
        QFETCH(QString, body);
        QFETCH(bool, finalEnter);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, warning);
        Session s;
        s.click("Command2");
        QTest::keyClicks(s.title(), title);
        s.body()->setPlainText(body);
        if (finalEnter) {
            s.body()->moveCursor(QTextCursor::End);
            QTest::keyClick(s.body(), Qt::Key_Return);
        }

        s.click("Command6");

        if (warning.isEmpty()) {
            QVERIFY(s.boxes.calls().isEmpty());
            QCOMPARE(s.folder.read("Qbox1.QBX"), bytes);
            QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
            return;
        }
        QCOMPARE(s.boxes.calls().size(), 1);
        compareBox(s.boxes.calls()[0], warning, 48, QStringLiteral("Avertissement"));
        QCOMPARE(s.mode(), QStringLiteral("edit"));
        QCOMPARE(s.title()->text(), title);
        QCOMPARE(s.body()->toPlainText(), body);
        QVERIFY(s.folder.entries().isEmpty());
    }

    void modifyingUnchangedGainsAnEmptyLine()
    {
        Session s({{"Qbox5.QBX", slotBytes(5, "Cinq", {"ab", "cd"})}});
        s.clickCell(5);
        s.click("Command3");
        QCOMPARE(s.mode(), QStringLiteral("edit"));
        QCOMPARE(s.bodyText(), QStringLiteral("ab\r\ncd\r\n"));
        QCOMPARE(s.title()->text(), QStringLiteral("Cinq"));
        s.click("Command6");
        QCOMPARE(s.folder.read("Qbox5.QBX"), QByteArray("5,3\r\n\"Cinq\"\r\nab\r\ncd\r\n\r\n"));
        // The menu items keep the state they had when the editor opened.
        QCOMPARE(s.commands(), QStringLiteral("000111"));
    }

    void cancelAfterModifyWritesNothing()
    {
        const QByteArray bytes = slotBytes(5, "Cinq", {"ab"});
        Session s({{"Qbox5.QBX", bytes}});
        s.clickCell(5);
        s.item("Mnu_Modif")->trigger();
        QTest::keyClicks(s.body(), QStringLiteral("changed"));
        s.click("Command7");
        QCOMPARE(s.folder.read("Qbox5.QBX"), bytes);
        QCOMPARE(s.commands(), AllDisabled);
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(int(NumMes), 5);
        QCOMPARE(s.tooltip("Command3"), QStringLiteral("Modifier le message N° 5"));
    }

    void modifyingAVanishedFile()
    {
        Session s({{"Qbox5.QBX", slotBytes(5, "Cinq", {"ab"})}});
        s.clickCell(5);
        s.folder.remove("Qbox5.QBX");
        s.click("Command3");
        QCOMPARE(s.boxes.calls().size(), 1);
        compareBox(s.boxes.calls()[0], QStringLiteral("Le message n'existe pas !"), 16, QStringLiteral("Erreur"));
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(s.commands(), AllEnabled);
        QCOMPARE(int(NumMes), 5);
        QCOMPARE(s.display()->toPlainText(), QStringLiteral("ab\n"));
    }

    void modifyAndDeleteWithNothingSelectedDoNothing()
    {
        Session s(slotFiles(1, 1));
        NumMes = 0;
        s.grid()->setEnabled(false);
        s.window().Command3_Click();
        s.window().Command4_Click();
        QVERIFY(s.boxes.calls().isEmpty());
        QCOMPARE(s.mode(), QStringLiteral("buttons"));
        QVERIFY(s.folder.exists("Qbox1.QBX"));
    }

    void addingAgainFromTheMenuClearsAndSearchesAgain()
    {
        Session s;
        s.click("Command2");
        QCOMPARE(int(NumMes), 1);
        QTest::keyClicks(s.title(), QStringLiteral("titre"));
        QTest::keyClicks(s.body(), QStringLiteral("texte"));
        s.folder.write("Qbox1.QBX", slotBytes(1, "t", {"x"}));
        s.item("Mnu_Ajouter")->trigger();
        QCOMPARE(int(NumMes), 2);
        QVERIFY(s.title()->text().isEmpty());
        QVERIFY(s.body()->toPlainText().isEmpty());
        QCOMPARE(s.mode(), QStringLiteral("edit"));
    }

    void aFailedSaveKeepsTheOldBytes()
    {
        const QByteArray bytes = slotBytes(7, "Sept", {"old"});
        Session s({{"Qbox7.QBX", bytes}});
        s.clickCell(7);
        s.click("Command3");
        const QString typed(2000, QLatin1Char('n'));
        s.body()->setPlainText(typed);
        {
            FileSizeLimit limit(256);
            s.click("Command6");
        }
        QCOMPARE(s.boxes.calls().size(), 1);
        compareBox(s.boxes.calls()[0], QStringLiteral("Erreur lors de la sauvegarde du message N° 7"), 16,
                   QStringLiteral("Erreur"));
        QCOMPARE(s.folder.read("Qbox7.QBX"), bytes);
        QCOMPARE(s.folder.entries(), QStringList{"Qbox7.QBX"});
        QCOMPARE(s.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(s.commands(), AllEnabled);
        QCOMPARE(s.body()->toPlainText(), typed);
        QCOMPARE(s.cellText(7), QStringLiteral("Sept"));
    }

    // A delete from the menu while editing leaves no message selected.
    void savingAfterADeleteWhileEditingKeepsTheText_data()
    {
        QTest::addColumn<bool>("full");
        QTest::newRow("a slot is free") << false;
        QTest::newRow("the store is full") << true;
    }
    void savingAfterADeleteWhileEditingKeepsTheText()
    {
        QFETCH(bool, full);
        Session s(slotFiles(1, full ? 50 : 3));
        s.clickCell(2);
        s.click("Command3");
        s.body()->setPlainText(QStringLiteral("gardé"));
        s.boxes.answer(MsgBoxResult::Yes);
        s.item("Mnu_Sup")->trigger();
        QCOMPARE(int(NumMes), 0);
        QCOMPARE(s.mode(), QStringLiteral("buttons edit grid"));
        if (full)  // the freed slot is taken again behind the program's back
            s.folder.write("Qbox2.QBX", slotBytes(2, "t", {"x"}));

        s.click("Command6");

        QVERIFY(!s.folder.exists("Qbox0.QBX"));
        QCOMPARE(s.grid()->textMatrix(0, 1), QStringLiteral("Titre"));
        if (full) {
            QCOMPARE(s.boxes.calls().constLast().prompt, QStringLiteral("Nombre maximum de message atteint !"));
            QVERIFY(s.mode().contains(QStringLiteral("edit")));
            QCOMPARE(s.body()->toPlainText(), QStringLiteral("gardé"));
        } else {
            QCOMPARE(s.folder.read("Qbox2.QBX"), QByteArray("2,1\r\n\"t\"\r\ngard\xe9\r\n"));
            QCOMPARE(s.cellText(2), QStringLiteral("t"));
        }
    }

    // --- Deleting -------------------------------------------------------------------

    void deleting_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("vanishes");
        QTest::addColumn<QStringList>("filesAfter");
        QTest::addColumn<QString>("modeAfter");
        QTest::addColumn<int>("numMesAfter");
        QTest::addColumn<QString>("tooltipAfter");
        const QStringList both{"Qbox7.QBX", "Qbox8.QBX"};
        QTest::newRow("No keeps the message") << int(MsgBoxResult::No) << false << both << "buttons grid" << 0
                                              << "Supprimer le message N° 7";
        QTest::newRow("Yes removes it") << int(MsgBoxResult::Yes) << false << QStringList{"Qbox8.QBX"}
                                        << "buttons grid" << 0 << "Supprimer le message N° ";
        QTest::newRow("Yes after it vanished changes nothing else")
            << int(MsgBoxResult::Yes) << true << QStringList{"Qbox8.QBX"} << "buttons view grid" << 7
            << "Supprimer le message N° 7";
    }
    void deleting()
    {
        QFETCH(int, answer);
        QFETCH(bool, vanishes);
        QFETCH(QStringList, filesAfter);
        QFETCH(QString, modeAfter);
        QFETCH(int, numMesAfter);
        QFETCH(QString, tooltipAfter);
        Session s({{"Qbox7.QBX", slotBytes(7, "Sept", {"s"})}, {"Qbox8.QBX", slotBytes(8, "Huit", {"h"})}});
        s.clickCell(7);
        bool gridDisabledWhileAsking = false;
        s.boxes.onShow([&] {
            gridDisabledWhileAsking = !s.grid()->isEnabled();
            if (vanishes)
                s.folder.remove("Qbox7.QBX");
        });
        s.boxes.answer(answer);

        s.click("Command4");

        QCOMPARE(s.boxes.calls().size(), 1);
        compareBox(s.boxes.calls()[0], "Supprimer le message 7\r" + s.folder.filePath("Qbox7.QBX") + "\rConfirmez ?",
                   4 + 32 + 256, QStringLiteral("Suppression d'un message"));
        QVERIFY(gridDisabledWhileAsking);
        QCOMPARE(s.folder.entries(), filesAfter);
        QCOMPARE(s.mode(), modeAfter);
        QCOMPARE(int(NumMes), numMesAfter);
        QCOMPARE(s.tooltip("Command4"), tooltipAfter);
        QCOMPARE(s.tooltip("Command3"), QString(tooltipAfter).replace(QStringLiteral("Supprimer"), QStringLiteral("Modifier")));
        QCOMPARE(s.tooltip("Command1"), QStringLiteral("Copie le texte N° 7 dans le presse papier"));
        QCOMPARE(s.cellText(8), QStringLiteral("Huit"));
        const bool removed = answer == MsgBoxResult::Yes && !vanishes;
        QCOMPARE(s.cellText(7), removed ? QString() : QStringLiteral("Sept"));
        QCOMPARE(s.cellYellow(7), !removed);
        QCOMPARE(s.grid()->textMatrix(7, 0), QStringLiteral("7"));
        QCOMPARE(s.commands(), numMesAfter ? AllEnabled : AllDisabled);
        QCOMPARE(s.display()->toPlainText().isEmpty(), numMesAfter == 0);
        QCOMPARE(s.shownTitle()->text().isEmpty(), numMesAfter == 0);
    }

    void deleteFollowsTheStoredNumber()
    {
        Session s({{"Qbox5.QBX", slotBytes(5, "Cinq", {"a"})}, {"Qbox7.QBX", slotBytes(7, "Sept", {"b"})}});
        s.folder.write("Qbox5.QBX", slotBytes(7, "Cinq", {"a"}));
        s.clickCell(5);
        s.boxes.answer(MsgBoxResult::Yes);
        s.item("Mnu_Sup")->trigger();
        QVERIFY(s.boxes.calls()[0].prompt.startsWith(QStringLiteral("Supprimer le message 7\r")));
        QCOMPARE(s.folder.entries(), QStringList{"Qbox5.QBX"});
        QVERIFY(s.cellText(7).isEmpty());
        QCOMPARE(s.cellText(5), QStringLiteral("Cinq"));
    }

    // The real box: Yes and No with the question icon, and Enter answers No.
    void enterAtTheConfirmationAnswersNo()
    {
        Session s({{"Qbox3.QBX", slotBytes(3, "Trois", {"t"})}});
        SetMsgBoxFunction({});
        s.clickCell(3);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            icon = box->icon();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            QTest::keyClick(box, Qt::Key_Return);
        });
        s.click("Command4");
        QCOMPARE(icon, QMessageBox::Question);
        QCOMPARE(buttons.size(), 2);
        QVERIFY(buttons.contains(QStringLiteral("&Oui")));
        QVERIFY(s.folder.exists("Qbox3.QBX"));
        QCOMPARE(int(NumMes), 0);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
