#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

// The 8-bit code page of the slot files, both ways: Windows-1252, or on Windows the
// system's ANSI code page.
namespace CodePage {

// Every byte decodes, the five bytes without a glyph included, so a file read and
// saved again keeps its bytes.
QString decode(const QByteArray &bytes);

// No value when a character has no byte in the code page: it is never replaced.
std::optional<QByteArray> encode(const QString &text);

// The first character of text that has no byte in the code page (a surrogate pair
// whole), or an empty string when every character has one.
QString firstUnencodable(const QString &text);

} // namespace CodePage
