#include "programfolder.h"

#include <QCoreApplication>
#include <QDir>

namespace {
QString &testFolder()
{
    static QString folder;
    return folder;
}
}

QString ProgramFolder()
{
    const QString folder = testFolder().isEmpty() ? QCoreApplication::applicationDirPath() : testFolder();
    return QDir::toNativeSeparators(folder);
}

void SetProgramFolderForTests(const QString &folder)
{
    testFolder() = folder;
}
