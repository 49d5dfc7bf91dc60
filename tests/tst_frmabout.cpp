#include "about/frmabout.h"
#include "mainwin/frmqbox.h"
#include "platform/programstart.h"
#include "platform/registry.h"
#include "platform/registrytable.h"
#include "platform/shellopen.h"
#include "testsupport.h"

#include <QAction>
#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <stdexcept>

namespace {

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ToolLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString Missing = QStringLiteral("Information Systeme introuvable !");

// A registry table of the test's own, read by the dialog while the object lives.
struct ScratchRegistry
{
    ScratchRegistry() { Registry::SetRegistryTable(&table); }
    ~ScratchRegistry() { Registry::SetRegistryTable(nullptr); }

    void setString(const QString &key, const QString &name, const QByteArray &text)
    {
        table.setValue(Registry::HKEY_LOCAL_MACHINE, key, name, Registry::REG_SZ, text);
    }

    RegistryTable table;
};

// Records the programs started, answering with a scripted result.
struct ProgramStarts
{
    explicit ProgramStarts(bool result = true)
    {
        SetStartProgramFunction([this, result](const QString &path) {
            paths.append(path);
            return result;
        });
    }
    ~ProgramStarts() { SetStartProgramFunction({}); }

    QStringList paths;
};

struct ShellOpens
{
    ShellOpens()
    {
        SetShellOpenFunction([this](const QString &target) { targets.append(target); });
    }
    ~ShellOpens() { SetShellOpenFunction({}); }

    QStringList targets;
};

QWidget *keyTarget(QWidget &dialog)
{
    QWidget *focus = QApplication::focusWidget();
    return focus ? focus : &dialog;
}

QStringList prompts(const MsgBoxRecorder &boxes)
{
    QStringList texts;
    for (const MsgBoxRecorder::Call &call : boxes.calls())
        texts.append(call.prompt);
    return texts;
}

} // namespace

class tst_frmAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getKeyValueReadsTheStoredValue_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<bool>("read");
        QTest::addColumn<QString>("after");

        const QByteArray path("C:\\Outils\\infos.exe");
        QTest::newRow("string with its NUL loses the NUL")
                << "value" << uint(Registry::REG_SZ) << path + '\0' << "" << true << QString(path);
        QTest::newRow("string without NUL is used in full")
                << "value" << uint(Registry::REG_SZ) << path << "" << true << QString(path);
        QTest::newRow("string in the 8-bit code page")
                << "value" << uint(Registry::REG_SZ) << QByteArray("Syst\xe8me\0", 8) << "" << true
                << QStringLiteral("Système");
        QTest::newRow("1024 bytes are read")
                << "value" << uint(Registry::REG_SZ) << QByteArray(1024, 'x') << "" << true
                << QString(1024, QLatin1Char('x'));
        QTest::newRow("1025 bytes count as missing")
                << "value" << uint(Registry::REG_SZ) << QByteArray(1025, 'x') << "avant" << false << "";
        QTest::newRow("dword 261 gives decimal text")
                << "value" << uint(Registry::REG_DWORD) << QByteArray("\x05\x01\x00\x00", 4) << ""
                << true << "261";
        QTest::newRow("dword without a NUL last byte keeps all four")
                << "value" << uint(Registry::REG_DWORD) << QByteArray("\x2c\x01\x00\x07", 4) << ""
                << true << "117440812";
        QTest::newRow("dword digits follow what the text held")
                << "value" << uint(Registry::REG_DWORD) << QByteArray("\x05\x01\x00\x00", 4) << "1"
                << true << "16777477";
        QTest::newRow("unknown type leaves the text")
                << "value" << uint(Registry::REG_BINARY) << QByteArray("\x01\x02", 2) << "inchangé"
                << true << "inchangé";
        QTest::newRow("missing key") << "no key" << uint(Registry::REG_SZ) << path << "avant" << false
                                     << "";
        QTest::newRow("missing value") << "other value" << uint(Registry::REG_SZ) << path << "avant"
                                       << false << "";
    }

    void getKeyValueReadsTheStoredValue()
    {
        QFETCH(QString, stored);
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(bool, read);
        QFETCH(QString, after);

        ScratchRegistry registry;
        if (stored != "no key") {
            registry.table.setValue(Registry::HKEY_LOCAL_MACHINE, ToolKey,
                                    stored == "value" ? "PATH" : "AUTRE", type, data);
        }
        frmAbout dialog;
        quint32 root = Registry::HKEY_LOCAL_MACHINE;
        QString keyVal = before;

        QCOMPARE(dialog.GetKeyValue(root, ToolKey, "PATH", keyVal), read);
        QCOMPARE(keyVal, after);
        QCOMPARE(Registry::LastAccessMask(), quint32(0x2003F));
        QCOMPARE(registry.table.openKeyCount(), 0);
    }

    void startSysInfoFindsTheTool_data()
    {
        QTest::addColumn<QString>("first");
        QTest::addColumn<bool>("second");
        QTest::addColumn<bool>("toolInFolder");
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("started");
        QTest::addColumn<bool>("message");

        const QString absent = QStringLiteral("/nulle part/outil info; rm -rf ~");
        QTest::newRow("first value started unchanged, missing file")
                << absent << true << true << false << QStringList{absent} << true;
        QTest::newRow("first value started, second not tried")
                << "/usr/bin/outil" << true << true << true << QStringList{"/usr/bin/outil"} << false;
        QTest::newRow("second value, folder without the tool")
                << QString() << true << false << true << QStringList() << true;
        QTest::newRow("second value, folder with the tool")
                << QString() << true << true << true << QStringList{"@\\MSINFO32.EXE"} << false;
        QTest::newRow("second value, tool fails to start")
                << QString() << true << true << false << QStringList{"@\\MSINFO32.EXE"} << true;
        QTest::newRow("no value") << QString() << false << false << true << QStringList() << true;
    }

    void startSysInfoFindsTheTool()
    {
        QFETCH(QString, first);
        QFETCH(bool, second);
        QFETCH(bool, toolInFolder);
        QFETCH(bool, starts);
        QFETCH(QStringList, started);
        QFETCH(bool, message);

        QTemporaryDir dir;
        const QString folder = dir.filePath("outils");
        // The tool's name is joined with a backslash; on this system that makes it a file
        // named "outils\MSINFO32.EXE" beside the folder.
        if (toolInFolder) {
            QFile tool(folder + "\\MSINFO32.EXE");
            QVERIFY(tool.open(QIODevice::WriteOnly));
        }
        ScratchRegistry registry;
        if (!first.isNull())
            registry.setString(ToolKey, "PATH", first.toUtf8() + '\0');
        if (second)
            registry.setString(ToolLocationKey, "MSINFO", folder.toUtf8() + '\0');
        started.replaceInStrings("@", folder);

        MsgBoxRecorder boxes;
        ProgramStarts programs(starts);
        frmAbout dialog;
        dialog.StartSysInfo();

        QCOMPARE(programs.paths, started);
        QCOMPARE(prompts(boxes), message ? QStringList{Missing} : QStringList());
        if (message) {
            QCOMPARE(boxes.calls().first().style, 0);
            QCOMPARE(boxes.calls().first().title, "Quillbox");
        }
    }

    void anEmptyFirstValueEndsTheSearch()
    {
        QTemporaryDir dir;
        const QString folder = dir.filePath("outils");
        QFile tool(folder + "\\MSINFO32.EXE");
        QVERIFY(tool.open(QIODevice::WriteOnly));
        ScratchRegistry registry;
        registry.setString(ToolKey, "PATH", QByteArray());
        registry.setString(ToolLocationKey, "MSINFO", folder.toUtf8());

        MsgBoxRecorder boxes;
        ProgramStarts programs;
        frmAbout dialog;
        dialog.StartSysInfo();

        QCOMPARE(programs.paths, QStringList());
        QCOMPARE(prompts(boxes), QStringList{Missing});
        QCOMPARE(registry.table.openKeyCount(), 0);

        quint32 root = Registry::HKEY_LOCAL_MACHINE;
        QString keyVal;
        QVERIFY_THROWS_EXCEPTION(std::runtime_error, dialog.GetKeyValue(root, ToolKey, "PATH", keyVal));
    }

    void startProgramTakesThePathAsTheProgram()
    {
        QTemporaryDir dir;
        // A shell would run the second command and report a start.
        QVERIFY(!StartProgram(dir.filePath("absent; true")));

        const QString script = dir.filePath("outil info.sh");
        QFile file(script);
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("#!/bin/sh\ntouch \"$0.ran\"\n");
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QVERIFY(StartProgram(script));
        QTRY_VERIFY(QFile::exists(script + ".ran"));
    }

    void eachOpeningShowsCaptionTitleAndVersion()
    {
        for (int opening = 0; opening < 2; ++opening) {
            frmAbout dialog;
            QCOMPARE(dialog.windowTitle(), "A propos : Quillbox");
            QCOMPARE(dialog.findChild<QLabel *>("lblTitle")->text(), "Quillbox");
            QCOMPARE(dialog.findChild<QLabel *>("lblVersion")->text(), "Version 1.3.0");
        }
    }

    void enterAndEscapePressOk_data()
    {
        QTest::addColumn<int>("key");
        QTest::newRow("Return") << int(Qt::Key_Return);
        QTest::newRow("Enter") << int(Qt::Key_Enter);
        QTest::newRow("Escape") << int(Qt::Key_Escape);
    }

    void enterAndEscapePressOk()
    {
        QFETCH(int, key);

        frmAbout dialog;
        QTimer::singleShot(0, &dialog, [&dialog, key] {
            if (QTest::qWaitForWindowActive(&dialog))
                QTest::keyClick(keyTarget(dialog), Qt::Key(key));
        });
        // Keeps a dialog that ignores the key from hanging the test.
        QTimer::singleShot(5000, &dialog, [&dialog] { dialog.done(-1); });

        QCOMPARE(dialog.exec(), int(QDialog::Accepted));
    }

    void focusStartsOnOkAndTabFollowsTheButtons()
    {
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QCOMPARE(QApplication::focusWidget()->objectName(), "cmdOK");

        QStringList order;
        for (int press = 0; press < 3; ++press) {
            QTest::keyClick(keyTarget(dialog), Qt::Key_Tab);
            order.append(QApplication::focusWidget()->objectName());
        }
        QCOMPARE(order, (QStringList{"cmdSysInfo", "Command1", "cmdOK"}));
    }

    void detailsShowNineLinesSeparatedByCarriageReturns()
    {
        MsgBoxRecorder boxes;
        frmAbout dialog;
        dialog.findChild<QPushButton *>("Command1")->click();

        QCOMPARE(boxes.calls().size(), 1);
        const MsgBoxRecorder::Call details = boxes.calls().first();
        QCOMPARE(details.style, 64);
        QCOMPARE(details.title, "A propos");
        QVERIFY(!details.prompt.contains('\n'));
        const QStringList lines = details.prompt.split('\r');
        QCOMPARE(lines.size(), 9);
        QCOMPARE(lines.count(QString()), 3);
        QCOMPARE(lines.first(), "Quillbox : Version 1.3.0");
        QCOMPARE(lines.at(3), "E-Mail : contact@tavrel.example");
        QCOMPARE(lines.at(4), "Url : https://tavrel.example");
        QCOMPARE(lines.at(6), "Gestionnaire de Presse Papier");
        QCOMPARE(lines.last(), "Logiciel FREEWARE");
    }

    void linksOpenTheirTargets_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("target");
        QTest::newRow("donation") << "Image2" << "https://tavrel.example/Don/Don.htm";
        QTest::newRow("web site") << "Label3" << "https://tavrel.example";
        QTest::newRow("e-mail") << "lblDisclaimer" << "mailto:contact@tavrel.example";
    }

    void linksOpenTheirTargets()
    {
        QFETCH(QString, name);
        QFETCH(QString, target);

        ShellOpens shell;
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        auto *link = dialog.findChild<QLabel *>(name);
        QVERIFY(link);
        QCOMPARE(link->cursor().shape(), Qt::BitmapCursor);
        QCOMPARE(link->cursor().hotSpot(), QPoint(12, 1));

        QTest::mouseClick(link, Qt::LeftButton);
        QCOMPARE(shell.targets, QStringList{target});
        QVERIFY(dialog.isVisible());
    }

    void systemInfoButtonRunsTheLauncher()
    {
        ScratchRegistry registry;
        MsgBoxRecorder boxes;
        ProgramStarts programs;
        frmAbout dialog;
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        dialog.findChild<QPushButton *>("cmdSysInfo")->click();
        QCOMPARE(prompts(boxes), QStringList{Missing});
        QVERIFY(dialog.isVisible());
    }

    void aProposOpensTheDialogModally()
    {
        ScratchFolder folder;
        FakeTrayBackend tray;
        FrmQbox window;
        QString seen;
        QTimer::singleShot(0, &window, [&seen] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *dialog = qobject_cast<QDialog *>(widget);
                if (dialog && dialog->isVisible()) {
                    if (dialog == QApplication::activeModalWidget())
                        seen = dialog->objectName();
                    dialog->done(QDialog::Accepted);
                }
            }
        });
        window.findChild<QAction *>("Mnu_Apropos")->trigger();
        QCOMPARE(seen, "frmAbout");
    }
};

QTEST_MAIN(tst_frmAbout)
#include "tst_frmabout.moc"
