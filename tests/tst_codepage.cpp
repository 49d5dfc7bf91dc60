#include "store/codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>
#include <QTest>

// The code page's own table against Qt's converter for the same code page, which
// slot files written before the table was introduced went through.
class TestCodePage : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void everyByteDecodesAsQtDecodesIt()
    {
        QStringDecoder qt("windows-1252", QStringDecoder::Flag::Stateless);
        QByteArray all;
        for (int byte = 0; byte < 256; ++byte) {
            const QByteArray one(1, char(byte));
            QCOMPARE(CodePage::decode(one), qt.decode(one));
            all += one;
        }
        QCOMPARE(CodePage::decode(all), qt.decode(all));
    }

    void everyCharacterEncodesAsQtEncodesIt()
    {
        int encodable = 0;
        for (int unit = 0; unit < 0x10000; ++unit) {
            QStringEncoder qt("windows-1252", QStringEncoder::Flag::Stateless);
            const QString one{QChar(char16_t(unit))};
            const QByteArray expected = qt.encode(one);
            const std::optional<QByteArray> bytes = CodePage::encode(one);
            if (qt.hasError()) {
                QVERIFY2(!bytes, qPrintable(QString::number(unit, 16)));
            } else {
                QVERIFY2(bytes && *bytes == expected, qPrintable(QString::number(unit, 16)));
                ++encodable;
            }
        }
        QCOMPARE(encodable, 256);
    }

    void texts_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("encodable");
        QTest::addColumn<QByteArray>("bytes");

        QTest::newRow("empty") << QString() << true << QByteArray();
        QTest::newRow("accents, euro and oe ligature")
            << QStringLiteral("é€œ\r\n") << true << QByteArray("\xE9\x80\x9C\r\n");
        QTest::newRow("a glyphless byte's character") << QStringLiteral("\u0081") << true << QByteArray("\x81");
        QTest::newRow("L with stroke after good text") << QStringLiteral("abcŁ") << false << QByteArray();
        QTest::newRow("emoji") << QStringLiteral("a😀b") << false << QByteArray();
        QTest::newRow("lone high surrogate") << QString(QChar(0xD83D)) << false << QByteArray();
        QTest::newRow("C1 control without a byte") << QString(QChar(0x0080)) << false << QByteArray();
    }

    void texts()
    {
        QFETCH(QString, text);
        QFETCH(bool, encodable);
        QFETCH(QByteArray, bytes);

        const std::optional<QByteArray> encoded = CodePage::encode(text);
        QCOMPARE(encoded.has_value(), encodable);
        if (encodable) {
            QCOMPARE(*encoded, bytes);
            QCOMPARE(CodePage::decode(bytes), text);
        }
    }
};

QTEST_GUILESS_MAIN(TestCodePage)
#include "tst_codepage.moc"
