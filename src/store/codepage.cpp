#include "codepage.h"

#include <QStringDecoder>
#include <QStringEncoder>

namespace CodePage {

QString decode(const QByteArray &bytes)
{
    QStringDecoder decoder("windows-1252", QStringDecoder::Flag::Stateless);
    return decoder.decode(bytes);
}

std::optional<QByteArray> encode(const QString &text)
{
    QStringEncoder encoder("windows-1252", QStringEncoder::Flag::Stateless);
    QByteArray bytes = encoder.encode(text);
    if (encoder.hasError())
        return std::nullopt;
    return bytes;
}

} // namespace CodePage
