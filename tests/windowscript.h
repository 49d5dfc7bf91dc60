#pragma once

#include "mainwin/crlftext.h"
#include "platform/systemplatform.h"
#include "store/codepage.h"
#include "testsupport.h"

#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QProcess>
#include <QRegularExpression>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <csignal>
#ifdef Q_OS_UNIX
#include <sys/resource.h>
#endif

// The window tests' rows: the slot files, the steps a user (or another program) takes, each
// a word and what it acts on (act() lists them), and what must hold then, as key=value
// (state() lists the keys). Every row also checks the boxes shown (boxes=, each box as
// prompt|style|title[|details], CR as \r, one a line; none unless given) and the folder
// (the row's files unless file:NAME=BYTES or gone:NAME say otherwise).

namespace WindowScript {

inline QByteArray bytesOf(const QString &text)
{
    return CodePage::encode(text).value();
}

// Caps the size of any file the process writes, as a full disk would, or lifts the cap.
inline void setFileSizeLimit([[maybe_unused]] bool capped)
{
#ifdef Q_OS_UNIX
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit{};
    getrlimit(RLIMIT_FSIZE, &limit);
    limit.rlim_cur = capped ? std::min<rlim_t>(256, limit.rlim_max) : limit.rlim_max;
    setrlimit(RLIMIT_FSIZE, &limit);
#endif
}

inline void act(Session &s, const QString &action)
{
    const QString word = action.section(' ', 0, 0);
    const QString rest = action.section(' ', 1);
    const QString first = rest.section(' ', 0, 0);
    const QString after = rest.section(' ', 1);
    // Besides these, the name of a button clicks it and the name of a menu item chooses it.
    // A step that changes the machine (diskfull, lock, tray) undoes it as the session ends.
    const QHash<QString, std::function<void()>> words{
        {"row", [&] { s.clickRow(rest.toInt()); }},  // N: a click on grid row N's title cell
        // Command3|4: the handler run as its menu twin would, whatever is enabled
        {"call", [&] { rest == "Command3" ? s.window().Command3_Click() : s.window().Command4_Click(); }},
        {"type", [&] { QTest::keyClicks(s.find(qPrintable(first)), after); }},  // NAME TEXT, key by key (\r: Enter)
        {"paste", [&] { s.find<QLineEdit>(qPrintable(first))->insert(after); }},  // NAME TEXT into a line box
        {"set", [&] { CrLfText::write(s.find<QPlainTextEdit>("Text1"), rest); }},  // TEXT: the body editor's, CR LF lines
        {"keys", [&] { s.find(qPrintable(first))->setFocus();  // NAME K1 K2...: the focus there, then each key
                       for (const QString &key : after.split(' '))
                           QTest::keySequence(QApplication::focusWidget(), QKeySequence(key)); }},
        {"answer", [&] { s.fake.boxAnswers << rest.toInt(); }},  // N: the next box's answer (OK when none is left)
        {"enter", [&] {  // the next box the real one, answered by Enter
             s.fake.answerMessageBox = [](auto &&...box) { return SystemPlatform().messageBox(box...); };
             QTimer::singleShot(0, [] { QTest::keyClick(QApplication::activeModalWidget(), Qt::Key_Return); }); }},
        {"put", [&] { s.folder.write(first, bytesOf(after)); }},  // FILE BYTES, as another program writes them
        {"rm", [&] { s.folder.remove(rest); }},  // FILE, as another program removes it
        {"rm-while-asking", [&] { s.fake.whileBoxShows = [&s, rest] { s.folder.remove(rest); }; }},  // FILE, while the next box is up
        {"diskfull", [&] { setFileSizeLimit(true);  // files written cut at 256 bytes, as on a full disk (Unix)
                           s.atEnd << [] { setFileSizeLimit(false); }; }},
        {"lock", [&] {  // FILE immutable, its folder read-only: root too cannot remove it (Unix)
             QProcess::execute("chattr", {"+i", s.folder.filePath(rest)});
             QFile::setPermissions(s.folder.path(), QFileDevice::Permissions(0x5000));
             s.atEnd << [&s, rest] {  // lets the scratch folder go
                 QProcess::execute("chattr", {"-i", s.folder.filePath(rest)});
                 QFile::setPermissions(s.folder.path(), QFileDevice::Permissions(0x7000));
             }; }},
        {"tray", [&] { s.tray.sendEvent(rest.toInt());  // N: the icon's event N (513 left button, 517 right)
                       s.atEnd << [&s] { s.find<QMenu>("MenuPopUp")->close(); }; }},
        {"hide", [&] { s.window().hide(); }},
        {"close", [&] { s.window().close(); }},  // as the close box does
        {"notray", [&] { s.tray.available = false; }},  // a desktop without a notification area
        {"warns", [&] { QTest::ignoreMessage(QtWarningMsg, QRegularExpression(rest)); }},  // PATTERN: a warning due
    };
    if (words.contains(word))
        words[word]();
    else if (auto *button = s.find<QAbstractButton>(qPrintable(word)))
        QTest::mouseClick(button, Qt::LeftButton);
    else if (auto *item = s.find<QAction>(qPrintable(word)))
        item->trigger();
    else
        QFAIL(qPrintable("unknown step " + action));
}

inline QMap<QString, QString> state(const Session &s)
{
    QStringList cells;  // the rows that are not plain free slots: N:title on yellow, N!title else
    for (int row = 1; row <= MaxSlots; ++row) {
        const bool yellow = s.grid()->item(row - 1, 1)->background().color() == QColor(Qt::yellow);
        if (yellow || !s.grid()->textMatrix(row, 1).isEmpty() || s.grid()->textMatrix(row, 0) != QString::number(row))
            cells << s.grid()->textMatrix(row, 0) + (yellow ? ":" : "!") + s.grid()->textMatrix(row, 1);
    }
    QStringList menus;
    for (const QAction *menu : s.window().menuBar()->actions())
        menus << (menu->isVisible() ? menu->text() : QString());
    QStringList mode;  // the panels shown, then grid when it takes clicks
    for (const auto &[name, part] : {std::pair{"Frame1", "buttons"}, {"Frame3", "view"}, {"Frame2", "edit"}, {"MSFlexGrid1", "grid"}})
        if (s.find(name)->isVisible() && s.find(name)->isEnabled())
            mode << part;
    QString cmds;  // Copier, Modifier, Supprimer as buttons, then as menu items: 1 enabled
    for (const char *name : {"Command1", "Command3", "Command4", "Mnu_Copier", "Mnu_Modif", "Mnu_Sup"})
        cmds += s.window().findChild<QObject *>(name)->property("enabled").toBool() ? '1' : '0';
    const QWidget *focus = s.window().focusWidget();  // whether or not a box left it active
    const auto text = [&s](const char *box) { return CrLfText::read(s.find<QPlainTextEdit>(box)); };
    return {{"mode", mode.join(' ')}, {"cmds", cmds}, {"num", QString::number(NumMes)},
            {"tip1", s.find("Command1")->toolTip()}, {"tip3", s.find("Command3")->toolTip()},
            {"tip4", s.find("Command4")->toolTip()}, {"label3", s.find<QLabel>("Label3")->text()},
            {"display", text("Label1")}, {"body", text("Text1")}, {"title", s.find<QLineEdit>("Text2")->text()},
            {"clip", QGuiApplication::clipboard()->text()}, {"visible", QString::number(s.window().isVisible())},
            {"minimized", QString::number(s.window().isMinimized())}, {"menu", QString::number(s.find<QMenu>("MenuPopUp")->isVisible())},
            {"focus", focus ? focus->objectName() : QString()}, {"current", QString::number(s.grid()->currentRow() + 1)},
            {"tray", s.tray.actions.join(',')}, {"ended", s.ended.join(',')},  // tray actions so far, when it ended
            {"grid", cells.join('|')}, {"menus", menus.join('|')}};  // and the tray's menu, the menu bar's menus shown
}

inline void addColumns()
{
    QTest::addColumn<FileMap>("files");
    QTest::addColumn<QStringList>("actions");
    QTest::addColumn<QStringList>("expected");
}

// Runs the current row: the window over its files, each step, then every check.
inline void runRow()
{
    QFETCH(FileMap, files);
    QFETCH(QStringList, actions);
    QFETCH(QStringList, expected);
#ifndef Q_OS_UNIX
    if (actions.contains("diskfull") || !actions.filter(QRegularExpression("^lock ")).isEmpty())
        QSKIP("no file size limit nor immutable file on this system");
#endif
    Session s(files);
    for (const QString &action : std::as_const(actions)) {
        act(s, action);
        if (QTest::currentTestFailed())
            return;
    }
    const QMap<QString, QString> now = state(s);
    FileMap folder = files;
    QString boxes;
    for (QString item : std::as_const(expected)) {
        item.replace("⌂", PathWithSlash(QDir::toNativeSeparators(s.folder.path())));
        const QString key = item.section('=', 0, 0);
        const QString value = item.section('=', 1);
        if (key.startsWith("file:"))
            folder.insert(key.mid(5), bytesOf(value));
        else if (key.startsWith("gone:"))
            folder.remove(key.mid(5));
        else if (key == "boxes")
            boxes = value;
        else
            QCOMPARE(key + '=' + now.value(key, "(no such key)"), item);
    }
    QCOMPARE(s.fake.shownBoxes.join('\n'), boxes);
    QCOMPARE(s.folder.files(), folder);
}

} // namespace WindowScript
