#include "programfolder.h"

#include "platform/platform.h"

#include <QDir>

QString System::programFolder()
{
    return QDir::toNativeSeparators(Platform::current().programFolder());
}
