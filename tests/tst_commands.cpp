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
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <csignal>
#include <sys/resource.h>

namespace {

const QColor Yellow(255, 255, 0);

// The controls of one window, found by their names as a user's tools would.
struct Controls
{
    explicit Controls(FrmQbox &window)
        : grid(window.findChild<MSFlexGrid *>(QStringLiteral("MSFlexGrid1")))
        , title(window.findChild<QLineEdit *>(QStringLiteral("Text2")))
        , body(window.findChild<QPlainTextEdit *>(QStringLiteral("Text1")))
        , display(window.findChild<QPlainTextEdit *>(QStringLiteral("Label1")))
        , shownTitle(window.findChild<QLabel *>(QStringLiteral("Label3")))
        , m_window(window)
    {
    }

    QAbstractButton *button(const char *name) const
    {
        return m_window.findChild<QAbstractButton *>(QLatin1String(name));
    }
    QAction *item(const char *name) const { return m_window.findChild<QAction *>(QLatin1String(name)); }
    bool shown(const char *frame) const { return m_window.findChild<QWidget *>(QLatin1String(frame))->isVisible(); }

    // "buttons", "view", "edit" for the panels shown, then "grid" when it is enabled.
    QString mode() const
    {
        QStringList parts;
        if (shown("Frame1"))
            parts << "buttons";
        if (shown("Frame3"))
            parts << "view";
        if (shown("Frame2"))
            parts << "edit";
        if (grid->isEnabled())
            parts << "grid";
        return parts.join(' ');
    }

    // Copier, Modifier and Supprimer as buttons, then as menu items: 1 for enabled.
    QString commands() const
    {
        QString bits;
        for (const char *name : {"Command1", "Command3", "Command4"})
            bits += button(name)->isEnabled() ? '1' : '0';
        for (const char *name : {"Mnu_Copier", "Mnu_Modif", "Mnu_Sup"})
            bits += item(name)->isEnabled() ? '1' : '0';
        return bits;
    }

    QString tooltip(const char *name) const { return button(name)->toolTip(); }
    QString cellText(int row) const { return grid->item(row - 1, 1)->text(); }
    bool cellYellow(int row) const
    {
        return grid->item(row - 1, 1)->data(Qt::BackgroundRole).value<QBrush>().color() == Yellow;
    }
    QString bodyCrLf() const { return body->toPlainText().replace('\n', QStringLiteral("\r\n")); }

    void click(const char *name) const { QTest::mouseClick(button(name), Qt::LeftButton); }

    MSFlexGrid *grid;
    QLineEdit *title;
    QPlainTextEdit *body;
    QPlainTextEdit *display;
    QLabel *shownTitle;

private:
    FrmQbox &m_window;
};

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

const QString AllDisabled = QStringLiteral("000000");
const QString AllEnabled = QStringLiteral("111111");

} // namespace

class TestCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { QGuiApplication::clipboard()->setText(QStringLiteral("before")); }

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
    }
    void selectingAnOccupiedRow()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QString, display);
        QFETCH(int, numMes);
        ScratchFolder folder;
        folder.write("Qbox5.QBX", slotBytes(5, "Cinq", {"old"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        folder.write("Qbox5.QBX", bytes);  // behind the program's back

        clickGridCell(window, 5);

        QCOMPARE(int(NumMes), numMes);
        QCOMPARE(c.display->toPlainText(), display);
        QCOMPARE(c.shownTitle->text(), QStringLiteral("Cinq"));
        QCOMPARE(c.mode(), QStringLiteral("buttons view grid"));
        QCOMPARE(c.commands(), AllEnabled);
        const QString n = QString::number(numMes);
        QCOMPARE(c.tooltip("Command3"), "Modifier le message N° " + n);
        QCOMPARE(c.tooltip("Command4"), "Supprimer le message N° " + n);
        QCOMPARE(c.tooltip("Command1"), "Copie le texte N° " + n + " dans le presse papier");
        QCOMPARE(folder.read("Qbox5.QBX"), bytes);
    }

    void aClickInTheNumberColumnSelectsTheRowToo()
    {
        ScratchFolder folder;
        folder.write("Qbox4.QBX", slotBytes(4, "Quatre", {"q"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 4, 0);
        QCOMPARE(int(NumMes), 4);
        QCOMPARE(c.display->toPlainText(), QStringLiteral("q\n"));
    }

    void anEmptyRowAfterSlot12ResetsTheSelection()
    {
        ScratchFolder folder;
        folder.write("Qbox12.QBX", slotBytes(12, "Douze", {"texte"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 12);
        clickGridCell(window, 13);

        QCOMPARE(int(NumMes), 0);
        QCOMPARE(c.commands(), AllDisabled);
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(c.tooltip("Command3"), QStringLiteral("Modifier le message N°"));
        QCOMPARE(c.tooltip("Command4"), QStringLiteral("Supprimer le message N°"));
        QCOMPARE(c.tooltip("Command1"), QStringLiteral("Copie le texte N° 12 dans le presse papier"));
        QCOMPARE(c.display->toPlainText(), QStringLiteral("texte\n"));
    }

    void aTitleWhoseFileVanishedStillSelects()
    {
        ScratchFolder folder;
        folder.write("Qbox2.QBX", slotBytes(2, "Deux", {"d"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        QFile::remove(folder.filePath("Qbox2.QBX"));
        clickGridCell(window, 2);
        QCOMPARE(int(NumMes), 2);
        QCOMPARE(c.commands(), AllEnabled);
        QCOMPARE(c.shownTitle->text(), QStringLiteral("Deux"));
        QCOMPARE(c.display->toPlainText(), QStringLiteral("Text3"));
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
        ScratchFolder folder;
        folder.write("Qbox1.QBX", bytes);
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 1);

        c.click("Command1");
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);

        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        c.item("Mnu_Copier")->trigger();
        QCOMPARE(QGuiApplication::clipboard()->text(), clipboard);
    }

    void typingInTheDisplayBoxChangesNothing()
    {
        ScratchFolder folder;
        folder.write("Qbox1.QBX", slotBytes(1, "t", {"ab", "cd"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 1);

        c.display->setFocus();
        QTest::keyClicks(c.display, QStringLiteral("xyz\""));
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Tab})
            QTest::keyClick(c.display, key);
        QCOMPARE(c.display->toPlainText(), QStringLiteral("ab\ncd\n"));
        c.click("Command1");
        QCOMPARE(QGuiApplication::clipboard()->text().size(), 8);

        qint16 key = 'a';
        window.Label1_KeyPress(key);
        QCOMPARE(int(key), 0);
    }

    void theLargestMessageShowsWhole()
    {
        ScratchFolder folder;
        QCOMPARE(WriteSlot(1, QStringLiteral("grand"),
                           QString(QString(100, QLatin1Char('x')) + QStringLiteral("\r\n")).repeated(32766)
                               + QString(100, QLatin1Char('x'))),
                 WriteResult::Ok);
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        QElapsedTimer timer;
        timer.start();
        clickGridCell(window, 1);
        QCoreApplication::processEvents();
        qInfo("32767 lines of 100 characters shown in %lld ms", timer.elapsed());
        QCOMPARE(c.display->blockCount(), 32768);  // the last line's CR LF opens an empty one
    }

    // --- Adding and modifying -------------------------------------------------------

    void addingGoesToTheFirstFreeSlot()
    {
        ScratchFolder folder;
        for (int n : {1, 2, 4})
            folder.write(QStringLiteral("Qbox%1.QBX").arg(n), slotBytes(n, "t", {"x"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));

        c.click("Command2");
        QCOMPARE(int(NumMes), 3);
        QCOMPARE(c.mode(), QStringLiteral("edit"));
        QCOMPARE(c.commands(), AllDisabled);

        QTest::keyClicks(c.title, QStringLiteral("Trois"));
        QTest::keyClicks(c.body, QStringLiteral("un"));
        QTest::keyClick(c.body, Qt::Key_Return);
        QTest::keyClicks(c.body, QStringLiteral("deux"));
        c.click("Command6");

        QVERIFY(boxes.calls().isEmpty());
        QCOMPARE(folder.read("Qbox3.QBX"), QByteArray("3,2\r\n\"Trois\"\r\nun\r\ndeux\r\n"));
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(c.commands(), AllDisabled);
        QCOMPARE(c.cellText(3), QStringLiteral("Trois"));
        QVERIFY(c.cellYellow(3));
        QCOMPARE(int(NumMes), 3);
        QCOMPARE(c.tooltip("Command3"), QStringLiteral("Modifier le message N° 3"));
        QCOMPARE(c.tooltip("Command4"), QStringLiteral("Supprimer le message N° 3"));
        QCOMPARE(c.display->toPlainText(), QStringLiteral("un\ndeux"));
        QCOMPARE(c.shownTitle->text(), QStringLiteral("Trois"));
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
        ScratchFolder folder;
        for (int n = 1; n <= files; ++n)
            folder.write(QStringLiteral("Qbox%1.QBX").arg(n), slotBytes(n, "t", {"x"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));

        c.item("Mnu_Ajouter")->trigger();

        QCOMPARE(boxes.calls().size(), 1);
        QCOMPARE(boxes.calls()[0].prompt, QStringLiteral("Nombre maximum de message atteint !"));
        QCOMPARE(boxes.calls()[0].style, 64);
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("Avertissement"));
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(int(NumMes), numMes);
        QCOMPARE(folder.entries().size(), files);
    }

    void theTitleBoxNeverHoldsADoubleQuote()
    {
        ScratchFolder folder;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        c.click("Command2");

        QTest::keyClicks(c.title, QStringLiteral("a\"b"));
        QCOMPARE(c.title->text(), QStringLiteral("ab"));
        c.title->insert(QStringLiteral("\"c\"\nd"));
        QCOMPARE(c.title->text(), QStringLiteral("abcd"));
        QTest::keyClicks(c.body, QStringLiteral("x\"y"));
        QCOMPARE(c.body->toPlainText(), QStringLiteral("x\"y"));

        qint16 quote = 34;
        window.Text2_KeyPress(quote);
        QCOMPARE(int(quote), 0);
        qint16 letter = 'q';
        window.Text1_KeyPress(letter);
        QCOMPARE(int(letter), int('q'));
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
        ScratchFolder folder;
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        c.click("Command2");
        QTest::keyClicks(c.title, title);
        c.body->setPlainText(body);
        if (finalEnter) {
            c.body->moveCursor(QTextCursor::End);
            QTest::keyClick(c.body, Qt::Key_Return);
        }

        c.click("Command6");

        if (warning.isEmpty()) {
            QVERIFY(boxes.calls().isEmpty());
            QCOMPARE(folder.read("Qbox1.QBX"), bytes);
            QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        } else {
            QCOMPARE(boxes.calls().size(), 1);
            QCOMPARE(boxes.calls()[0].prompt, warning);
            QCOMPARE(boxes.calls()[0].style, 48);
            QCOMPARE(boxes.calls()[0].title, QStringLiteral("Avertissement"));
            QCOMPARE(c.mode(), QStringLiteral("edit"));
            QCOMPARE(c.title->text(), title);
            QCOMPARE(c.body->toPlainText(), body);
            QVERIFY(folder.entries().isEmpty());
        }
    }

    void modifyingUnchangedGainsAnEmptyLine()
    {
        ScratchFolder folder;
        folder.write("Qbox5.QBX", slotBytes(5, "Cinq", {"ab", "cd"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 5);

        c.click("Command3");
        QCOMPARE(c.mode(), QStringLiteral("edit"));
        QCOMPARE(c.bodyCrLf(), QStringLiteral("ab\r\ncd\r\n"));
        QCOMPARE(c.title->text(), QStringLiteral("Cinq"));
        c.click("Command6");

        QCOMPARE(folder.read("Qbox5.QBX"), QByteArray("5,3\r\n\"Cinq\"\r\nab\r\ncd\r\n\r\n"));
        // The menu items keep the state they had when the editor opened.
        QCOMPARE(c.commands(), QStringLiteral("000111"));
    }

    void modifyingFollowsTheStoredNumber()
    {
        ScratchFolder folder;
        folder.write("Qbox5.QBX", slotBytes(5, "Cinq", {"a"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        folder.write("Qbox5.QBX", slotBytes(7, "Sept", {"s"}));
        folder.write("Qbox7.QBX", slotBytes(7, "Sept", {"s7"}));
        clickGridCell(window, 5);
        c.click("Command3");
        QCOMPARE(int(NumMes), 7);
        QCOMPARE(c.bodyCrLf(), QStringLiteral("s7\r\n"));
    }

    void cancelAfterModifyWritesNothing()
    {
        ScratchFolder folder;
        const QByteArray bytes = slotBytes(5, "Cinq", {"ab"});
        folder.write("Qbox5.QBX", bytes);
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 5);
        c.item("Mnu_Modif")->trigger();
        QTest::keyClicks(c.body, QStringLiteral("changed"));

        c.click("Command7");

        QCOMPARE(folder.read("Qbox5.QBX"), bytes);
        QCOMPARE(c.commands(), AllDisabled);
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(int(NumMes), 5);
        QCOMPARE(c.tooltip("Command3"), QStringLiteral("Modifier le message N° 5"));
    }

    void modifyingAVanishedFile()
    {
        ScratchFolder folder;
        folder.write("Qbox5.QBX", slotBytes(5, "Cinq", {"ab"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 5);
        QFile::remove(folder.filePath("Qbox5.QBX"));

        c.click("Command3");

        QCOMPARE(boxes.calls().size(), 1);
        QCOMPARE(boxes.calls()[0].prompt, QStringLiteral("Le message n'existe pas !"));
        QCOMPARE(boxes.calls()[0].style, 16);
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("Erreur"));
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(c.commands(), AllEnabled);
        QCOMPARE(int(NumMes), 5);
        QCOMPARE(c.display->toPlainText(), QStringLiteral("ab\n"));
    }

    void modifyingWithNothingSelectedDoesNothing()
    {
        ScratchFolder folder;
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        NumMes = 0;
        window.Command3_Click();
        QVERIFY(boxes.calls().isEmpty());
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
    }

    void addingAgainFromTheMenuClearsAndSearchesAgain()
    {
        ScratchFolder folder;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        c.click("Command2");
        QCOMPARE(int(NumMes), 1);
        QTest::keyClicks(c.title, QStringLiteral("titre"));
        QTest::keyClicks(c.body, QStringLiteral("texte"));
        folder.write("Qbox1.QBX", slotBytes(1, "t", {"x"}));

        c.item("Mnu_Ajouter")->trigger();

        QCOMPARE(int(NumMes), 2);
        QVERIFY(c.title->text().isEmpty());
        QVERIFY(c.body->toPlainText().isEmpty());
        QCOMPARE(c.mode(), QStringLiteral("edit"));
    }

    void aFailedSaveKeepsTheOldBytes()
    {
        ScratchFolder folder;
        const QByteArray bytes = slotBytes(7, "Sept", {"old"});
        folder.write("Qbox7.QBX", bytes);
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 7);
        c.click("Command3");
        c.body->setPlainText(QString(2000, QLatin1Char('n')));
        {
            FileSizeLimit limit(256);
            c.click("Command6");
        }

        QCOMPARE(boxes.calls().size(), 1);
        QCOMPARE(boxes.calls()[0].prompt, QStringLiteral("Erreur lors de la sauvegarde du message N° 7"));
        QCOMPARE(boxes.calls()[0].style, 16);
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("Erreur"));
        QCOMPARE(folder.read("Qbox7.QBX"), bytes);
        QCOMPARE(folder.entries(), QStringList{"Qbox7.QBX"});
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(c.commands(), AllEnabled);
        QCOMPARE(c.body->toPlainText(), QString(2000, QLatin1Char('n')));
        QCOMPARE(c.cellText(7), QStringLiteral("Sept"));
    }

    // A delete from the menu while editing leaves no message selected.
    void savingAfterADeleteWhileEditingKeepsTheText_data()
    {
        QTest::addColumn<int>("files");
        QTest::addColumn<QString>("savedAs");
        QTest::newRow("a slot is free") << 3 << "Qbox2.QBX";
        QTest::newRow("the store is full") << 50 << "";
    }
    void savingAfterADeleteWhileEditingKeepsTheText()
    {
        QFETCH(int, files);
        QFETCH(QString, savedAs);
        ScratchFolder folder;
        for (int n = 1; n <= files; ++n)
            folder.write(QStringLiteral("Qbox%1.QBX").arg(n), slotBytes(n, "t", {"x"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 2);
        c.click("Command3");
        c.body->setPlainText(QStringLiteral("gardé"));
        boxes.answer(MsgBoxResult::Yes);
        c.item("Mnu_Sup")->trigger();
        QCOMPARE(int(NumMes), 0);
        QVERIFY(c.shown("Frame2"));
        if (savedAs.isEmpty())  // fill the freed slot behind the program's back
            folder.write("Qbox2.QBX", slotBytes(2, "t", {"x"}));

        c.click("Command6");

        QVERIFY(!folder.exists("Qbox0.QBX"));
        QCOMPARE(c.grid->textMatrix(0, 1), QStringLiteral("Titre"));
        if (savedAs.isEmpty()) {
            QCOMPARE(boxes.calls().constLast().prompt, QStringLiteral("Nombre maximum de message atteint !"));
            QVERIFY(c.shown("Frame2"));
            QCOMPARE(c.body->toPlainText(), QStringLiteral("gardé"));
        } else {
            QCOMPARE(folder.read(savedAs), QByteArray("2,1\r\n\"t\"\r\ngard\xe9\r\n"));
            QCOMPARE(c.cellText(2), QStringLiteral("t"));
        }
    }

    // --- Deleting -------------------------------------------------------------------

    void deleteAsksWithTheNumberAndPath()
    {
        ScratchFolder folder;
        const QByteArray bytes = slotBytes(7, "Sept", {"s"});
        folder.write("Qbox7.QBX", bytes);
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 7);
        bool gridDisabledWhileAsking = false;
        boxes.onShow([&] { gridDisabledWhileAsking = !c.grid->isEnabled(); });
        boxes.answer(MsgBoxResult::No);

        c.click("Command4");

        QCOMPARE(boxes.calls().size(), 1);
        QCOMPARE(boxes.calls()[0].prompt,
                 "Supprimer le message 7\r" + folder.filePath("Qbox7.QBX") + "\rConfirmez ?");
        QCOMPARE(boxes.calls()[0].style, 4 + 32 + 256);
        QCOMPARE(boxes.calls()[0].title, QStringLiteral("Suppression d'un message"));
        QVERIFY(gridDisabledWhileAsking);
        // No: the message stays, the selection goes.
        QCOMPARE(folder.read("Qbox7.QBX"), bytes);
        QCOMPARE(c.cellText(7), QStringLiteral("Sept"));
        QVERIFY(c.cellYellow(7));
        QCOMPARE(int(NumMes), 0);
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(c.commands(), AllDisabled);
        QVERIFY(c.display->toPlainText().isEmpty());
        QVERIFY(c.shownTitle->text().isEmpty());
        QCOMPARE(c.tooltip("Command3"), QStringLiteral("Modifier le message N° 7"));
        QCOMPARE(c.tooltip("Command4"), QStringLiteral("Supprimer le message N° 7"));
    }

    void yesRemovesTheFileAndFreesTheRow()
    {
        ScratchFolder folder;
        folder.write("Qbox7.QBX", slotBytes(7, "Sept", {"s"}));
        folder.write("Qbox8.QBX", slotBytes(8, "Huit", {"h"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 7);
        boxes.answer(MsgBoxResult::Yes);

        c.item("Mnu_Sup")->trigger();

        QCOMPARE(folder.entries(), QStringList{"Qbox8.QBX"});
        QVERIFY(c.cellText(7).isEmpty());
        QVERIFY(!c.grid->item(6, 1)->data(Qt::BackgroundRole).isValid());
        QCOMPARE(c.grid->textMatrix(7, 0), QStringLiteral("7"));
        QCOMPARE(c.cellText(8), QStringLiteral("Huit"));
        QCOMPARE(int(NumMes), 0);
        QCOMPARE(c.tooltip("Command3"), QStringLiteral("Modifier le message N° "));
        QCOMPARE(c.tooltip("Command4"), QStringLiteral("Supprimer le message N° "));
        QCOMPARE(c.tooltip("Command1"), QStringLiteral("Copie le texte N° 7 dans le presse papier"));
        QCOMPARE(c.mode(), QStringLiteral("buttons grid"));
        QCOMPARE(c.commands(), AllDisabled);
        QVERIFY(c.display->toPlainText().isEmpty());
        QVERIFY(c.shownTitle->text().isEmpty());
    }

    void yesAfterTheFileVanishedChangesNothingElse()
    {
        ScratchFolder folder;
        folder.write("Qbox7.QBX", slotBytes(7, "Sept", {"s"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 7);
        boxes.onShow([&] { QFile::remove(folder.filePath("Qbox7.QBX")); });
        boxes.answer(MsgBoxResult::Yes);

        c.click("Command4");

        QCOMPARE(boxes.calls().size(), 1);
        QCOMPARE(int(NumMes), 7);
        QCOMPARE(c.mode(), QStringLiteral("buttons view grid"));
        QCOMPARE(c.commands(), AllEnabled);
        QCOMPARE(c.cellText(7), QStringLiteral("Sept"));
    }

    void deleteFollowsTheStoredNumber()
    {
        ScratchFolder folder;
        folder.write("Qbox5.QBX", slotBytes(5, "Cinq", {"a"}));
        folder.write("Qbox7.QBX", slotBytes(7, "Sept", {"b"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        folder.write("Qbox5.QBX", slotBytes(7, "Cinq", {"a"}));
        clickGridCell(window, 5);
        boxes.answer(MsgBoxResult::Yes);

        c.click("Command4");

        QVERIFY(boxes.calls()[0].prompt.startsWith(QStringLiteral("Supprimer le message 7\r")));
        QCOMPARE(folder.entries(), QStringList{"Qbox5.QBX"});
        QVERIFY(c.cellText(7).isEmpty());
        QCOMPARE(c.cellText(5), QStringLiteral("Cinq"));
    }

    void deleteWithNothingSelectedDoesNothing()
    {
        ScratchFolder folder;
        folder.write("Qbox1.QBX", slotBytes(1, "Un", {"a"}));
        MsgBoxRecorder boxes;
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        NumMes = 0;
        c.grid->setEnabled(false);
        window.Command4_Click();
        QVERIFY(boxes.calls().isEmpty());
        QVERIFY(!c.grid->isEnabled());
        QVERIFY(folder.exists("Qbox1.QBX"));
    }

    // The real box: Enter answers No, so nothing is removed.
    void enterAtTheConfirmationAnswersNo()
    {
        ScratchFolder folder;
        folder.write("Qbox3.QBX", slotBytes(3, "Trois", {"t"}));
        FrmQbox window;
        Controls c(window);
        QVERIFY(showWindow(window));
        clickGridCell(window, 3);
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QStringList buttons;
        QString defaultButton;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            icon = box->icon();
            for (QAbstractButton *button : box->buttons())
                buttons << button->text();
            defaultButton = box->defaultButton()->text();
            QTest::keyClick(box, Qt::Key_Return);
        });

        c.click("Command4");

        QCOMPARE(icon, QMessageBox::Question);
        buttons.sort();
        QCOMPARE(buttons, (QStringList{"&Non", "&Oui"}));
        QCOMPARE(defaultButton, QStringLiteral("&Non"));
        QVERIFY(folder.exists("Qbox3.QBX"));
        QCOMPARE(int(NumMes), 0);
    }

    void messageBoxStyles_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QMessageBox::Icon>("icon");
        QTest::newRow("plain") << 0 << QMessageBox::NoIcon;
        QTest::newRow("critical") << 16 << QMessageBox::Critical;
        QTest::newRow("exclamation") << 48 << QMessageBox::Warning;
        QTest::newRow("information") << 64 << QMessageBox::Information;
    }
    void messageBoxStyles()
    {
        QFETCH(int, style);
        QFETCH(QMessageBox::Icon, icon);
        QMessageBox::Icon shownIcon = QMessageBox::NoIcon;
        QString text;
        QString caption;
        int buttonCount = 0;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            shownIcon = box->icon();
            text = box->text();
            caption = box->windowTitle();
            buttonCount = int(box->buttons().size());
            QTest::keyClick(box, Qt::Key_Escape);
        });
        QCOMPARE(MsgBox(QStringLiteral("un\rdeux"), style, QStringLiteral("Titre")), MsgBoxResult::Ok);
        QCOMPARE(shownIcon, icon);
        QCOMPARE(text, QStringLiteral("un\ndeux"));
        QCOMPARE(caption, QStringLiteral("Titre"));
        QCOMPARE(buttonCount, 1);
    }
};

QTEST_MAIN(TestCommands)
#include "tst_commands.moc"
