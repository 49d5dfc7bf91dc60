#include "fakeplatform.h"

#include "platform/msgbox.h"

FakePlatform &FakePlatform::instance()
{
    static FakePlatform fake;
    static const bool installed = (install(&fake), true);
    Q_UNUSED(installed);
    return fake;
}

int FakePlatform::messageBox(const QString &prompt, int style, const QString &title,
                             const QString &detailedText)
{
    QStringList box{QString(prompt).replace(QLatin1Char('\r'), QLatin1String("\\r")), QString::number(style), title};
    if (!detailedText.isEmpty())
        box << detailedText;
    shownBoxes << box.join(QLatin1Char('|'));
    if (whileBoxShows)
        whileBoxShows();
    if (answerMessageBox)
        return answerMessageBox(prompt, style, title, detailedText);
    return boxAnswers.isEmpty() ? MsgBoxResult::Ok : boxAnswers.takeFirst();
}

bool FakePlatform::startProgram(const QString &path)
{
    startedPrograms.append(path);
    return programsStart;
}

void FakePlatform::shellOpen(const QString &target)
{
    openedTargets.append(target);
}

void FakePlatform::endProgram()
{
    if (onEndProgram)
        onEndProgram();
}

long FakePlatform::regOpenKey(quint32 root, const QString &subKey, Registry::HKey *result)
{
    return registry.openKey(root, subKey, result);
}

long FakePlatform::regQueryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                                 quint8 *data, quint32 *size)
{
    return registry.queryValue(key, valueName, type, data, size);
}

long FakePlatform::regCloseKey(Registry::HKey key)
{
    return registry.closeKey(key);
}
