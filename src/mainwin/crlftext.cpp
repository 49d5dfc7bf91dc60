#include "crlftext.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace CrLfText {

namespace {
constexpr char16_t LoneLf = 0x2028;
constexpr char16_t LoneCr = 0x240D;
}

QString toEditor(const QString &crlfText)
{
    QString text;
    text.reserve(crlfText.size());
    for (qsizetype i = 0; i < crlfText.size(); ++i) {
        const QChar c = crlfText.at(i);
        if (c == u'\r' && i + 1 < crlfText.size() && crlfText.at(i + 1) == u'\n') {
            text += u'\n';
            ++i;
        } else if (c == u'\r') {
            text += QChar(LoneCr);
        } else if (c == u'\n') {
            text += QChar(LoneLf);
        } else {
            text += c;
        }
    }
    return text;
}

QString fromEditor(const QString &rawText)
{
    QString text;
    text.reserve(rawText.size() + rawText.size() / 16);
    for (const QChar c : rawText) {
        if (c == QChar::ParagraphSeparator || c == u'\n')
            text += QStringLiteral("\r\n");
        else if (c == QChar(LoneLf))
            text += u'\n';
        else if (c == QChar(LoneCr))
            text += u'\r';
        else
            text += c;
    }
    return text;
}

QString read(const QPlainTextEdit *editor)
{
    return fromEditor(editor->document()->toRawText());
}

void write(QPlainTextEdit *editor, const QString &crlfText)
{
    editor->setPlainText(toEditor(crlfText));
}

} // namespace CrLfText
