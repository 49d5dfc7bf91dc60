#include "programstart.h"

#include "platform/platform.h"

bool StartProgram(const QString &path)
{
    return Platform::current().startProgram(path);
}
