#include "crlftext.h"

#include <QPlainTextEdit>
#include <QTextDocument>

namespace CrLfText {

namespace {
constexpr char16_t LoneLf = 0x2028;
constexpr char16_t LoneCr = 0x240D;
}

// Both conversions run over every character of a message of up to several megabytes
// when it is shown, copied or saved: they write through plain pointers into a string
// sized once, rather than appending character by character.
QString toEditor(const QString &crlfText)
{
    const qsizetype size = crlfText.size();
    const auto *in = reinterpret_cast<const char16_t *>(crlfText.constData());
    QString text(size, Qt::Uninitialized);
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    char16_t *out = begin;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (c == u'\r' && i + 1 < size && in[i + 1] == u'\n') {
            *out++ = u'\n';
            ++i;
        } else {
            *out++ = c == u'\r' ? LoneCr : c == u'\n' ? LoneLf : c;
        }
    }
    text.truncate(out - begin);
    return text;
}

QString fromEditor(const QString &rawText)
{
    const qsizetype size = rawText.size();
    const auto *in = reinterpret_cast<const char16_t *>(rawText.constData());
    // Every line break becomes two characters.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < size; ++i)
        breaks += in[i] == QChar::ParagraphSeparator || in[i] == u'\n';
    QString text(size + breaks, Qt::Uninitialized);
    char16_t *out = reinterpret_cast<char16_t *>(text.data());
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = in[i];
        if (c == QChar::ParagraphSeparator || c == u'\n') {
            *out++ = u'\r';
            *out++ = u'\n';
        } else {
            *out++ = c == LoneLf ? u'\n' : c == LoneCr ? u'\r' : c;
        }
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
