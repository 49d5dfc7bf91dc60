#include "codepage.h"

#include <cstring>

namespace CodePage {

namespace {

// Windows-1252 is Latin-1 except for the 32 bytes from 0x80 to 0x9F, listed here. Qt
// converts this code page through ICU, whose converter data costs more than a megabyte
// of resident memory once opened, for the sake of these 32 characters; a table is also
// faster on a message of several megabytes. The five bytes without a glyph (81, 8D, 8F,
// 90, 9D) stand for the control characters of the same number, as ICU has them.
constexpr char16_t FirstOther = 0x80;
constexpr int OtherCount = 32;
constexpr char16_t Others[OtherCount] = {
    u'\u20AC', u'\u0081', u'\u201A', u'\u0192', u'\u201E', u'\u2026', u'\u2020', u'\u2021',
    u'\u02C6', u'\u2030', u'\u0160', u'\u2039', u'\u0152', u'\u008D', u'\u017D', u'\u008F',
    u'\u0090', u'\u2018', u'\u2019', u'\u201C', u'\u201D', u'\u2022', u'\u2013', u'\u2014',
    u'\u02DC', u'\u2122', u'\u0161', u'\u203A', u'\u0153', u'\u009D', u'\u017E', u'\u0178',
};

bool isOtherByte(unsigned byte)
{
    return (byte & 0xE0) == FirstOther;
}

// Whether one of the eight bytes of `word` is one of the other bytes: each byte masked to
// its top three bits is compared with 100, eight at a time (the classic test for a zero
// byte in a word).
bool holdsOtherByte(quint64 word)
{
    constexpr quint64 ones = 0x0101010101010101;
    const quint64 x = (word & (0xE0 * ones)) ^ (FirstOther * ones);
    return (x - ones) & ~x & (0x80 * ones);
}

// The byte for a character, or -1 when the code page has none.
int byteFor(char16_t unit)
{
    if (unit < 0x100 && !isOtherByte(unit))
        return unit;
    for (int other = 0; other < OtherCount; ++other) {
        if (Others[other] == unit)
            return FirstOther + other;
    }
    return -1;
}

} // namespace

QString decode(const QByteArray &bytes)
{
    // Latin-1 first, which Qt converts many bytes at a time, then the other bytes mended
    // in place, where a word of eight bytes holds one: a message of megabytes decodes at
    // memory speed.
    QString text = QString::fromLatin1(bytes);
    const auto *in = reinterpret_cast<const quint8 *>(bytes.constData());
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    const qsizetype size = bytes.size();
    for (qsizetype i = 0; i < size; i += 8) {
        quint64 word = 0;
        std::memcpy(&word, in + i, size_t(qMin<qsizetype>(8, size - i)));
        if (!holdsOtherByte(word))
            continue;
        for (qsizetype j = i; j < qMin(i + 8, size); ++j) {
            if (isOtherByte(in[j]))
                out[j] = Others[in[j] - FirstOther];
        }
    }
    return text;
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray bytes(text.size(), Qt::Uninitialized);
    char *out = bytes.data();
    for (const QChar c : text) {
        const int byte = byteFor(c.unicode());
        if (byte < 0)
            return std::nullopt;
        *out++ = char(byte);
    }
    return bytes;
}

QString firstUnencodable(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (byteFor(text.at(i).unicode()) >= 0)
            continue;
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        return text.mid(i, pair ? 2 : 1);
    }
    return {};
}

} // namespace CodePage
