#include "shellopen.h"

#include "logging.h"

#include <QDesktopServices>
#include <QUrl>

namespace {

ShellOpenFunction &replacement()
{
    static ShellOpenFunction function;
    return function;
}

} // namespace

void ShellOpen(const QString &target)
{
    if (replacement())
        replacement()(target);
    else if (!QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode)))
        qCWarning(lcQuillbox, "the desktop could not open %s", qPrintable(target));
}

void SetShellOpenFunction(ShellOpenFunction function)
{
    replacement() = std::move(function);
}
