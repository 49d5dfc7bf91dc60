#include "logging.h"

#include <QElapsedTimer>

Q_LOGGING_CATEGORY(lcQuillbox, "quillbox")
Q_LOGGING_CATEGORY(lcStartup, "quillbox.startup", QtInfoMsg)

void startupMark(const char *step)
{
    if (!lcStartup().isDebugEnabled())
        return;
    static QElapsedTimer sinceFirst;
    if (!sinceFirst.isValid())
        sinceFirst.start();
    qCDebug(lcStartup, "%7.2f ms  %s", double(sinceFirst.nsecsElapsed()) / 1e6, step);
}
