#include "mainwin/frmqbox.h"
#include "mainwin/msflexgrid.h"
#include "module1.h"
#include "platform/msgbox.h"
#include "store/programfolder.h"
#include "store/slotstore.h"
#include "testsupport.h"

#include <QAbstractButton>
#include <QCoreApplication>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProcess>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QStorageInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using Snapshot = QMap<QString, QByteArray>;

namespace {

QString slotName(int n)
{
    return QStringLiteral("Qbox%1.QBX").arg(n);
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        qFatal("cannot write %s", qPrintable(path));
}

// Every entry under root with what it holds, to show that nothing in it changed.
Snapshot snapshot(const QString &root)
{
    Snapshot entries;
    QDirIterator it(root, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString path = it.next();
        const QFileInfo info = it.fileInfo();
        QByteArray content;
        if (info.isSymLink())
            content = "link to " + info.symLinkTarget().toUtf8();
        else if (info.isDir())
            content = "folder";
        else
            content = readBytes(path);
        entries.insert(QDir(root).relativeFilePath(path), content);
    }
    return entries;
}

QStringList fileNames(const QString &folder)
{
    return QDir(folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// A program folder with neighbours: a sibling folder and the parent hold files named
// like slot files, so that a path that strays out of the folder hits something visible.
class Sandbox
{
public:
    Sandbox()
    {
        QDir(m_root.path()).mkpath(QStringLiteral("app"));
        QDir(m_root.path()).mkpath(QStringLiteral("outside"));
        for (const QString &name : {slotName(1), slotName(0), slotName(-1), slotName(32767), QStringLiteral("note.txt")})
            writeBytes(outside(name), "outside " + name.toUtf8() + "\r\n");
        writeBytes(m_root.filePath(slotName(5)), "5,1\r\n\"Parent\"\r\nparent\r\n");
        AppFolder = app();
    }

    QString root() const { return m_root.path(); }
    QString app(const QString &name = QString()) const
    {
        return QDir::cleanPath(m_root.filePath(QStringLiteral("app/") + name));
    }
    QString outside(const QString &name = QString()) const
    {
        return QDir::cleanPath(m_root.filePath(QStringLiteral("outside/") + name));
    }

    // Everything but the program folder's contents.
    Snapshot neighbours() const
    {
        Snapshot entries;
        const Snapshot all = snapshot(m_root.path());
        for (auto it = all.cbegin(); it != all.cend(); ++it) {
            if (!it.key().startsWith(QStringLiteral("app/")))
                entries.insert(it.key(), it.value());
        }
        return entries;
    }

private:
    QTemporaryDir m_root;
};

// A file system of its own, so that filling it up harms nothing else. Mounting needs root.
class SmallDisk
{
public:
    SmallDisk(const QString &folder, int kib) : m_folder(folder)
    {
        const QStringList arguments{QStringLiteral("-t"), QStringLiteral("tmpfs"),
                                    QStringLiteral("-o"), QStringLiteral("size=%1k").arg(kib),
                                    QStringLiteral("tmpfs"), folder};
        m_mounted = QProcess::execute(QStringLiteral("mount"), arguments) == 0;
    }
    ~SmallDisk()
    {
        if (m_mounted)
            QProcess::execute(QStringLiteral("umount"), {m_folder});
    }

    bool isMounted() const { return m_mounted; }

    // Writes a filler file until the disk takes no more.
    bool fill() const
    {
        QFile filler(m_folder + QStringLiteral("/filler"));
        if (!filler.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
            return false;
        const QByteArray block(4096, 'x');
        while (filler.write(block) == block.size()) {
        }
        while (filler.write("x", 1) == 1) {
        }
        return QStorageInfo(m_folder).bytesAvailable() == 0;
    }

private:
    QString m_folder;
    bool m_mounted = false;
};

// A folder in which no entry can be added or removed. Permissions alone do not stop
// root, so the immutable attribute is set as well where it is available.
class ReadOnlyFolder
{
public:
    explicit ReadOnlyFolder(const QString &folder) : m_folder(folder)
    {
        QFile::setPermissions(folder, QFile::ReadOwner | QFile::ExeOwner | QFile::ReadGroup
                                          | QFile::ExeGroup | QFile::ReadOther | QFile::ExeOther);
        m_immutable = QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("+i"), folder}) == 0;
        QFile probe(folder + QStringLiteral("/probe"));
        m_readOnly = !probe.open(QIODevice::WriteOnly);
        if (!m_readOnly)
            probe.remove();
    }
    ~ReadOnlyFolder()
    {
        if (m_immutable)
            QProcess::execute(QStringLiteral("chattr"), {QStringLiteral("-i"), m_folder});
        QFile::setPermissions(m_folder, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }

    bool isReadOnly() const { return m_readOnly; }
    bool isImmutable() const { return m_immutable; }

private:
    QString m_folder;
    bool m_immutable = false;
    bool m_readOnly = false;
};

// Bytes that look like a slot file often enough to reach every reading step: a header
// that may be out of range or no header at all, a title that may lack its quotes, body
// lines short of their count or with lone CR and LF, or plain noise.
QByteArray randomSlotBytes(QRandomGenerator &random)
{
    static const QByteArray alphabet("0123456789,,\"\"  \r\n\r\n\r\nabc-+\xe9\x80\x81\x9c\xff\t");
    const auto noise = [&](int maxLength) {
        QByteArray bytes(random.bounded(maxLength + 1), Qt::Uninitialized);
        for (char &byte : bytes)
            byte = random.bounded(4) == 0 ? char(random.bounded(256)) : alphabet.at(random.bounded(alphabet.size()));
        return bytes;
    };
    if (random.bounded(4) == 0)
        return noise(2000);

    static const int counts[] = {-1, 0, 1, 2, 3, 5, 9, 32767, 32768, 40000};
    QByteArray bytes = random.bounded(6) == 0
        ? noise(12)
        : QByteArray::number(random.bounded(-5, 60)) + ',' + QByteArray::number(counts[random.bounded(10)]);
    bytes += "\r\n";
    bytes += random.bounded(5) == 0 ? noise(20) : '"' + noise(20).replace('"', '\'') + "\"";
    bytes += "\r\n";
    for (int line = random.bounded(12); line > 0; --line)
        bytes += noise(40) + "\r\n";
    if (random.bounded(3) == 0)
        bytes.truncate(random.bounded(bytes.size() + 1));
    return bytes;
}

MSFlexGrid *gridOf(const FrmQbox &window)
{
    return window.findChild<MSFlexGrid *>(QStringLiteral("MSFlexGrid1"));
}

// What a click on a grid row does, without needing the window on screen.
void selectRow(FrmQbox &window, int row)
{
    MSFlexGrid *grid = gridOf(window);
    grid->setRow(row);
    grid->setCol(1);
    window.MSFlexGrid1_Click();
}

// Opens the selected message, replaces its title and text and presses "&Valider".
void modifyAndSave(FrmQbox &window, const QString &title, const QString &text)
{
    window.Command3_Click();
    window.findChild<QLineEdit *>(QStringLiteral("Text2"))->setText(title);
    window.findChild<QPlainTextEdit *>(QStringLiteral("Text1"))->setPlainText(text);
    window.Command6_Click();
}

const QString LongText = QStringLiteral("Une ligne de texte assez longue pour remplir un disque.\r\n").repeated(200);

} // namespace

class TestFaults : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { NumMes = 0; }

    void aFullDiskKeepsTheOldMessage()
    {
        ScratchFolder folder;
        SmallDisk disk(folder.path(), 256);
        if (!disk.isMounted())
            QSKIP("mounting a small tmpfs was refused (the full-disk test needs root)");
        AppFolder = folder.path();
        QCOMPARE(WriteSlot(1, QStringLiteral("Ancien"), QStringLiteral("texte")), WriteResult::Ok);
        const QByteArray old = folder.read(slotName(1));
        QVERIFY(disk.fill());

        QCOMPARE(WriteSlot(1, QStringLiteral("Ancien modifié"), LongText),
                 WriteResult::Failed);
        QCOMPARE(folder.read(slotName(1)), old);
        QCOMPARE(folder.entries(), QStringList({slotName(1), QStringLiteral("filler")}));
    }

    void anInterruptedSaveLeavesOneWholeVersion()
    {
        const QString saver = QCoreApplication::applicationDirPath() + QStringLiteral("/saveloop");
        QVERIFY2(QFileInfo(saver).isExecutable(), qPrintable(saver));
        ScratchFolder folder;
        AppFolder = folder.path();

        // Two versions of different sizes, so that a mix or a cut shows in the bytes.
        QList<QByteArray> linesA{"Version A", "courte"};
        QList<QByteArray> linesB;
        for (int i = 0; i < 1500; ++i)
            linesB.append("Version B, ligne " + QByteArray::number(i));
        const QByteArray bytesA = slotBytes(1, "Titre A", linesA);
        const QByteArray bytesB = slotBytes(1, "Titre B", linesB);
        const QString textA = QString::fromLatin1(linesA.join("\r\n"));
        const QString textB = QString::fromLatin1(linesB.join("\r\n"));
        QCOMPARE(WriteSlot(1, QStringLiteral("Titre A"), textA), WriteResult::Ok);
        QCOMPARE(folder.read(slotName(1)), bytesA);

        const QStringList arguments{folder.path(), QStringLiteral("Titre A"), textA, QStringLiteral("Titre B"), textB};
        QRandomGenerator random(20261206);
        int sawA = 0;
        int sawB = 0;
        QElapsedTimer clock;
        clock.start();
        for (int kill = 1; kill <= 200; ++kill) {
            QProcess child;
            child.start(saver, arguments);
            QVERIFY(child.waitForReadyRead(10000));
            QThread::usleep(random.bounded(20000));
            child.kill();
            QVERIFY(child.waitForFinished(10000));
            QCOMPARE(child.exitStatus(), QProcess::CrashExit);

            const QByteArray now = folder.read(slotName(1));
            if (now == bytesA)
                ++sawA;
            else if (now == bytesB)
                ++sawB;
            else
                QFAIL(qPrintable(QStringLiteral("after kill %1 the slot file holds %2 bytes, neither version")
                                     .arg(kill).arg(now.size())));
        }
        QStringList leftovers = folder.entries();
        leftovers.removeOne(slotName(1));
        qInfo("200 kills in %lld ms: version A %d times, version B %d times, %lld temporary files left (%s)",
              clock.elapsed(), sawA, sawB, leftovers.size(), qPrintable(leftovers.join(QStringLiteral(", "))));
        QVERIFY(sawA > 0 && sawB > 0);

        // A leftover never reads as a slot: only QboxN.QBX names count.
        const QRegularExpression temporaryName(QStringLiteral("^Qbox1\\.QBX\\..+$"));
        for (const QString &name : std::as_const(leftovers))
            QVERIFY2(temporaryName.match(name).hasMatch(), qPrintable(name));
        QCOMPARE(FirstFreeSlot(), 2);
        FakeTrayBackend tray;
        FrmQbox window;
        for (int row = 1; row <= MaxSlots; ++row) {
            const QString title = gridOf(window)->textMatrix(row, 1);
            QVERIFY2(row == 1 ? title.startsWith(QStringLiteral("Titre ")) : title.isEmpty(), qPrintable(title));
        }
    }

    void startupOverRandomFiles_data()
    {
        QTest::addColumn<quint32>("seed");
        for (quint32 seed : {1u, 7u, 42u, 1999u, 65537u})
            QTest::addRow("seed %u", seed) << seed;
    }

    void startupOverRandomFiles()
    {
        QFETCH(quint32, seed);
        QRandomGenerator random(seed);
        ScratchFolder folder;
        AppFolder = folder.path();
        Snapshot files;
        for (int n = 1; n <= MaxSlots; ++n) {
            files.insert(slotName(n), randomSlotBytes(random));
            folder.write(slotName(n), files.value(slotName(n)));
        }

        QSet<int> titledRows;
        for (int n = 1; n <= MaxSlots; ++n) {
            const SlotRecord head = ReadSlotTitle(n);
            const SlotRecord whole = ReadSlot(n);
            QVERIFY(head.opened && whole.opened);
            QCOMPARE(head.number, whole.number);
            QCOMPARE(head.title, whole.title);
            titledRows.insert(head.number.value_or(n));
        }

        FakeTrayBackend tray;
        FrmQbox window;
        for (int row = 1; row <= MaxSlots; ++row) {
            const QString title = gridOf(window)->textMatrix(row, 1);
            QCOMPARE(!title.isEmpty(), titledRows.contains(row));
            if (title.isEmpty())
                continue;
            selectRow(window, row);
            QVERIFY(NumMes >= 1 && NumMes <= MaxSlots);
            QVERIFY(!window.findChild<QGroupBox *>(QStringLiteral("Frame3"))->isHidden());
            QCOMPARE(window.findChild<QLabel *>(QStringLiteral("Label3"))->text(), title);
            QVERIFY(window.findChild<QAbstractButton *>(QStringLiteral("Command4"))->isEnabled());
        }
        QCOMPARE(snapshot(folder.path()), files);
    }

    void deletingInAReadOnlyFolderKeepsTheFile()
    {
        ScratchFolder folder;
        AppFolder = folder.path();
        const QByteArray bytes = slotBytes(7, "Sept", {"sept"});
        folder.write(slotName(7), bytes);
        ReadOnlyFolder lock(folder.path());
        if (!lock.isReadOnly())
            QSKIP("the folder cannot be made read-only here (root without chattr +i)");
        qInfo("folder made read-only with %s", lock.isImmutable() ? "chattr +i" : "chmod 0555");

        QVERIFY(!DeleteSlot(7));
        QCOMPARE(folder.read(slotName(7)), bytes);

        // The window skips the failing removal: the row is emptied, the file stays and
        // the message is listed again at the next start.
        FakeTrayBackend tray;
        MsgBoxRecorder boxes;
        boxes.answer(MsgBoxResult::Yes);
        {
            FrmQbox window;
            selectRow(window, 7);
            window.Command4_Click();
            QCOMPARE(boxes.calls().size(), 1);
            QCOMPARE(NumMes, qint16(0));
            QCOMPARE(gridOf(window)->textMatrix(7, 1), QString());
            QVERIFY(window.findChild<QGroupBox *>(QStringLiteral("Frame3"))->isHidden());
        }
        QCOMPARE(snapshot(folder.path()), Snapshot({{slotName(7), bytes}}));
        FrmQbox again;
        QCOMPARE(gridOf(again)->textMatrix(7, 1), QStringLiteral("Sept"));
    }

    void slotPathsStayInTheFolder_data()
    {
        QTest::addColumn<int>("n");
        for (int n : {0, 51, -1, 32767, -32768, 1, 50})
            QTest::addRow("%d", n) << n;
    }

    void slotPathsStayInTheFolder()
    {
        QFETCH(int, n);
        Sandbox sandbox;
        const Snapshot neighbours = sandbox.neighbours();
        const QString path = SlotFilePath(n);
        QCOMPARE(QFileInfo(path).absolutePath(), sandbox.app());
        QVERIFY(QRegularExpression(QStringLiteral("^Qbox-?\\d+\\.QBX$")).match(QFileInfo(path).fileName()).hasMatch());

        QVERIFY(!FileExists(path));
        QVERIFY(!ReadSlot(n).opened);
        QCOMPARE(WriteSlot(n, QStringLiteral("Titre"), QStringLiteral("texte")), WriteResult::Ok);
        QCOMPARE(fileNames(sandbox.app()), QStringList({QFileInfo(path).fileName()}));
        const SlotRecord read = ReadSlot(n);
        QCOMPARE(read.title, QStringLiteral("Titre"));
        QCOMPARE(read.number.has_value(), n >= 1 && n <= MaxSlots);
        QVERIFY(DeleteSlot(n));
        QCOMPARE(fileNames(sandbox.app()), QStringList());
        QCOMPARE(sandbox.neighbours(), neighbours);
    }

    // Whatever number a header stores, the window keeps working on the file's own slot.
    void aHeaderNumberNeverLeadsOutside_data()
    {
        QTest::addColumn<QByteArray>("header");
        QTest::newRow("0") << QByteArray("0,1");
        QTest::newRow("51") << QByteArray("51,1");
        QTest::newRow("-1") << QByteArray("-1,1");
        QTest::newRow("32767") << QByteArray("32767,1");
        QTest::newRow("beyond 16 bits") << QByteArray("99999999999,1");
        QTest::newRow("a path") << QByteArray("../outside/Qbox1,1");
    }

    void aHeaderNumberNeverLeadsOutside()
    {
        QFETCH(QByteArray, header);
        Sandbox sandbox;
        const Snapshot neighbours = sandbox.neighbours();
        writeBytes(sandbox.app(slotName(5)), header + "\r\n\"Cinq\"\r\ncinq\r\n");
        SetProgramFolderForTests(sandbox.app());
        FakeTrayBackend tray;
        MsgBoxRecorder boxes;
        boxes.answer(MsgBoxResult::Yes);
        {
            FrmQbox window;
            QCOMPARE(gridOf(window)->textMatrix(5, 1), QStringLiteral("Cinq"));
            selectRow(window, 5);
            QCOMPARE(NumMes, qint16(5));
            modifyAndSave(window, QStringLiteral("Cinq modifié"), QStringLiteral("neuf"));
            QCOMPARE(fileNames(sandbox.app()), QStringList({slotName(5)}));
            QCOMPARE(readBytes(sandbox.app(slotName(5))), slotBytes(5, "Cinq modifi\xe9", {"neuf"}));
            selectRow(window, 5);
            window.Command4_Click();
        }
        SetProgramFolderForTests(QString());
        QCOMPARE(fileNames(sandbox.app()), QStringList());
        QCOMPARE(sandbox.neighbours(), neighbours);
        QCOMPARE(boxes.calls().size(), 1);
    }

    // The save would write through a link to its target, wherever that is.
    void savingOverALinkedSlotFileIsRefused_data()
    {
        QTest::addColumn<QString>("target");
        QTest::newRow("link to a file outside") << QStringLiteral("note.txt");
        QTest::newRow("dangling link") << QStringLiteral("missing.txt");
    }

    void savingOverALinkedSlotFileIsRefused()
    {
        QFETCH(QString, target);
        Sandbox sandbox;
        QVERIFY(QFile::link(sandbox.outside(target), sandbox.app(slotName(3))));
        const Snapshot before = snapshot(sandbox.root());
        QCOMPARE(WriteSlot(3, QStringLiteral("Titre"), QStringLiteral("texte")), WriteResult::Failed);
        QCOMPARE(snapshot(sandbox.root()), before);
    }

    void deletingALinkedSlotFileRemovesOnlyTheLink()
    {
        Sandbox sandbox;
        QVERIFY(QFile::link(sandbox.outside(QStringLiteral("note.txt")), sandbox.app(slotName(3))));
        const Snapshot neighbours = sandbox.neighbours();
        QVERIFY(DeleteSlot(3));
        QCOMPARE(fileNames(sandbox.app()), QStringList());
        QCOMPARE(sandbox.neighbours(), neighbours);
    }
};

QTEST_MAIN(TestFaults)
#include "tst_faults.moc"
