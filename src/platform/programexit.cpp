#include "programexit.h"

#include "platform/platform.h"

void EndProgram()
{
    Platform::current().endProgram();
}
