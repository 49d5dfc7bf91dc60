#include "crlftext.h"

namespace CrLfText {

QString fromEditor(const QString &lfText)
{
    QString text = lfText;
    return text.replace(QLatin1Char('\n'), QStringLiteral("\r\n"));
}

QString toEditor(const QString &crlfText)
{
    QString text = crlfText;
    return text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace CrLfText
