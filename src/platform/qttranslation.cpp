#include "qttranslation.h"

#include "logging.h"

#include <QCoreApplication>
#include <QDir>
#include <QLibraryInfo>
#include <QTranslator>

QString System::qtTranslationsFolder()
{
#ifdef Q_OS_WIN
    // Qt for Windows is not installed on the user's machine: its folder is the build's.
    return QCoreApplication::applicationDirPath() + QStringLiteral("/translations");
#else
    return QLibraryInfo::path(QLibraryInfo::TranslationsPath);
#endif
}

bool System::installQtTranslation(const QString &folder)
{
    auto *translator = new QTranslator(QCoreApplication::instance());
    const QString path = QDir(folder).filePath(QStringLiteral("qtbase_fr.qm"));
    if (translator->load(path) && QCoreApplication::installTranslator(translator))
        return true;
    delete translator;
    qCWarning(lcQuillbox, "cannot load Qt's French translation %s: Qt's own texts stay in English",
              qPrintable(QDir::toNativeSeparators(path)));
    return false;
}
