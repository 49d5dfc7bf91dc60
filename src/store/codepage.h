#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The 8-bit code page of the slot files, both ways: Windows-1252, or on Windows the
// system's ANSI code page when it is an 8-bit one.
namespace CodePage {

// The slot files' code page on Windows, from the system's ANSI code page and the most bytes
// a character takes in it. A page that is not 8-bit (UTF-8, the double-byte pages of East
// Asia) would misread bytes 80 to FF and refuse every save: Windows-1252 stands in, the
// table other systems use, so that files read the same on the machines they move between.
constexpr unsigned slotCodePage(unsigned systemCodePage, unsigned maxCharBytes)
{
    return maxCharBytes == 1 ? systemCodePage : 1252;
}

// Every byte decodes, the five bytes without a glyph included, so a file read and
// saved again keeps its bytes.
QString decode(const QByteArray &bytes);

// No value when a character has no byte in the code page: it is never replaced.
std::optional<QByteArray> encode(const QString &text);

// The first character of text that has no byte in the code page (a surrogate pair
// whole), or an empty string when every character has one.
QString firstUnencodable(const QString &text);

} // namespace CodePage
