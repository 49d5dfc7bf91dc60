#include "shellopen.h"

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
    else
        QDesktopServices::openUrl(QUrl(target, QUrl::TolerantMode));
}

void SetShellOpenFunction(ShellOpenFunction function)
{
    replacement() = std::move(function);
}
