#include "systemplatform.h"

#include "logging.h"
#include "platform/msgbox.h"
#include "platform/systemregistry.h"
#include "platform/installkind.h"

#include <QCoreApplication>
#include <QDesktopServices>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QUrl>

namespace {

QMessageBox::Icon iconFor(int style)
{
    switch (style & 0x70) {
    case MsgBoxStyle::Critical:
        return QMessageBox::Critical;
    case MsgBoxStyle::Question:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case MsgBoxStyle::Information:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

} // namespace

int SystemPlatform::messageBox(const QString &prompt, int style, const QString &title,
                               const QString &detailedText)
{
    // Lone CRs separate the lines of composed texts; show them as line breaks.
    QString text = prompt;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(QLatin1Char('\r'), QLatin1Char('\n'));

    QMessageBox box(iconFor(style), title, text);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(detailedText);
    if ((style & 0x0F) == MsgBoxStyle::YesNo) {
        QPushButton *yes = box.addButton(QStringLiteral("&Oui"), QMessageBox::YesRole);
        QPushButton *no = box.addButton(QStringLiteral("&Non"), QMessageBox::NoRole);
        box.setDefaultButton((style & MsgBoxStyle::DefaultButton2) ? no : yes);
        box.setEscapeButton(no);
        box.exec();
        return box.clickedButton() == yes ? MsgBoxResult::Yes : MsgBoxResult::No;
    }
    box.addButton(QMessageBox::Ok);
    box.exec();
    return MsgBoxResult::Ok;
}

bool SystemPlatform::startProgram(const QString &path)
{
    if (path.isEmpty())
        return false;
    return QProcess::startDetached(path, {});
}

void SystemPlatform::shellOpen(const QString &target)
{
    if (!QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode)))
        qCWarning(lcQuillbox, "the desktop could not open %s", qPrintable(target));
}

void SystemPlatform::endProgram()
{
    QCoreApplication::exit(0);
}

long SystemPlatform::regOpenKey(quint32 root, const QString &subKey, Registry::HKey *result)
{
    return SystemRegistry::openKey(root, subKey, result);
}

long SystemPlatform::regQueryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                                   quint8 *data, quint32 *size)
{
    return SystemRegistry::queryValue(key, valueName, type, data, size);
}

long SystemPlatform::regCloseKey(Registry::HKey key)
{
    return SystemRegistry::closeKey(key);
}

// The install decides, never whether the program's folder is writable: root can write
// /usr/bin, and messages have no place there.
QString SystemPlatform::programFolder()
{
    if (InstalledCopy)
        return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    return QCoreApplication::applicationDirPath();
}
