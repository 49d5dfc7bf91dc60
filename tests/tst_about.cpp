#include "about/frmabout.h"
#include "about/sysinfo.h"
#include "platform/systemplatform.h"
#include "testsupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QScopeGuard>
#include <QTest>
#include <QTimer>

namespace {

const QString ToolKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString ToolLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");

} // namespace

class TestAbout : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnProgramWarnings(); FakePlatform::instance() = FakePlatform(); }  // nothing stored or started
    void getKeyValue_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<uint>("type");
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QString>("before");
        QTest::addColumn<QString>("after");  // empty when the value is not read
        const QByteArray path("C:\\Outils\\infos.exe");
        QTest::newRow("a string loses its NUL") << "PATH" << 1u << path + '\0' << "" << QString(path);
        QTest::newRow("a string without NUL is used in full") << "PATH" << 1u << path << "" << QString(path);
        QTest::newRow("8-bit text") << "PATH" << 1u << QByteArray("Syst\xe8me\0", 8) << "" << "Système";
        QTest::newRow("1024 bytes are read") << "PATH" << 1u << QByteArray(1024, 'x') << "" << QString(1024, 'x');
        QTest::newRow("1025 bytes are missing") << "PATH" << 1u << QByteArray(1025, 'x') << "avant" << "";
        QTest::newRow("dword, all four bytes") << "PATH" << 4u << QByteArray("\x2c\x01\x00\x07", 4) << "" << "117440812";
        QTest::newRow("dword after what the text held") << "PATH" << 4u << QByteArray("\x05\x01\x00\x00", 4) << "1" << "16777477";
        QTest::newRow("another type leaves the text") << "PATH" << 3u << QByteArray("\x01\x02", 2) << "inchangé" << "inchangé";
        QTest::newRow("missing value") << "AUTRE" << 1u << path << "avant" << "";
        QTest::newRow("missing key") << "" << 1u << path << "avant" << "";
    }
    void getKeyValue()
    {
        QFETCH(QString, value);
        QFETCH(uint, type);
        QFETCH(QByteArray, data);
        QFETCH(QString, before);
        QFETCH(QString, after);
        FakePlatform &platform = FakePlatform::instance();
        if (!value.isEmpty())
            platform.registry.setValue(Registry::HKEY_LOCAL_MACHINE, ToolKey, value, type, data);
        quint32 root = Registry::HKEY_LOCAL_MACHINE;
        QString keyVal = before;
        QCOMPARE(GetKeyValue(root, ToolKey, "PATH", keyVal), std::optional<bool>(!after.isEmpty()));
        QCOMPARE(keyVal, after);
        QCOMPARE(Registry::LastAccessMask(), 0x2003Fu);
        QCOMPARE(platform.registry.openKeyCount(), 0);
    }

    // What `reg add` put in the machine's registry (under Wine), read through the system's
    // own calls; elsewhere there is no such registry.
    void theSystemsRegistry_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("text");  // empty when there is no such value
        QTest::newRow("a string") << "PATH" << "C:\\Outils\\infos système.exe";
        QTest::newRow("a dword") << "Nombre" << "261";
        QTest::newRow("no such value") << "Absent" << "";
    }
    void theSystemsRegistry()
    {
        QFETCH(QString, value);
        QFETCH(QString, text);
        if (!qEnvironmentVariableIsSet("QUILLBOX_TEST_SYSTEM_REGISTRY"))
            QSKIP("the values are set by reg add under Wine");
        SystemPlatform system;
        Platform::install(&system);
        const auto restore = qScopeGuard([] { Platform::install(&FakePlatform::instance()); });
        quint32 root = Registry::HKEY_LOCAL_MACHINE;
        QString keyVal;
        QCOMPARE(GetKeyValue(root, ToolKey, value, keyVal), std::optional<bool>(!text.isEmpty()));
        QCOMPARE(keyVal, text);
    }

    void startSysInfo_data()
    {
        QTest::addColumn<QByteArray>("first");
        QTest::addColumn<int>("second");  // 0: no second value, 1: its folder lacks the tool, 2: holds it
        QTest::addColumn<bool>("starts");
        QTest::addColumn<QStringList>("started");
        const QByteArray absent("/nulle part/outil; rm -rf ~");
        QTest::newRow("the first value is started unchanged, second not tried")
            << absent << 2 << false << QStringList{absent};
        QTest::newRow("the first value started") << QByteArray("/usr/bin/outil\0", 15) << 2 << true
                                                 << QStringList{"/usr/bin/outil"};
        QTest::newRow("a first value of size 0 ends the search") << QByteArray("") << 2 << true << QStringList();
        QTest::newRow("second value, folder without the tool") << QByteArray() << 1 << true << QStringList();
        QTest::newRow("second value, tool in the folder") << QByteArray() << 2 << true << QStringList{"⌂\\MSINFO32.EXE"};
        QTest::newRow("second value, the tool fails to start") << QByteArray() << 2 << false << QStringList{"⌂\\MSINFO32.EXE"};
        QTest::newRow("no value") << QByteArray() << 0 << true << QStringList();
    }
    void startSysInfo()
    {
        QFETCH(QByteArray, first);
        QFETCH(int, second);
        QFETCH(bool, starts);
        QFETCH(QStringList, started);
        ScratchFolder dir;
        // The tool's name is joined with a backslash: here a file beside the folder.
        const QString folder = dir.filePath("outils");
        QDir(dir.path()).mkdir("outils");  // on Windows, where the backslash leads
        if (second == 2)
            dir.write("outils\\MSINFO32.EXE", "");
        FakePlatform &platform = FakePlatform::instance();
        platform.programsStart = starts;
        if (!first.isNull())
            platform.registry.setValue(Registry::HKEY_LOCAL_MACHINE, ToolKey, "PATH", 1, first);
        if (second)
            platform.registry.setValue(Registry::HKEY_LOCAL_MACHINE, ToolLocationKey, "MSINFO", 1, folder.toUtf8() + '\0');
        StartSysInfo();
        QCOMPARE(platform.startedPrograms, started.replaceInStrings("⌂", folder));
        const bool found = !started.isEmpty() && starts;
        QCOMPARE(platform.shownBoxes, found ? QStringList() : QStringList{"Information Systeme introuvable !|0|Quillbox"});
        QCOMPARE(platform.registry.openKeyCount(), 0);
    }

    void startProgramTakesThePathAsTheProgram()
    {
        ScratchFolder dir;
        // A shell would run the second command and report a start.
        SystemPlatform system;
        QVERIFY(!system.startProgram(dir.filePath("absent; true")));
#ifdef Q_OS_WIN
        QSKIP("no shell script runs on Windows");
#endif
        dir.write("outil info.sh", "#!/bin/sh\ntouch \"$0.ran\"\n");
        QFile::setPermissions(dir.filePath("outil info.sh"), QFile::ReadOwner | QFile::ExeOwner);
        QVERIFY(system.startProgram(dir.filePath("outil info.sh")));
        QTRY_VERIFY(QFile::exists(dir.filePath("outil info.sh.ran")));
    }

    // "A propos" opens a fresh dialog each time, modal, centred on the window, its version line filled
    // at load; "Détails..." shows nine lines apart by CR alone; Enter and Escape close it.
    void theMenuOpensItOverTheWindow()
    {
        Session s;
        s.window().move(5, 5);  // off the screen's centre, where a dialog without owner goes
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Escape}) {
            QStringList seen;
            QTimer::singleShot(0, &s.window(), [&] {
                auto *dialog = qobject_cast<frmAbout *>(QApplication::activeModalWidget());
                if (!dialog || !QTest::qWaitForWindowActive(dialog))
                    return;
                const QPoint offset = dialog->geometry().center() - s.window().geometry().center();
                seen << dialog->windowTitle() << dialog->findChild<QLabel *>("lblVersion")->text() << QString::number(offset.manhattanLength() <= 2)
                     << QString::number(dialog->findChild<QWidget *>("Line1(0)") && dialog->findChild<QWidget *>("Line1(1)"));
                dialog->findChild<QPushButton *>("Command1")->click();
                QObject::connect(dialog, &QDialog::finished, [&seen](int result) { seen << QString::number(result); });
                QTest::keyClick(dialog->focusWidget(), key);
                QTimer::singleShot(2000, dialog, [dialog] { dialog->done(-1); });  // the key did nothing
            });
            s.find<QAction>("Mnu_Apropos")->trigger();
            const QString version = "Version " QUILLBOX_TEST_VERSION;
            QCOMPARE(seen, QStringList({"A propos : Quillbox", version, "1", "1", "1"}));
            QCOMPARE(s.fake.shownBoxes.takeLast(), "Quillbox : " + version + "\\r\\rConçu par l'équipe Tavrel\\rE-Mail : contact@tavrel.example"
                     "\\rUrl : https://tavrel.example\\r\\rGestionnaire de Presse Papier\\r\\rLogiciel FREEWARE|64|A propos");
        }
    }
};

QTEST_MAIN(TestAbout)
#include "tst_about.moc"
