#include "platform/qttranslation.h"
#include "tray/traydata.h"
#include "windowscript.h"

#include <cstring>

using namespace WindowScript;

namespace {

const QString Yes = QString::number(MsgBoxResult::Yes);
const QString No = QString::number(MsgBoxResult::No);
const QString selected = "mode=buttons view grid";
const QString browsing = "mode=buttons grid";
const FileMap five{{"Qbox5.QBX", slotBytes(5, "Cinq", {"ab", "cd"})}};
const FileMap sevenEight{{"Qbox7.QBX", slotBytes(7, "Sept", {"s"})}, {"Qbox8.QBX", slotBytes(8, "Huit", {"h"})}};
const QString confirm7 = "boxes=Supprimer le message 7\\r%1\\rConfirmez ?|292|Suppression d'un message";
const QString changed = "boxes=Un autre programme a changé le fichier du message N° %1.\\rLe remplacer par votre texte ?|292|Avertissement";
const QByteArray longTitle(1 << 20, 't');

} // namespace

// The main window as a user drives it, one test function per command; each row's steps and
// checks are the words of windowscript.h.
class TestWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        failOnProgramWarnings();
        NumMes = 0;
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
    }

    void startUp_data()
    {
        addColumns();
#ifdef Q_OS_WIN
        const QString caseBlind = "2:z|";  // qbox2.qbx is Qbox2.QBX to Windows
#else
        const QString caseBlind;
#endif
        QTest::newRow("start-up lists the titles, the stored number's row wins")
            << FileMap{{"Qbox3.QBX", slotBytes(3, "Trois", {"a"})}, {"Qbox7.QBX", slotBytes(12, "Douze", {"b"})},
                       {"Qbox9.QBX", slotBytes(12, "Neuf", {"c"})}, {"Qbox51.QBX", slotBytes(51, "x", {"a"})},
                       {"qbox2.qbx", slotBytes(2, "z", {"a"})}, {"Qbox04.QBX", slotBytes(4, "y", {"a"})}}
            << QStringList{} << QStringList{"grid=" + caseBlind + "3:Trois|12:Neuf", "num=12", browsing, "cmds=000000", "display=Text3",
                                            "menus=&Fichier|&?|"};
        QTest::newRow("start-up shows unreadable files in their own row")
            << FileMap{{"Qbox5.QBX", ""}, {"Qbox6.QBX", "x,y\r\n\"Six\"\r\n"}, {"Qbox8.QBX", "99,1\r\n\"Huit\"\r\n"},
                       {"Qbox10.QBX", "10,1\r\n"}, {"Qbox13.QBX", "13,1\r\n\"\"\r\n"}, {"Qbox14.QBX", "14,1\n\"Lf\"\nx\n"},
                       {"Qbox15.QBX", bytesOf("15,1\r\n\"Déjà € vu\"\r\nx\r\n")}, {"Qbox16.QBX", "16,1\r\n\"" + QByteArray(3 << 20, 't')}}
            << QStringList{} << QStringList{"grid=5:(illisible)|6:Six|8:Huit|10:(illisible)|13:(illisible)|14:Lf|15:Déjà € vu|16:"
                                            + QString(MaxHeadBytes - 7, 't')};
        QTest::newRow("start-up shows a 1 MiB title whole") << FileMap{{"Qbox1.QBX", slotBytes(1, longTitle, {"x"})}}
            << QStringList{} << QStringList{"grid=1:" + longTitle};
    }
    void startUp() { runRow(); }

    void selectingAndCopying_data()
    {
        addColumns();
        QTest::newRow("select and copy") << five << QStringList{"row 5", "Command1"}
            << QStringList{"num=5", selected, "cmds=111111", "display=ab\r\ncd\r\n", "clip=ab\r\ncd\r\n", "label3=Cinq",
                           "tip1=Copie le texte N° 5 dans le presse papier", "tip3=Modifier le message N° 5",
                           "tip4=Supprimer le message N° 5"};
        QTest::newRow("a byte order mark, a damaged count or header lose no line, a save mends them")
            << FileMap{{"Qbox4.QBX", "4;2\r\n\"Pv\"\r\na\r\nb\r\n"}, {"Qbox5.QBX", "\xEF\xBB\xBF" "5,0\r\n\"Cinq\"\r\nab\r\ncd\r\n"}}
            << QStringList{"row 4", "Command3", "Command6", "row 5", "Mnu_Copier", "Command3", "Command6"}
            << QStringList{"display=ab\r\ncd\r\n", "clip=ab\r\ncd\r\n", "grid=4:Pv|5:Cinq",
                           "file:Qbox4.QBX=4,2\r\n\"Pv\"\r\na\r\nb\r\n", "file:Qbox5.QBX=5,2\r\n\"Cinq\"\r\nab\r\ncd\r\n"};
        QTest::newRow("select a vanished file") << five << QStringList{"row 5", "rm Qbox5.QBX", "row 5", "Command1"}
            << QStringList{"gone:Qbox5.QBX", "num=5", "display=", "clip=", selected, "cmds=111111", "label3=Cinq"};
        QTest::newRow("an empty row drops the selection") << five << QStringList{"row 5", "row 6"}
            << QStringList{"num=0", browsing, "cmds=000000", "tip3=Modifier le message N°", "tip4=Supprimer le message N°",
                           "tip1=Copie le texte N° 5 dans le presse papier", "display=ab\r\ncd\r\n"};
        QTest::newRow("typing in the display box changes nothing, Ctrl+C copies its selection, Tab leaves it")
            << five << QStringList{"row 5", "type Label1 xy\"\b\r", "keys Label1 Down Shift+End Ctrl+C Tab"}
            << QStringList{"clip=cd", "display=ab\r\ncd\r\n", "focus=MSFlexGrid1"};
        for (const char *keys : {"Down Down Down Down Space Tab", "Down Down Down Down Return Tab"})
            QTest::addRow("keys %s select, Tab leaves the grid", keys) << five << QStringList{QString("keys MSFlexGrid1 ") + keys}
                << QStringList{"num=5", selected, "cmds=111111", "display=ab\r\ncd\r\n", "focus=Command1"};
        QTest::newRow("arrows only move, Tab and Shift+Tab leave the grid") << five
            << QStringList{"keys MSFlexGrid1 Down Down Down Down Tab Shift+Tab Shift+Tab"}
            << QStringList{browsing, "cmds=000000", "focus=Command8", "current=5"};
        // Files from other programs.
        const QString tooLarge = "Le message N° 7 est trop volumineux pour être lu : son fichier dépasse 16 Mio.|16|Erreur";
        QTest::newRow("a file above the size limit is not read, shown, copied nor edited")
            << FileMap{{"Qbox5.QBX", five.first()}, {"Qbox7.QBX", slotBytes(7, "Gros", {QByteArray(MaxSlotBytes, 'x')})}}
            << QStringList{"row 5", "row 7", "Command1", "Command3"}
            << QStringList{"boxes=" + QStringList(3, tooLarge).join('\n'), browsing, "cmds=111111", "num=7", "display=",
                           "clip=before", "label3=Gros", "grid=5:Cinq|7:Gros"};
    }
    void selectingAndCopying() { runRow(); }

    void editing_data()
    {
        addColumns();
        QTest::newRow("add to the first free slot")
            << FileMap{{"Qbox1.QBX", slotBytes(1, "t", {"x"})}, {"Qbox2.QBX", slotBytes(2, "t", {"x"})},
                       {"Qbox4.QBX", slotBytes(4, "t", {"x"})}}
            << QStringList{"Command2", "type Text2 Tr\"o'is", "type Text1 un\rz\"", "Command6"}
            << QStringList{"file:Qbox3.QBX=3,2\r\n\"Tro'is\"\r\nun\r\nz\"\r\n", "grid=1:t|2:t|3:Tro'is|4:t", "num=3",
                           browsing, "cmds=000000", "tip3=Modifier le message N° 3", "tip4=Supprimer le message N° 3",
                           "display=un\r\nz\"\r\n", "label3=Tro'is", "focus=MSFlexGrid1", "current=3"};
        QTest::newRow("a pasted quote leaves the title") << FileMap{} << QStringList{"Command2", "paste Text2 a\"b\""}
            << QStringList{"title=ab"};
        QTest::newRow("blanks are a title and a text, a final Enter a line")
            << FileMap{} << QStringList{"Mnu_Ajouter", "type Text2    ", "type Text1  \r", "Command6"}
            << QStringList{"file:Qbox1.QBX=1,2\r\n\"   \"\r\n \r\n\r\n"};
        QTest::newRow("a full store refuses to add") << slotFiles(1, 50) << QStringList{"Mnu_Ajouter"}
            << QStringList{"boxes=Nombre maximum de message atteint !|64|Avertissement", browsing, "num=51"};
        QTest::newRow("slot 50 is the last one") << slotFiles(1, 49) << QStringList{"Command2"}
            << QStringList{"mode=edit", "num=50", "focus=Text2"};
        for (const char *field : {"Text1", "Text2"}) {
            QTest::addRow("only %s filled is refused", field) << FileMap{}
                << QStringList{"Command2", QStringLiteral("type %1 x").arg(field), "Command6"}
                << QStringList{"boxes=Pas de message ou pas de titre !|48|Avertissement", "mode=edit"};
        }
        QTest::newRow("a character the code page lacks is refused")
            << FileMap{} << QStringList{"Command2", "type Text2 t", "set aŁb", "Command6"}
            << QStringList{"boxes=Le caractère « Ł » ne peut pas être enregistré : retirez-le du titre ou du texte !|48|Avertissement",
                           "mode=edit", "body=aŁb"};
        QTest::newRow("more lines than a file can read back are refused")
            << FileMap{} << QStringList{"Command2", "type Text2 t", "set " + QString("\r\n").repeated(32767), "Command6"}
            << QStringList{"boxes=Le texte a plus de 32767 lignes : il ne peut pas être enregistré !|48|Avertissement", "mode=edit"};
        QTest::newRow("an unchanged save writes the same bytes, 32767 lines too") << FileMap{{"Qbox5.QBX", slotBytes(5, "t", {32767, ""})}}
            << QStringList{"row 5", "Command3", "Command6"} << QStringList{"cmds=000111", browsing};
        QTest::newRow("a file changed behind the editor, No keeps the editor, Yes saves") << five
            << QStringList{"row 5", "Command3", "set neuf", "put Qbox5.QBX x", "answer " + No, "Command6", "answer " + Yes, "Command6"}
            << QStringList{changed.arg(5) + '\n' + changed.arg(5).mid(6), browsing, "file:Qbox5.QBX=5,1\r\n\"Cinq\"\r\nneuf\r\n"};
        QTest::newRow("a change behind the editor that keeps the size asks too") << five
            << QStringList{"row 5", "Command3", "set neuf", "put Qbox5.QBX 5,2\r\n\"Cinq\"\r\nAB\r\ncd\r\n", "answer " + No, "Command6"}
            << QStringList{changed.arg(5), "mode=edit", "file:Qbox5.QBX=5,2\r\n\"Cinq\"\r\nAB\r\ncd\r\n"};
        QTest::newRow("a vanished file, a free slot taken meanwhile") << five << QStringList{"row 5", "Command3", "rm Qbox5.QBX",
            "answer " + No, "Command6", "Mnu_Ajouter", "type Text2 t", "type Text1 x", "put Qbox1.QBX y", "answer " + No, "Command6"}
            << QStringList{changed.arg(5) + '\n' + changed.arg(1).mid(6), "gone:Qbox5.QBX", "file:Qbox1.QBX=y", "mode=edit"};
        QTest::newRow("cancel writes nothing") << five << QStringList{"row 5", "Command3", "type Text1 zz", "Command7"}
            << QStringList{browsing, "cmds=000000", "num=5", "tip3=Modifier le message N° 5", "focus=MSFlexGrid1", "current=5"};
        QTest::newRow("modify a vanished file") << five << QStringList{"row 5", "rm Qbox5.QBX", "Command3"}
            << QStringList{"boxes=Le message n'existe pas !|16|Erreur", "gone:Qbox5.QBX", browsing, "cmds=111111",
                           "num=5", "display=ab\r\ncd\r\n"};
        QTest::newRow("modify and delete with nothing selected do nothing")
            << five << QStringList{"row 6", "call Command3", "call Command4"} << QStringList{browsing, "num=0"};
        QTest::newRow("a failed save keeps the old file and the editor")
            << five << QStringList{"row 5", "Command3", "set " + QString(2000, 'n'), "diskfull", "warns cannot save", "Command6"}
            << QStringList{"boxes=Erreur lors de la sauvegarde du message N° 5|16|Erreur|File too large", "mode=edit",
                           "cmds=111111", "grid=5:Cinq", "body=" + QString(2000, 'n'), "title=Cinq"};
        QTest::newRow("adding again from the menu clears and searches again")
            << FileMap{} << QStringList{"Command2", "type Text2 a", "put Qbox1.QBX 1,1\r\n\"t\"\r\nx\r\n", "Mnu_Ajouter"}
            << QStringList{"num=2", "mode=edit", "title=", "body=", "file:Qbox1.QBX=1,1\r\n\"t\"\r\nx\r\n"};
        QTest::newRow("a delete from the menu keeps the editor, a save takes a free slot")
            << slotFiles(1, 3) << QStringList{"row 2", "Command3", "set gardé", "answer " + Yes, "Mnu_Sup", "row 3", "Command6"}
            << QStringList{confirm7.arg("⌂Qbox2.QBX").replace("7", "2"), "file:Qbox2.QBX=2,1\r\n\"t\"\r\ngardé\r\n", "grid=1:t|2:t|3:t"};
        QTest::newRow("saving after a delete while editing, store full") << slotFiles(1, 50)
            << QStringList{"row 2", "Command3", "answer " + Yes, "Mnu_Sup", "put Qbox2.QBX x", "Command6"}
            << QStringList{confirm7.arg("⌂Qbox2.QBX").replace("7", "2") + "\nNombre maximum de message atteint !|64|Avertissement",
                           "file:Qbox2.QBX=x", "body=x", "title=t"};
        // Every byte a slot file can hold, through the display, the clipboard and the editor.
        QByteArray all("\t\r \n");  // every byte but the line ends, with lone CRs and LFs inside lines
        for (int byte = 0x20; byte < 0x100; ++byte)
            all += byte == 0x7F ? '\r' : char(byte);
        const QString text = CodePage::decode(all);
        const QString title = QString(text).remove('"');
        QTest::newRow("every byte survives copy and edit")
            << FileMap{{"Qbox4.QBX", "4,2\r\n\"" + bytesOf(title) + "\"\r\n" + all + "\r\n" + all + "\r\n"}}
            << QStringList{"row 4", "Command1", "Command3", "keys Text1 Tab", "Command6"}  // Tab moves on, tabs kept
            << QStringList{"clip=" + text + "\r\n" + text + "\r\n", "grid=4:" + title};
        QTest::newRow("a title has no length limit") << FileMap{{"Qbox1.QBX", slotBytes(1, longTitle, {"x"})}}
            << QStringList{"row 1", "Command3", "Command6"} << QStringList{"grid=1:" + longTitle};
        // Files from other programs.
        QTest::newRow("a file storing another number: the file read is compared, the stored number's written")
            << FileMap{{"Qbox7.QBX", slotBytes(7, "Sept", {"s"})}}
            << QStringList{"row 7", "put Qbox7.QBX 9,1\r\n\"Sept\"\r\ns\r\n", "Command3", "Command6"}
            << QStringList{"file:Qbox7.QBX=9,1\r\n\"Sept\"\r\ns\r\n", "file:Qbox9.QBX=9,1\r\n\"Sept\"\r\ns\r\n",
                           "grid=7:Sept|9:Sept", "num=9"};
        QTest::newRow("a file storing another number: the stored number's file is not replaced unasked")
            << sevenEight << QStringList{"row 7", "put Qbox7.QBX 8,1\r\n\"Sept\"\r\ns\r\n", "Command3", "answer " + No, "Command6"}
            << QStringList{changed.arg(8), "file:Qbox7.QBX=8,1\r\n\"Sept\"\r\ns\r\n", "mode=edit", "num=8"};
    }
    void editing() { runRow(); }

    void deleting_data()
    {
        addColumns();
        QTest::newRow("delete, Enter at the real box answers No") << sevenEight << QStringList{"row 7", "enter", "Command4"}
            << QStringList{confirm7.arg("⌂Qbox7.QBX"), browsing, "num=0", "cmds=000000", "grid=7:Sept|8:Huit",
                           "tip4=Supprimer le message N° 7", "display=", "label3=", "focus=MSFlexGrid1"};
        QTest::newRow("delete, Yes") << sevenEight << QStringList{"row 7", "answer " + Yes, "Mnu_Sup"}
            << QStringList{confirm7.arg("⌂Qbox7.QBX"), "gone:Qbox7.QBX", browsing, "num=0", "cmds=000000", "grid=8:Huit",
                           "tip3=Modifier le message N° ", "tip4=Supprimer le message N° ",
                           "tip1=Copie le texte N° 7 dans le presse papier", "display=", "label3="};
        QTest::newRow("delete, Yes, the file cannot be removed") << sevenEight << QStringList{"row 7", "lock Qbox7.QBX", "warns cannot remove", "answer " + Yes, "Command4"}
            << QStringList{confirm7.arg("⌂Qbox7.QBX") + "\nImpossible de supprimer le message N° 7|16|Erreur", browsing, "grid=7:Sept|8:Huit"};
        QTest::newRow("delete, Yes after the file vanished")
            << sevenEight << QStringList{"row 7", "rm-while-asking Qbox7.QBX", "answer " + Yes, "Command4"}
            << QStringList{confirm7.arg("⌂Qbox7.QBX"), "gone:Qbox7.QBX", selected, "num=7", "cmds=111111",
                           "grid=7:Sept|8:Huit", "tip4=Supprimer le message N° 7"};
        QTest::newRow("delete follows the stored number")
            << FileMap{{"Qbox5.QBX", slotBytes(5, "Cinq", {"a"})}, {"Qbox7.QBX", slotBytes(7, "Sept", {"b"})}}
            << QStringList{"put Qbox5.QBX 7,1\r\n\"Cinq\"\r\na\r\n", "row 5", "answer " + Yes, "Command4"}
            << QStringList{confirm7.arg("⌂Qbox7.QBX"), "gone:Qbox7.QBX", "file:Qbox5.QBX=7,1\r\n\"Cinq\"\r\na\r\n",
                           "grid=5:Cinq", "tip1=Copie le texte N° 7 dans le presse papier"};
    }
    void deleting() { runRow(); }

    // The tray, hiding, showing and quitting.
    void theTray_data()
    {
        addColumns();
        for (int code : {512, 514, 515, 516})
            QTest::addRow("tray %d does nothing", code) << FileMap{} << QStringList{"hide", QStringLiteral("tray %1").arg(code)}
                                                       << QStringList{"visible=0", "menu=0"};
        QTest::newRow("tray 513 shows") << FileMap{} << QStringList{"hide", "tray 513"} << QStringList{"visible=1", "menu=0"};
        QTest::newRow("tray 517 pops the menu up") << FileMap{} << QStringList{"tray 517"} << QStringList{"menu=1"};
        for (const char *hide : {"Command8", "Mnu_Masque", "Mnu_Masquer"}) {
            QTest::addRow("%s hides, twice, the icon stays", hide) << FileMap{} << QStringList{hide, hide}
                                                                   << QStringList{"visible=0", "tray=0"};
        }
        QTest::newRow("hiding during an edit keeps it") << FileMap{}
            << QStringList{"Command2", "type Text2 titre", "Mnu_Masquer", "tray 513"}
            << QStringList{"visible=1", "mode=edit", "title=titre", "num=1"};
        QTest::newRow("without a tray, hiding minimizes") << FileMap{} << QStringList{"notray", "Command8"}
            << QStringList{"visible=1", "minimized=1"};
        QTest::newRow("Afficher restores a minimized window") << FileMap{}
            << QStringList{"notray", "Mnu_Masque", "Mnu_Affichier"} << QStringList{"visible=1", "minimized=0"};
        for (const char *way : {"Command5", "Mnu_Quitter", "Mnu_Fin", "close"}) {
            QTest::addRow("%s removes the icon, then ends, once", way)
                << five << QStringList{"row 5", way, "close"} << QStringList{"ended=0,2", "tray=0,2"};
        }
        QTest::newRow("quitting during an edit asks nothing") << five
            << QStringList{"row 5", "Command3", "type Text2 perdu", "Mnu_Quitter"} << QStringList{"ended=0,2"};
    }
    void theTray() { runRow(); }

    // Qt's own texts, its translation installed as the program installs it: the body editor's
    // context menu and the buttons of the real box of a failed save. Without it, English.
    void qtTextsInFrench_data()
    {
        QTest::addColumn<bool>("installed");
        QTest::addColumn<QString>("texts");
        QTest::newRow("missing: English, a warning") << false << "&Undo|&Redo|Cu&t|&Copy|&Paste|Delete|Select All|OK|Show Details...";
        QTest::newRow("Qt's: French") << true << "&Annuler|&Rétablir|Co&uper|Cop&ier|Co&ller|Supprimer|Tout sélectionner|Montrer les détails...|OK";
    }
    void qtTextsInFrench()
    {
        QFETCH(bool, installed);
        QFETCH(QString, texts);
        Session s;  // its folder has no translation
        for (const char *step : {"warns cannot save", "Command2", "type Text2 t", "type Text1 x", "put fichier "})
            act(s, step);
        if (!installed)
            act(s, "warns cannot load Qt's French");
        QCOMPARE(System::installQtTranslation(installed ? System::qtTranslationsFolder() : s.folder.path()), installed);
        const std::unique_ptr<QMenu> menu(s.find<QPlainTextEdit>("Text1")->createStandardContextMenu());
        QStringList shown;
        for (const QAction *item : menu->actions())
            shown << item->text().section('\t', 0, 0);
        QTimer::singleShot(0, [&shown] {  // in the box, before "enter" presses Return
            QStringList buttons;
            for (const QAbstractButton *button : QApplication::activeModalWidget()->findChildren<QAbstractButton *>())
                buttons << button->text();
            buttons.sort();  // whatever order the system's layout gives them
            shown += buttons;
        });
        AppFolder = QDir::toNativeSeparators(s.folder.filePath("fichier/Quillbox"));  // cannot be made
        for (const char *step : {"enter", "Command6"})
            act(s, step);
        shown.removeAll(QString());  // the separators
        QCOMPARE(shown.join('|'), texts);
    }

    // The editors' form of a text's line ends, both ways, wherever they stand: CR LF a line
    // break, a lone LF or CR a stand-in of its own.
    void lineEnds_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("editor");
        const QString lf(QChar(0x2028)), cr(QChar(0x240D));
        QTest::newRow("none") << "" << "";
        QTest::newRow("CR LF between lines and after the last") << "ab\r\nc\r\n" << "ab\nc\n";
        QTest::newRow("lone ones first and last") << "\nx\r" << lf + "x" + cr;
        QTest::newRow("a CR before a CR LF, an LF before a CR") << "\r\r\n\n\r" << cr + "\n" + lf + cr;
    }
    void lineEnds()
    {
        QFETCH(QString, text);
        QFETCH(QString, editor);
        QCOMPARE(CrLfText::toEditor(text), editor);
        QCOMPARE(CrLfText::fromEditor(QString(editor).replace('\n', QChar::ParagraphSeparator)), text);
    }

    // The record the shell takes: the tip cut to its field and padded with blanks after its
    // NUL; the removal repeats the record before it whole.
    void theTrayRecord_data()
    {
        QTest::addColumn<QString>("tip");  // given to a change of the icon's record; none: start-up's
        QTest::addColumn<QByteArray>("field");
        QTest::newRow("the caption") << "" << QByteArray("Gestionnaire de Presse Papier") + '\0' + QByteArray(34, ' ');
        QTest::newRow("a longer tip, cut") << QString(70, u'é') << QByteArray(63, '\xe9') + '\0';
    }
    void theTrayRecord()
    {
        QFETCH(QString, tip);
        QFETCH(QByteArray, field);
        Session s;
        if (!tip.isEmpty())
            TrayNotify(&s.window(), TrayAction::Modify, std::nullopt, tip);
        TrayNotify(&s.window(), TrayAction::Delete);
        const NotifyIconData &removal = s.tray.records.last();
        QCOMPARE(std::memcmp(&s.tray.records.at(s.tray.records.size() - 2), &removal, sizeof removal), 0);
        QCOMPARE(removal.hWnd, quint32(s.window().winId()));
        QCOMPARE(QByteArray(removal.szTip, 64), field);
        QCOMPARE(Tray::iconFromHandle(removal.hIcon).cacheKey(), s.window().windowIcon().cacheKey());
    }
};

QTEST_MAIN(TestWindow)
#include "tst_window.moc"
