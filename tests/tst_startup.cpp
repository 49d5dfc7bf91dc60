#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/programexit.h"
#include "testsupport.h"
#include "tray/traydata.h"

#include <QAbstractButton>
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPlainTextEdit>
#include <QTest>

using TitleMap = QMap<int, QString>;
using FileMap = QMap<QString, QByteArray>;

class TestStartup : public QObject
{
    Q_OBJECT

private:
    static const QColor Yellow;

    static TitleMap gridTitles(const FrmQbox &window)
    {
        auto *grid = window.findChild<MSFlexGrid *>(QStringLiteral("MSFlexGrid1"));
        TitleMap titles;
        for (int row = 1; row <= MaxSlots; ++row) {
            const QTableWidgetItem *cell = grid->item(row - 1, 1);
            const bool yellow = cell->data(Qt::BackgroundRole).value<QBrush>().color() == Yellow;
            if (!cell->text().isEmpty() || yellow) {
                // A title without its yellow, or yellow without a title, shows as such.
                titles.insert(row, yellow ? cell->text() : QStringLiteral("no yellow: ") + cell->text());
            }
        }
        return titles;
    }

private Q_SLOTS:
    void init() { NumMes = -1; }

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
        ScratchFolder folder;
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            folder.write(it.key(), it.value());
        NumMes = 0;

        FrmQbox window;

        QCOMPARE(gridTitles(window), titles);
        QCOMPARE(int(NumMes), numMes);
        // Start-up only reads: every file is as it was, and nothing was added.
        for (auto it = files.cbegin(); it != files.cend(); ++it)
            QCOMPARE(folder.read(it.key()), it.value());
        QCOMPARE(folder.entries().size(), files.size());
    }

    void gridHeaderAndNumbers()
    {
        ScratchFolder folder;
        FrmQbox window;
        auto *grid = window.findChild<MSFlexGrid *>(QStringLiteral("MSFlexGrid1"));
        QCOMPARE(grid->rows(), 51);
        QCOMPARE(grid->cols(), 2);
        QCOMPARE(grid->textMatrix(0, 0), QStringLiteral("N°Mes"));
        QCOMPARE(grid->textMatrix(0, 1), QStringLiteral("Titre"));
        QCOMPARE(grid->columnWidth(0), 40);
        QCOMPARE(grid->columnWidth(1), 170);
        for (int row = 1; row <= MaxSlots; ++row) {
            QCOMPARE(grid->textMatrix(row, 0), QString::number(row));
            for (int col = 0; col < 2; ++col) {
                grid->setRow(row);
                grid->setCol(col);
                QCOMPARE(grid->cellAlignment(), int(MSFlexGrid::AlignCenterCenter));
            }
        }
    }

    void menuBarShowsFileAndHelpOnly()
    {
        ScratchFolder folder;
        FrmQbox window;
        QStringList shown;
        for (const QAction *action : window.menuBar()->actions()) {
            if (action->isVisible())
                shown << action->text();
        }
        QCOMPARE(shown, (QStringList{"&Fichier", "&?"}));
        auto *popup = window.findChild<QMenu *>(QStringLiteral("MenuPopUp"));
        QVERIFY(popup);
        QCOMPARE(popup->title(), QStringLiteral("MenuPopUp"));
    }

    void menuItems_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Mnu_Ajouter") << "Mnu_Ajouter" << "&Ajouter" << true;
        QTest::newRow("Mnu_Copier") << "Mnu_Copier" << "&Copier" << false;
        QTest::newRow("Mnu_Modif") << "Mnu_Modif" << "&Modifier" << false;
        QTest::newRow("Mnu_Sup") << "Mnu_Sup" << "&Supprimer" << false;
        QTest::newRow("Mnu_Masque") << "Mnu_Masque" << "Masquer" << true;
        QTest::newRow("Mnu_Quitter") << "Mnu_Quitter" << "&Quitter" << true;
        QTest::newRow("Mnu_Apropos") << "Mnu_Apropos" << "A propos" << true;
        QTest::newRow("Mnu_Affichier") << "Mnu_Affichier" << "&Afficher" << true;
        QTest::newRow("Mnu_Masquer") << "Mnu_Masquer" << "&Masquer" << true;
        QTest::newRow("Mnu_Fin") << "Mnu_Fin" << "&Quitter" << true;
    }
    void menuItems()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(bool, enabled);
        ScratchFolder folder;
        FrmQbox window;
        auto *item = window.findChild<QAction *>(name);
        QVERIFY(item);
        QCOMPARE(item->text(), caption);
        QCOMPARE(item->isEnabled(), enabled);
        QVERIFY(item->shortcut().isEmpty());
        QVERIFY(!item->isCheckable());
    }

    void menuOrder()
    {
        ScratchFolder folder;
        FrmQbox window;
        auto names = [&](const char *menu) {
            QStringList list;
            for (const QAction *action : window.findChild<QMenu *>(QLatin1String(menu))->actions())
                list << action->objectName();
            return list;
        };
        QCOMPARE(names("Mnu_Fichier"), (QStringList{"Mnu_Ajouter", "sep2", "Mnu_Copier", "sep1", "Mnu_Modif",
                                                    "Mnu_Sup", "sep3", "Mnu_Masque", "sep0", "Mnu_Quitter"}));
        QCOMPARE(names("Mnu_Aide"), QStringList{"Mnu_Apropos"});
        QCOMPARE(names("MenuPopUp"), (QStringList{"Mnu_Affichier", "Mnu_Masquer", "sep5", "Mnu_Fin"}));
    }

    void controls_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("caption");
        QTest::addColumn<QString>("tooltip");
        QTest::addColumn<QRect>("twipsRect");
        QTest::addColumn<bool>("enabled");
        QTest::newRow("Command8") << "Command8" << "Masquer" << "Réduit la fenêtre en icône"
                                  << QRect(120, 1200, 1215, 855) << true;
        QTest::newRow("Command1") << "Command1" << "&Copier" << "Copie le texte dans le presse papier"
                                  << QRect(120, 240, 1215, 375) << false;
        QTest::newRow("Command5") << "Command5" << "&Quitter" << "Quitte le gestionnaire de Presse Papier"
                                  << QRect(1440, 1200, 1215, 855) << true;
        QTest::newRow("Command4") << "Command4" << "&Supprimer" << "Supprime le texte sélectionné"
                                  << QRect(1440, 240, 1215, 375) << false;
        QTest::newRow("Command3") << "Command3" << "&Modifier" << "Modifie le texte sélectionné"
                                  << QRect(1440, 720, 1215, 375) << false;
        QTest::newRow("Command2") << "Command2" << "&Ajouter" << "Ajoute un texte"
                                  << QRect(120, 720, 1215, 375) << true;
        QTest::newRow("Command7") << "Command7" << "&Annuler" << "Annule l'édition"
                                  << QRect(4920, 240, 975, 300) << true;
        QTest::newRow("Command6") << "Command6" << "&Valider" << "Valide et sauve le texte"
                                  << QRect(3600, 240, 1095, 300) << true;
        QTest::newRow("Frame1") << "Frame1" << "" << "" << QRect(3720, 120, 2775, 2175) << true;
        QTest::newRow("Frame2") << "Frame2" << "Modification / Ajout d'un texte " << ""
                                << QRect(120, 2520, 6375, 3255) << true;
        QTest::newRow("Frame3") << "Frame3" << "Texte à copier dans le presse papier " << ""
                                << QRect(120, 2520, 6375, 3255) << true;
        QTest::newRow("Label2") << "Label2" << "Titre :" << "" << QRect(120, 240, 495, 255) << true;
        QTest::newRow("Label4") << "Label4" << "Titre sélectionné :" << "" << QRect(120, 240, 1335, 255) << true;
        QTest::newRow("Label3") << "Label3" << "" << "" << QRect(1560, 240, 2775, 255) << true;
        QTest::newRow("Text2") << "Text2" << "" << "" << QRect(720, 240, 2415, 285) << true;
        QTest::newRow("Text1") << "Text1" << "" << "" << QRect(120, 600, 6135, 2535) << true;
        QTest::newRow("Label1") << "Label1" << "Text3" << "" << QRect(120, 600, 6135, 2535) << true;
        QTest::newRow("MSFlexGrid1") << "MSFlexGrid1" << "" << "" << QRect(120, 120, 3495, 2295) << true;
    }
    void controls()
    {
        QFETCH(QString, name);
        QFETCH(QString, caption);
        QFETCH(QString, tooltip);
        QFETCH(QRect, twipsRect);
        QFETCH(bool, enabled);
        ScratchFolder folder;
        FrmQbox window;
        auto *control = window.findChild<QWidget *>(name);
        QVERIFY(control);
        QString text;
        if (auto *button = qobject_cast<QAbstractButton *>(control))
            text = button->text();
        else if (auto *frame = qobject_cast<QGroupBox *>(control))
            text = frame->title();
        else if (auto *label = qobject_cast<QLabel *>(control))
            text = label->text();
        else if (auto *line = qobject_cast<QLineEdit *>(control))
            text = line->text();
        else if (auto *box = qobject_cast<QPlainTextEdit *>(control))
            text = box->toPlainText();
        QCOMPARE(text, caption);
        QCOMPARE(control->toolTip(), tooltip);
        QCOMPARE(control->isEnabled(), enabled);
        const QRect pixels((twipsRect.x() + 7) / 15, (twipsRect.y() + 7) / 15,
                           (twipsRect.width() + 7) / 15, (twipsRect.height() + 7) / 15);
        QCOMPARE(control->geometry(), pixels);
    }

    void panelsStartInBrowsingMode()
    {
        ScratchFolder folder;
        FrmQbox window;
        QVERIFY(showWindow(window));
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame1"))->isVisible());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("Frame2"))->isVisible());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("Frame3"))->isVisible());
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("MSFlexGrid1"))->isEnabled());
    }

    void coloursAndFonts()
    {
        ScratchFolder folder;
        FrmQbox window;
        const QColor paleYellow(255, 255, 192);
        const QColor paleGreen(192, 255, 192);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Text1"))->palette().color(QPalette::Base), paleYellow);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Text2"))->palette().color(QPalette::Base), paleYellow);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Label1"))->palette().color(QPalette::Base), paleGreen);
        QCOMPARE(window.findChild<QWidget *>(QStringLiteral("Label3"))->palette().color(QPalette::Window), paleGreen);
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame2"))->font().bold());
        QVERIFY(window.findChild<QWidget *>(QStringLiteral("Frame3"))->font().bold());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("Command6"))->font().bold());
        QVERIFY(!window.findChild<QWidget *>(QStringLiteral("Label4"))->font().bold());
    }

    void windowIsFixedCentredAndHasNoMinimizeOrMaximize()
    {
        ScratchFolder folder;
        FrmQbox window;
        QVERIFY(showWindow(window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Gestionnaire de Presse Papier"));
        QCOMPARE(window.centralWidget()->size(), QSize(441, 396));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!(window.windowFlags() & Qt::WindowMinimizeButtonHint));
        QVERIFY(!(window.windowFlags() & Qt::WindowMaximizeButtonHint));
        QVERIFY(window.windowFlags() & Qt::WindowCloseButtonHint);
        const QPoint offset = window.frameGeometry().center() - window.screen()->availableGeometry().center();
        QVERIFY2(offset.manhattanLength() <= 2, qPrintable(QStringLiteral("off centre by %1,%2")
                                                          .arg(offset.x()).arg(offset.y())));
        const QList<QSize> sizes = window.windowIcon().availableSizes();
        QVERIFY(sizes.contains(QSize(16, 16)));
        QVERIFY(sizes.contains(QSize(32, 32)));
    }

    void tabOrderFollowsTheTabIndexes()
    {
        ScratchFolder folder;
        FrmQbox window;
        QStringList order;
        QWidget *widget = window.findChild<QWidget *>(QStringLiteral("MSFlexGrid1"));
        const QStringList expected{"MSFlexGrid1", "Command1", "Command2", "Command3", "Command4", "Command5",
                                   "Text1", "Command6", "Command7", "Text2", "Command8", "Label1"};
        for (int i = 0; i < expected.size(); ++i) {
            order << widget->objectName();
            do {
                widget = widget->nextInFocusChain();
            } while (!expected.contains(widget->objectName()) && widget != &window);
        }
        QCOMPARE(order, expected);
    }

    void trayIconIsAddedOnceWithTheWindowIconAndTip()
    {
        ScratchFolder folder;
        FakeTrayBackend tray;
        FrmQbox window;
        QCOMPARE(tray.calls().size(), 1);
        const FakeTrayBackend::Call &add = tray.calls().constFirst();
        QCOMPARE(add.action, 0u);
        QCOMPARE(TipText(add.data), QStringLiteral("Gestionnaire de Presse Papier"));
        QCOMPARE(IconFromHandle(add.data.hIcon).cacheKey(), window.windowIcon().cacheKey());
        QCOMPARE(add.data.hWnd, quint32(window.winId()));
    }

    void destroyingTheWindowDoesNotEndTheProgram()
    {
        ScratchFolder folder;
        int ended = 0;
        SetEndProgramFunction([&] { ++ended; });
        {
            FrmQbox window;
        }
        SetEndProgramFunction({});
        QCOMPARE(ended, 0);
    }
};

const QColor TestStartup::Yellow(255, 255, 0);

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
