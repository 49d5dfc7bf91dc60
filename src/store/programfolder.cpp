#include "programfolder.h"

#include "store/installkind.h"

#include <QCoreApplication>
#include <QDir>
#include <QStandardPaths>

namespace {
QString &testFolder()
{
    static QString folder;
    return folder;
}

// The install decides, never whether the program's folder is writable: root can write
// /usr/bin, and messages have no place there.
QString defaultFolder()
{
    if (InstalledCopy)
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QCoreApplication::applicationDirPath();
}
}

QString ProgramFolder()
{
    const QString folder = testFolder().isEmpty() ? defaultFolder() : testFolder();
    return QDir::toNativeSeparators(folder);
}

void SetProgramFolderForTests(const QString &folder)
{
    testFolder() = folder;
}
