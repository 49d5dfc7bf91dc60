#include "crlftext.h"

#include <QPlainTextEdit>
#include <QTextDocument>

#include <cstring>
#include <utility>

namespace CrLfText {

namespace {
constexpr char16_t LoneLf = 0x2028;
constexpr char16_t LoneCr = 0x240D;
}

// Both conversions run over every character of a message of up to several megabytes
// when it is shown, copied or saved: they never append character by character.
QString toEditor(QString text)
{
    // Converted in place: the editor's form is never longer. Qt finds the next CR and
    // the next LF many characters at a time; the runs between them move whole.
    const qsizetype size = text.size();
    char16_t *const begin = reinterpret_cast<char16_t *>(text.data());
    // Only what lies at or after i is searched, and nothing there is written yet.
    const QStringView view(begin, size);
    char16_t *out = begin;
    qsizetype nextCr = view.indexOf(u'\r');
    qsizetype nextLf = view.indexOf(u'\n');
    for (qsizetype i = 0; i < size;) {
        const qsizetype end = qMin(nextCr < 0 ? size : nextCr, nextLf < 0 ? size : nextLf);
        std::memmove(out, begin + i, size_t(end - i) * sizeof(char16_t));
        out += end - i;
        i = end;
        if (i == size)
            break;
        if (i == nextCr && i + 1 == nextLf) {
            *out++ = u'\n';
            i += 2;
        } else {
            *out++ = i == nextCr ? LoneCr : LoneLf;
            ++i;
        }
        if (nextCr >= 0 && nextCr < i)
            nextCr = view.indexOf(u'\r', i);
        if (nextLf >= 0 && nextLf < i)
            nextLf = view.indexOf(u'\n', i);
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

void write(QPlainTextEdit *editor, QString crlfText)
{
    editor->setPlainText(toEditor(std::move(crlfText)));
}

} // namespace CrLfText
