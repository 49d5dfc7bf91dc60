#include "console.h"

#include <QtGlobal>

#ifdef Q_OS_WIN
#include <windows.h>

#include <cstdio>
#endif

#ifdef Q_OS_LINUX
#include <cstdlib>
#include <vector>

#include <dirent.h>
#include <sys/syscall.h>
#include <unistd.h>
#endif

void System::attachParentConsole()
{
#ifdef Q_OS_WIN
    // Output already sent to a file or a pipe stays there.
    const HANDLE output = GetStdHandle(STD_OUTPUT_HANDLE);
    if ((output == nullptr || output == INVALID_HANDLE_VALUE) && AttachConsole(ATTACH_PARENT_PROCESS))
        std::freopen("CONOUT$", "w", stdout);
#endif
}

void System::closeInheritedDescriptors()
{
#ifdef Q_OS_LINUX
#ifdef SYS_close_range
    if (::syscall(SYS_close_range, 3U, ~0U, 0U) == 0)
        return;
#endif
    // A kernel older than 5.9: the descriptors that /proc lists.
    DIR *list = ::opendir("/proc/self/fd");
    if (!list)
        return;
    std::vector<int> inherited;
    while (const dirent *entry = ::readdir(list)) {
        const int fd = std::atoi(entry->d_name);
        if (fd > 2 && fd != ::dirfd(list))
            inherited.push_back(fd);
    }
    ::closedir(list);
    for (const int fd : inherited)
        ::close(fd);
#endif
}
