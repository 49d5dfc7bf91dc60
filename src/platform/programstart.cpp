#include "programstart.h"

#include "platform/platform.h"

bool System::startProgram(const QString &path)
{
    return Platform::current().startProgram(path);
}
