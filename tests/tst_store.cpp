#include "scratchfolder.h"
#include "programwarnings.h"
#include "store/codepage.h"
#include "store/slotstore.h"
#include "store/syncfolder.h"

#include <QFileInfo>
#include <QStringDecoder>
#include <QTest>

#include <atomic>
#include <future>
#include <thread>

#ifdef Q_OS_WIN
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

using Number = std::optional<qint16>;
using Title = std::optional<QString>;

class TestStore : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnProgramWarnings(); }
    void slotPaths()
    {
        const struct { const char *folder; int number; const char *path; } cases[] = {
            {"/", 5, "/Qbox5.QBX"}, {"/srv/q", 10, "/srv/q/Qbox10.QBX"}, {"/srv/q/", 10, "/srv/q/Qbox10.QBX"},
            {"C:/", 1, "C:/Qbox1.QBX"}, {"/srv/q", -32768, "/srv/q/Qbox-32768.QBX"}};  // one separator, at a root too
        for (const auto &c : cases) {  // as the system spells folders
            AppFolder = QDir::toNativeSeparators(c.folder);
            QCOMPARE(SlotFilePath(c.number), QDir::toNativeSeparators(c.path));
        }
    }

    void writing_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<WriteResult>("result");
        QTest::newRow("the worked example, 47 bytes")
            << "Salutation" << "Bonjour à tous,\r\nà demain."
            << QByteArray::fromHex("332c320d0a2253616c75746174696f6e220d0a426f6e6a6f757220e020746f75732c0d0a"
                                   "e02064656d61696e2e0d0a") << WriteResult::Ok;
        QTest::newRow("a final CR LF is an empty line")
            << "t" << "ab\r\ncd\r\n" << QByteArray("3,3\r\n\"t\"\r\nab\r\ncd\r\n\r\n") << WriteResult::Ok;
        QTest::newRow("lone CR and LF are no line ends")
            << "a\rb\nc" << "x\ny\rz" << QByteArray("3,1\r\n\"a\rb\nc\"\r\nx\ny\rz\r\n") << WriteResult::Ok;
        QTest::newRow("commas and blanks in the title")
            << "  a, b ,c" << " " << QByteArray("3,1\r\n\"  a, b ,c\"\r\n \r\n") << WriteResult::Ok;
        QByteArray all;  // every byte but CR and LF, as Qt's converter for the code page reads them
        for (int byte = 1; byte < 256; ++byte)
            all += byte == '\r' || byte == '\n' ? "" : QByteArray(1, char(byte));
#ifdef Q_OS_WIN
        QStringDecoder qtDecoder(QStringConverter::System);  // the system's ANSI code page
#else
        QStringDecoder qtDecoder("windows-1252");
#endif
        QTest::newRow("every byte, as Qt reads the code page") << "t" << QString(qtDecoder.decode(all))
            << "3,1\r\n\"t\"\r\n" + all + "\r\n" << WriteResult::Ok;
        QTest::newRow("L with stroke") << "t" << "Łódź" << QByteArray() << WriteResult::Unencodable;
        QTest::newRow("a double quote in the title") << "a\"b" << "x" << QByteArray() << WriteResult::InvalidTitle;
        QTest::newRow("a CR LF in the title") << "a\r\nb" << "x" << QByteArray() << WriteResult::InvalidTitle;
        QTest::newRow("32767 lines, the most a file reads back") << "t" << QString("x\r\n").repeated(32766) + "x"
            << "3,32767\r\n\"t\"\r\n" + QByteArray("x\r\n").repeated(32767) << WriteResult::Ok;
        QTest::newRow("32768 lines") << "t" << QString("\r\n").repeated(32767) << QByteArray() << WriteResult::TooManyLines;
    }
    void writing()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(WriteResult, result);
        const QByteArray old = slotBytes(3, "old", {"old"});
        ScratchFolder folder({{"Qbox3.QBX", old}});
        QCOMPARE(WriteSlot(3, title, text), result);
        QCOMPARE(folder.files(), FileMap({{"Qbox3.QBX", result == WriteResult::Ok ? bytes : old}}));
        if (result != WriteResult::Ok)
            return;
        const SlotRecord slot = ReadSlot(3);
        QCOMPARE(slot.number, Number(3));
        QCOMPARE(slot.title, Title(title));
        QCOMPARE(slot.text, text + "\r\n");
    }

    void reading_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<Number>("number");
        QTest::addColumn<Title>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("missing");
        const Number three(3);
        const Title t("T");
        QTest::newRow("empty file") << QByteArray() << Number() << Title() << "" << 0;
        for (const char *header : {"x,y", "4;2", "5,deux"})  // every line after the title, the number the caller's
            QTest::addRow("header %s reads every line", header) << QByteArray(header) + "\r\n\"T\"\r\nl\r\nm\r\n" << Number() << t << "l\r\nm\r\n" << 0;
        QTest::newRow("a byte order mark before the header") << QByteArray("\xEF\xBB\xBF" "3,1\r\n\"T\"\r\nl\r\n") << three << t << "l\r\n" << 0;
        for (const char *header : {"0,1", "51,1", "-3,1"})
            QTest::addRow("stored number %s", header) << QByteArray(header) + "\r\n\"T\"\r\nl\r\n" << Number() << t << "l\r\n" << 0;
        QTest::newRow("stored number 50") << QByteArray("50,1\r\n\"T\"\r\nl\r\n") << Number(50) << t << "l\r\n" << 0;
        QTest::newRow("blanks around the numbers") << QByteArray(" 3 , 1 \r\n\"T\"\r\na\r\n") << three << t << "a\r\n" << 0;
        QTest::newRow("missing title record") << QByteArray("3,1\r\n") << three << Title() << "" << 1;
        QTest::newRow("title without quotes") << QByteArray("3,1\r\nplain\r\nl\r\n") << three << Title() << "l\r\n" << 0;
        QTest::newRow("title cut at its second quote") << QByteArray("3,1\r\n\"a\"b\"\r\nl\r\n") << three << Title("a") << "l\r\n" << 0;
        QTest::newRow("title without its closing quote") << QByteArray("3,1\r\n\"ab\r\nl\r\n") << three << Title("ab") << "l\r\n" << 0;
        QTest::newRow("count 32767 reads its lines") << QByteArray("3,32767\r\n\"T\"\r\na\r\n") << three << t << "a\r\n" << 32766;
        for (const char *count : {"0", "-2", "32768", "40000"})
            QTest::addRow("count %s reads every line", count) << QByteArray("3,") + count + "\r\n\"T\"\r\nl\r\nm" << three << t << "l\r\nm\r\n" << 0;
        QTest::newRow("fewer lines than the count") << QByteArray("3,5\r\n\"T\"\r\na\r\n") << three << t << "a\r\n" << 4;
        QTest::newRow("more lines than the count") << QByteArray("3,1\r\n\"T\"\r\na\r\nb\r\n") << three << t << "a\r\nb\r\n" << 0;
        QTest::newRow("no CR LF after the last line") << QByteArray("3,2\r\n\"T\"\r\na\r\nb") << three << t << "a\r\nb\r\n" << 0;
        QTest::newRow("lone LF and CR stay inside their line")
            << QByteArray("3,2\r\n\"T\n\r\"\r\na\nb\r\r\nc\r\n") << three << Title("T\n\r") << "a\nb\r\r\nc\r\n" << 0;
        QTest::newRow("a file without any CR ends its lines with LF")
            << QByteArray("3,2\n\"T\"\na\nb") << three << t << "a\r\nb\r\n" << 0;
    }
    void reading()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(Number, number);
        QFETCH(Title, title);
        QFETCH(QString, text);
        QFETCH(int, missing);
        ScratchFolder folder({{"Qbox7.QBX", bytes}});
        const SlotRecord slot = ReadSlot(7);
        QVERIFY(slot.opened);
        QCOMPARE(slot.number, number);
        QCOMPARE(slot.title, title);
        QCOMPARE(slot.text, text);
        QCOMPARE(slot.missingLines, missing);
        const SlotRecord head = ReadSlotTitle(7);
        QCOMPARE(head.number, number);
        QCOMPARE(head.title, title);
        QCOMPARE(folder.files(), FileMap({{"Qbox7.QBX", bytes}}));
    }

    // The system's 8-bit code page, named by the test's environment (Windows-1252 outside
    // Windows): characters with a byte of their own, and one without.
    void codePages_data()
    {
        QTest::addColumn<int>("codePage");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        for (int page : {1252, 65001, 932})  // the last two not 8-bit: Windows-1252 stands in
            QTest::addRow("%d reads and writes 1252", page) << page << "€Œà\u0081" << QByteArray("\x80\x8c\xe0\x81");
        QTest::newRow("1252 has no ł") << 1252 << "ł" << QByteArray();
        QTest::newRow("1250") << 1250 << "€Śł" << QByteArray("\x80\x8c\xb3");
        QTest::newRow("1250 has no à") << 1250 << "à" << QByteArray();
    }
    void codePages()
    {
        QFETCH(int, codePage);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        const QByteArray systemPage = qgetenv("QUILLBOX_TEST_CODE_PAGE");
        if (codePage != (systemPage.isEmpty() ? 1252 : systemPage.toInt()))
            QSKIP("another code page");
#ifdef Q_OS_WIN
        QCOMPARE(::GetACP(), UINT(codePage));  // the system runs with the page the row is for
#endif
        QCOMPARE(CodePage::encode(text).value_or(QByteArray()), bytes);
        if (!bytes.isEmpty())
            QCOMPARE(CodePage::decode(bytes), text);
    }
    // The choice as Windows makes it, from the system's page and its longest character.
    void codePageChoice()
    {
        const struct { unsigned system, maxCharBytes, files; } cases[] = {{65001, 4, 1252}, {932, 2, 1252}, {1250, 1, 1250}, {1252, 1, 1252}};
        for (const auto &c : cases)
            QCOMPARE(CodePage::slotCodePage(c.system, c.maxCharBytes), c.files);
    }

    // A file at the size limit is read; one byte more and no reader takes its body, nor
    // its hash: two such files give the same mark.
    void sizeLimit()
    {
        const QByteArray head = "7,1\r\n\"Gros\"\r\n";
        const QByteArray atLimit = head + QByteArray(MaxSlotBytes - head.size() - 2, 'x') + "\r\n";
        const FileMap files{{"Qbox7.QBX", atLimit}, {"Qbox8.QBX", atLimit + 'y'}, {"Qbox9.QBX", atLimit + 'z'}};
        ScratchFolder folder(files);
        const SlotRecord read = ReadSlot(7);
        QVERIFY(read.opened && !read.tooLarge && read.text.size() == MaxSlotBytes - head.size());
        QCOMPARE(Store::slotFingerprint(7), read.fingerprint);
        const SlotRecord refused = ReadSlot(8);
        QVERIFY(!refused.opened && refused.tooLarge && !refused.title && refused.text.isEmpty());
        QCOMPARE(ReadSlotTitle(8).title, Title("Gros"));
        QVERIFY(!Store::slotFingerprint(8).isEmpty() && Store::slotFingerprint(8) != read.fingerprint);
        QCOMPARE(Store::slotFingerprint(8), Store::slotFingerprint(9));
        QCOMPARE(folder.files(), files);
    }

#ifdef Q_OS_WIN
    // What Explorer does not show, start-up does not list either.
    void hiddenAndSystemFilesCountAsAbsent()
    {
        for (const DWORD attribute : {DWORD(FILE_ATTRIBUTE_HIDDEN), DWORD(FILE_ATTRIBUTE_SYSTEM)}) {
            ScratchFolder folder({{"Qbox2.QBX", slotBytes(2, "t", {"x"})}});
            const QString path = QDir::toNativeSeparators(folder.filePath("Qbox2.QBX"));
            QVERIFY(FileExists(SlotFilePath(2)));
            QVERIFY(::SetFileAttributesW(reinterpret_cast<const wchar_t *>(path.utf16()), attribute));
            QVERIFY(!FileExists(SlotFilePath(2)));
            ::SetFileAttributesW(reinterpret_cast<const wchar_t *>(path.utf16()), FILE_ATTRIBUTE_NORMAL);
        }
    }
#endif


    // A name that anything occupies is no free slot, and a save replaces nothing but a
    // regular file: a link would be written through to its target, wherever that is.
    void onlyRegularFilesAreSlotFiles()
    {
#ifdef Q_OS_WIN
        QSKIP("fifos and links are made the POSIX way");
#else
        ScratchFolder outside({{"note.txt", "note"}});
        ScratchFolder folder;
        QVERIFY(QDir(folder.path()).mkdir("Qbox1.QBX") && mkfifo(qPrintable(folder.filePath("Qbox2.QBX")), 0600) == 0);
        QVERIFY(QFile::link(outside.filePath("note.txt"), folder.filePath("Qbox3.QBX")));
        QVERIFY(QFile::link(outside.filePath("missing"), folder.filePath("Qbox4.QBX")));
        QCOMPARE(FirstFreeSlot(), 5);
        // No reader waits on the pipe or follows the link; should one wait, a writer lets it go
        // and the pipe goes.
        auto reads = std::async(std::launch::async, [] {
            return QList<SlotRecord>{ReadSlot(2), ReadSlotTitle(2), ReadSlot(3), ReadSlotTitle(1)};
        });
        if (reads.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
            const int writer = ::open(qPrintable(folder.filePath("Qbox2.QBX")), O_WRONLY | O_NONBLOCK);
            folder.remove("Qbox2.QBX");
            ::close(writer);
            QFAIL("a reader waits on a pipe");
        }
        for (const SlotRecord &read : reads.get())
            QVERIFY(read.notRegular && !read.opened && !read.title);
        QVERIFY(Store::slotFingerprint(2) == Store::slotFingerprint(3) && !Store::slotFingerprint(3).isEmpty());
        QString reason;
        for (int n = 1; n <= 4; ++n)
            QVERIFY(WriteSlot(n, "t", "x", &reason) == WriteResult::Failed && reason.contains(QString::number(n)));
        QVERIFY(!QFileInfo(folder.filePath("Qbox2.QBX")).isFile() && DeleteSlot(3));
        QCOMPARE(outside.files(), FileMap({{"note.txt", "note"}}));
        QCOMPARE(QFileInfo(folder.filePath("Qbox4.QBX")).symLinkTarget(), outside.filePath("missing"));
        QVERIFY(Store::syncFolder(folder.path()) && !Store::syncFolder(folder.filePath("Qbox5")));
        // A save keeps the permissions of the file it replaces.
        struct stat status {};
        QVERIFY(WriteSlot(5, "t", "x") == WriteResult::Ok && ::chmod(qPrintable(SlotFilePath(5)), 0640) == 0);
        QVERIFY(WriteSlot(5, "t", "y") == WriteResult::Ok && ::stat(qPrintable(SlotFilePath(5)), &status) == 0);
        QCOMPARE(status.st_mode & 0777, 0640u);
#endif
    }

    // While another thread swaps the slot name between a file and a link to a file outside
    // the folder, saves replace the link or are refused, and never write through it.
    void aLinkSwappedInIsNeverWrittenThrough()
    {
#ifdef Q_OS_WIN
        QSKIP("links are made the POSIX way");
#else
        // In memory where the system has it: a save's syncs would cost most of the time.
        const QString memory = QDir("/dev/shm").exists() ? "/dev/shm" : QString();
        const ScratchFolder outside({{"note.txt", ""}}, memory), inside({}, memory);
        const QByteArray note = outside.filePath("note.txt").toUtf8();
        const QByteArray slot = SlotFilePath(1).toUtf8();
        std::atomic<bool> racing = true;
        std::thread swapper([&] {
            while (racing) {
                ::symlink(note.constData(), slot.constData());
                ::unlink(slot.constData());
            }
        });
        int saved = 0;
        for (int round = 0; round < 20000 && QFileInfo(note).size() == 0; ++round)
            saved += WriteSlot(1, "t", "x") == WriteResult::Ok;
        racing = false;
        swapper.join();
        QVERIFY(saved > 0);
        QCOMPARE(outside.files(), FileMap({{"note.txt", ""}}));
        QVERIFY(inside.files().size() <= 1);
#endif
    }
};

QTEST_GUILESS_MAIN(TestStore)
#include "tst_store.moc"
