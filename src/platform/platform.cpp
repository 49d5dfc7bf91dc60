#include "platform.h"

#include "platform/systemplatform.h"

namespace {
Platform *installed = nullptr;
}

Platform::~Platform() = default;

Platform &Platform::current()
{
    if (installed)
        return *installed;
    static SystemPlatform system;
    return system;
}

void Platform::install(Platform *platform)
{
    installed = platform;
}
