#include "codepage.h"

#include <windows.h>

// On Windows the slot files are in the system's ANSI code page, as every program of the
// system writes its 8-bit text: Windows-1252 on a Western system, 1250 on a Central
// European one (slotCodePage() says when another stands in). The system converts.
namespace CodePage {

namespace {

UINT filePage()
{
    static const UINT page = [] {
        const UINT system = ::GetACP();
        CPINFO info {};
        return UINT(slotCodePage(system, ::GetCPInfo(system, &info) ? info.MaxCharSize : 0));
    }();
    return page;
}

bool encodes(const wchar_t *units, int count, QByteArray *bytes)
{
    if (count == 0) {
        bytes->clear();
        return true;
    }
    // No best fit: a character without its own byte is refused, never replaced by a
    // look-alike.
    BOOL replaced = FALSE;
    const int size = ::WideCharToMultiByte(filePage(), WC_NO_BEST_FIT_CHARS, units, count, nullptr, 0,
                                           nullptr, &replaced);
    if (size <= 0 || replaced)
        return false;
    bytes->resize(size);
    ::WideCharToMultiByte(filePage(), WC_NO_BEST_FIT_CHARS, units, count, bytes->data(), size, nullptr,
                          &replaced);
    return !replaced;
}

const wchar_t *units(const QString &text)
{
    return reinterpret_cast<const wchar_t *>(text.utf16());
}

} // namespace

QString decode(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return {};
    const int count = ::MultiByteToWideChar(filePage(), 0, bytes.constData(), int(bytes.size()), nullptr, 0);
    QString text(count, Qt::Uninitialized);
    ::MultiByteToWideChar(filePage(), 0, bytes.constData(), int(bytes.size()),
                          reinterpret_cast<wchar_t *>(text.data()), count);
    return text;
}

std::optional<QByteArray> encode(const QString &text)
{
    QByteArray bytes;
    if (!encodes(units(text), int(text.size()), &bytes))
        return std::nullopt;
    // A character that comes back as another one (a best fit the flag missed) is
    // refused too.
    if (decode(bytes) != text)
        return std::nullopt;
    return bytes;
}

QString firstUnencodable(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const bool pair = text.at(i).isHighSurrogate() && i + 1 < text.size();
        const QString character = text.mid(i, pair ? 2 : 1);
        if (!encode(character))
            return character;
        if (pair)
            ++i;
    }
    return {};
}

} // namespace CodePage
