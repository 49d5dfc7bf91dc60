#include "clipboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace Clipboard {

void clear()
{
    QGuiApplication::clipboard()->clear();
}

void setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

} // namespace Clipboard
