#pragma once

#include <QString>

class QPlainTextEdit;

// The handlers see texts as slot files and the clipboard hold them: lines ended by
// CR LF, where a lone CR or a lone LF is part of its line. Qt's editors end a line with
// a block break instead, and would turn a lone CR or LF into one as well; these keep
// the two apart, so that a text put into an editor comes back unchanged:
//   CR LF    a block break (a line of the editor)
//   lone LF  U+2028 LINE SEPARATOR, shown as a line break inside the line
//   lone CR  U+240D SYMBOL FOR CARRIAGE RETURN, shown as such
// Neither stand-in has a byte in the slot files' code page, so the mapping is exact
// for every text a slot file can hold.
namespace CrLfText {

QString toEditor(QString crlfText);
// From the editor's raw text, where blocks are separated by U+2029.
QString fromEditor(const QString &rawText);

// The editor's text exactly: the plain-text getter would turn every no-break space
// into a space and every stand-in into a line break.
QString read(const QPlainTextEdit *editor);
void write(QPlainTextEdit *editor, QString crlfText);

} // namespace CrLfText
