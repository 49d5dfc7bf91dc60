#include "module1.h"
#include "store/slotstore.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>


class TestSlotStore : public QObject
{
    Q_OBJECT

private:
    QByteArray fileBytes(int n) const
    {
        QFile file(SlotFilePath(n));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    void writeBytes(int n, const QByteArray &bytes) const
    {
        QFile file(SlotFilePath(n));
        QVERIFY(file.open(QIODevice::WriteOnly));
        QCOMPARE(file.write(bytes), bytes.size());
    }

    QTemporaryDir *m_dir = nullptr;

private Q_SLOTS:
    void init()
    {
        m_dir = new QTemporaryDir;
        AppFolder = m_dir->path();
    }
    void cleanup()
    {
        delete m_dir;
        m_dir = nullptr;
    }

    void slotPaths_data()
    {
        QTest::addColumn<QString>("folder");
        QTest::addColumn<int>("number");
        QTest::addColumn<QString>("path");
        QTest::newRow("root folder gets no second separator") << "/" << 5 << "/Qbox5.QBX";
        QTest::newRow("plain folder gets one separator") << "/srv/q" << 5 << "/srv/q/Qbox5.QBX";
        QTest::newRow("trailing separator is kept single") << "/srv/q/" << 10 << "/srv/q/Qbox10.QBX";
        QTest::newRow("two digits, no blank, no leading zero") << "/srv/q" << 10 << "/srv/q/Qbox10.QBX";
    }
    void slotPaths()
    {
        QFETCH(QString, folder);
        QFETCH(int, number);
        QFETCH(QString, path);
        AppFolder = folder;
        QCOMPARE(SlotFilePath(number), path);
    }

    void workedExampleIsWrittenAndReadByteForByte()
    {
        const QByteArray expected = QByteArray::fromHex(
            "332c320d0a"
            "2253616c75746174696f6e220d0a"
            "426f6e6a6f757220e020746f75732c0d0a"
            "e02064656d61696e2e0d0a");
        QCOMPARE(expected.size(), 47);

        QCOMPARE(WriteSlot(3, QStringLiteral("Salutation"), QStringLiteral("Bonjour à tous,\r\nà demain.")),
                 WriteResult::Ok);
        QCOMPARE(fileBytes(3), expected);

        const SlotRecord slot = ReadSlot(3);
        QVERIFY(slot.opened);
        QCOMPARE(slot.number, std::optional<qint16>(3));
        QCOMPARE(slot.title, std::optional<QString>(QStringLiteral("Salutation")));
        QCOMPARE(slot.text, QStringLiteral("Bonjour à tous,\r\nà demain.\r\n"));

        const SlotRecord head = ReadSlotTitle(3);
        QCOMPARE(head.number, slot.number);
        QCOMPARE(head.title, slot.title);
        QVERIFY(head.text.isEmpty());
    }

    void roundTrips_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QString>("readText");
        QTest::newRow("one line")
            << "t" << "abc" << QByteArray("1,1\r\n\"t\"\r\nabc\r\n") << "abc\r\n";
        QTest::newRow("text ending in CR LF gains an empty line")
            << "t" << "ab\r\ncd\r\n" << QByteArray("1,3\r\n\"t\"\r\nab\r\ncd\r\n\r\n") << "ab\r\ncd\r\n\r\n";
        QTest::newRow("title with commas and leading blanks")
            << "  a, b ,c" << "x" << QByteArray("1,1\r\n\"  a, b ,c\"\r\nx\r\n") << "x\r\n";
        QTest::newRow("euro and oe ligature are bytes 80 and 9C")
            << "€" << "œ" << QByteArray("1,1\r\n\"\x80\"\r\n\x9c\r\n") << "œ\r\n";
        QTest::newRow("a body of one blank")
            << "   " << " " << QByteArray("1,1\r\n\"   \"\r\n \r\n") << " \r\n";
    }
    void roundTrips()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        QFETCH(QString, readText);
        QCOMPARE(WriteSlot(1, title, text), WriteResult::Ok);
        QCOMPARE(fileBytes(1), bytes);
        const SlotRecord slot = ReadSlot(1);
        QCOMPARE(slot.title, std::optional<QString>(title));
        QCOMPARE(slot.text, readText);
        QCOMPARE(slot.missingLines, 0);
    }

    void firstFreeSlot_data()
    {
        QTest::addColumn<QList<int>>("present");
        QTest::addColumn<int>("expected");
        QTest::newRow("empty folder") << QList<int>{} << 1;
        QTest::newRow("1, 2 and 4") << QList<int>{1, 2, 4} << 3;
        QList<int> all;
        for (int n = 1; n <= 50; ++n)
            all << n;
        QTest::newRow("1 to 50") << all << 51;
        QTest::newRow("1 to 51") << (QList<int>(all) << 51) << 52;
    }
    void firstFreeSlot()
    {
        QFETCH(QList<int>, present);
        QFETCH(int, expected);
        for (int n : present)
            writeBytes(n, "x");
        QCOMPARE(FirstFreeSlot(), expected);
    }

    void aFolderNamedLikeASlotFileIsAbsent()
    {
        QVERIFY(QDir(AppFolder).mkdir(QStringLiteral("Qbox1.QBX")));
        QVERIFY(!FileExists(SlotFilePath(1)));
        QCOMPARE(FirstFreeSlot(), 1);
    }

    void malformedFiles_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<std::optional<qint16>>("number");
        QTest::addColumn<std::optional<QString>>("title");
        QTest::addColumn<QString>("text");
        const std::optional<qint16> noNumber;
        const std::optional<QString> noTitle;
        QTest::newRow("empty file") << QByteArray() << noNumber << noTitle << QString();
        QTest::newRow("header not two numbers")
            << QByteArray("x,y\r\n\"Six\"\r\nbody\r\n") << noNumber << std::optional<QString>("Six") << QString();
        QTest::newRow("header with one number")
            << QByteArray("3\r\n\"T\"\r\n") << noNumber << std::optional<QString>("T") << QString();
        QTest::newRow("stored number 0")
            << QByteArray("0,1\r\n\"T\"\r\nl\r\n") << noNumber << std::optional<QString>("T") << "l\r\n";
        QTest::newRow("stored number 51")
            << QByteArray("51,1\r\n\"T\"\r\nl\r\n") << noNumber << std::optional<QString>("T") << "l\r\n";
        QTest::newRow("stored number negative")
            << QByteArray("-3,1\r\n\"T\"\r\nl\r\n") << noNumber << std::optional<QString>("T") << "l\r\n";
        QTest::newRow("stored number beyond 32 bits")
            << QByteArray("99999999999,1\r\n\"T\"\r\n") << noNumber << std::optional<QString>("T") << QString();
        QTest::newRow("missing title record")
            << QByteArray("3,1\r\n") << std::optional<qint16>(3) << noTitle << QString();
        QTest::newRow("title without quotes")
            << QByteArray("3,1\r\nplain\r\nl\r\n") << std::optional<qint16>(3) << noTitle << "l\r\n";
        QTest::newRow("count above 16 bits reads no line")
            << QByteArray("3,40000\r\n\"T\"\r\nl\r\n") << std::optional<qint16>(3)
            << std::optional<QString>("T") << QString();
        QTest::newRow("count 0 reads no line")
            << QByteArray("3,0\r\n\"T\"\r\nl\r\n") << std::optional<qint16>(3) << std::optional<QString>("T") << QString();
        QTest::newRow("negative count reads no line")
            << QByteArray("3,-2\r\n\"T\"\r\nl\r\n") << std::optional<qint16>(3) << std::optional<QString>("T") << QString();
        QTest::newRow("fewer lines than the count")
            << QByteArray("3,5\r\n\"T\"\r\na\r\n") << std::optional<qint16>(3) << std::optional<QString>("T") << "a\r\n";
        QTest::newRow("no CR LF after the last line")
            << QByteArray("3,2\r\n\"T\"\r\na\r\nb") << std::optional<qint16>(3) << std::optional<QString>("T") << "a\r\nb\r\n";
        QTest::newRow("blanks around the numbers")
            << QByteArray(" 3 , 1 \r\n\"T\"\r\na\r\n") << std::optional<qint16>(3) << std::optional<QString>("T") << "a\r\n";
        QTest::newRow("lone LF stays inside its line")
            << QByteArray("3,1\r\n\"T\"\r\na\nb\r\n") << std::optional<qint16>(3) << std::optional<QString>("T") << "a\nb\r\n";
        QTest::newRow("title cut at its second quote")
            << QByteArray("3,1\r\n\"a\"b\"\r\nl\r\n") << std::optional<qint16>(3) << std::optional<QString>("a") << "l\r\n";
        QTest::newRow("bytes without a glyph decode to themselves")
            << QByteArray("3,1\r\n\"\x81\x8d\"\r\n\x8f\x90\x9d\r\n") << std::optional<qint16>(3)
            << std::optional<QString>(QStringLiteral("\u0081\u008d")) << QStringLiteral("\u008f\u0090\u009d\r\n");
    }
    void malformedFiles()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(std::optional<qint16>, number);
        QFETCH(std::optional<QString>, title);
        QFETCH(QString, text);
        writeBytes(7, bytes);
        QVERIFY(FileExists(SlotFilePath(7)));

        const SlotRecord slot = ReadSlot(7);
        QVERIFY(slot.opened);
        QCOMPARE(slot.number, number);
        QCOMPARE(slot.title, title);
        QCOMPARE(slot.text, text);
        const SlotRecord head = ReadSlotTitle(7);
        QCOMPARE(head.number, number);
        QCOMPARE(head.title, title);
        QCOMPARE(fileBytes(7), bytes);
    }

    void fewerLinesThanTheCountAreCounted()
    {
        writeBytes(2, "2,5\r\n\"T\"\r\na\r\n");
        QCOMPARE(ReadSlot(2).missingLines, 4);
    }

    void unsavableMessagesAreRefusedAndWriteNothing_data()
    {
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::addColumn<WriteResult>("result");
        QTest::newRow("L with stroke") << "t" << "Łódź" << WriteResult::Unencodable;
        QTest::newRow("emoji in the title") << "😀" << "x" << WriteResult::Unencodable;
        QTest::newRow("double quote in the title") << "a\"b" << "x" << WriteResult::InvalidTitle;
        QTest::newRow("line break in the title") << "a\r\nb" << "x" << WriteResult::InvalidTitle;
        QTest::newRow("32768 lines") << "t" << QString(QStringLiteral("\r\n")).repeated(32767)
                                     << WriteResult::TooManyLines;
    }
    void unsavableMessagesAreRefusedAndWriteNothing()
    {
        QFETCH(QString, title);
        QFETCH(QString, text);
        QFETCH(WriteResult, result);
        writeBytes(4, "4,1\r\n\"old\"\r\nold\r\n");
        QCOMPARE(WriteSlot(4, title, text), result);
        QCOMPARE(fileBytes(4), QByteArray("4,1\r\n\"old\"\r\nold\r\n"));
        QCOMPARE(QDir(AppFolder).entryList(QDir::Files | QDir::Hidden), QStringList{"Qbox4.QBX"});
    }

    void theLargestBodyReadsBackWhole()
    {
        const QString text = QString(QStringLiteral("x\r\n")).repeated(32766) + QStringLiteral("x");
        QCOMPARE(LineCount(text), 32767);
        QCOMPARE(WriteSlot(9, QStringLiteral("t"), text), WriteResult::Ok);
        const SlotRecord slot = ReadSlot(9);
        QCOMPARE(slot.text.size(), text.size() + 2);
        QCOMPARE(slot.missingLines, 0);
    }

    void deleteRemovesOnlyItsSlot()
    {
        writeBytes(1, "a");
        writeBytes(2, "b");
        QVERIFY(DeleteSlot(1));
        QVERIFY(!FileExists(SlotFilePath(1)));
        QVERIFY(FileExists(SlotFilePath(2)));
        QVERIFY(!DeleteSlot(1));
    }
};

QTEST_GUILESS_MAIN(TestSlotStore)
#include "tst_slotstore.moc"
