#include "shellopen.h"

#include "platform/platform.h"

void ShellOpen(const QString &target)
{
    Platform::current().shellOpen(target);
}
