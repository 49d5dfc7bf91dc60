#include "programexit.h"

#include "platform/platform.h"

void System::endProgram()
{
    Platform::current().endProgram();
}
