#include "fileattributes.h"

#include <QFileInfo>

bool FileAttributes::isHiddenOrSystem(const QString &path)
{
    return QFileInfo(path).isHidden();
}
