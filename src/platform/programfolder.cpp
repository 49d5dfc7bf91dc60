#include "programfolder.h"

#include "platform/platform.h"

#include <QDir>

QString ProgramFolder()
{
    return QDir::toNativeSeparators(Platform::current().programFolder());
}
