#include "shellopen.h"

#include "platform/platform.h"

void System::shellOpen(const QString &target)
{
    Platform::current().shellOpen(target);
}
