// winclip: prints the Windows clipboard's text as hexadecimal UTF-16 code units, for the
// end-to-end driver. Wine's bridge to the X clipboard turns CR LF into LF, so the text the
// program set is read on the Windows side. Exit code 1: no text on the clipboard.
#include <windows.h>

#include <cstdio>

int main()
{
    if (!::OpenClipboard(nullptr))
        return 2;
    int status = 1;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (const auto *text = static_cast<const wchar_t *>(::GlobalLock(data))) {
            for (const wchar_t *unit = text; *unit; ++unit)
                std::printf("%04x", unsigned(*unit));
            std::printf("\n");
            ::GlobalUnlock(data);
            status = 0;
        }
    }
    ::CloseClipboard();
    return status;
}
