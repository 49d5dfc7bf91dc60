#include "console.h"

#include <QtGlobal>

#include <cstdio>

#ifdef Q_OS_WIN
#include <QString>

#include <io.h>
#include <string>
#include <windows.h>
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

void System::printUtf8(const char *text)
{
#ifdef Q_OS_WIN
    // The console taken over by attachParentConsole() is stdout's, not the process's own.
    const auto console = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stdout)));
    DWORD mode = 0;
    if (GetConsoleMode(console, &mode)) {
        const std::wstring characters = QString::fromUtf8(text).toStdWString();
        DWORD written = 0;
        std::fflush(stdout);
        WriteConsoleW(console, characters.data(), DWORD(characters.size()), &written, nullptr);
        return;
    }
#endif
    std::fputs(text, stdout);
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
