#include "msgbox.h"

#include "platform/platform.h"

int MsgBox(const QString &prompt, int style, const QString &title, const QString &detailedText)
{
    return Platform::current().messageBox(prompt, style, title, detailedText);
}
