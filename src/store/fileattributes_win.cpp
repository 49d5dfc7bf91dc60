#include "fileattributes.h"

#include <QDir>

#include <windows.h>

bool FileAttributes::isHiddenOrSystem(const QString &path)
{
    const QString native = QDir::toNativeSeparators(path);
    const DWORD attributes = ::GetFileAttributesW(reinterpret_cast<const wchar_t *>(native.utf16()));
    return attributes != INVALID_FILE_ATTRIBUTES
           && (attributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM));
}
