#include "slotfile.h"

#include <QDir>

#include <windows.h>

namespace SlotFile {

namespace {

// Large writes and reads go in pieces that a DWORD counts.
constexpr qint64 MaxPiece = 1 << 30;

std::wstring native(const QString &path)
{
    return QDir::toNativeSeparators(path).toStdWString();
}

bool failedWith(DWORD error, QString *reason)
{
    wchar_t *text = nullptr;
    const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM
                                              | FORMAT_MESSAGE_IGNORE_INSERTS,
                                          nullptr, error, 0, reinterpret_cast<wchar_t *>(&text), 0, nullptr);
    *reason = length ? QString::fromWCharArray(text, int(length)).trimmed()
                     : QStringLiteral("Erreur système %1").arg(error);
    ::LocalFree(text);
    return false;
}

DWORD writeAll(HANDLE file, const QByteArray &bytes)
{
    const char *data = bytes.constData();
    for (qint64 left = bytes.size(); left > 0;) {
        DWORD written = 0;
        if (!::WriteFile(file, data, DWORD(qMin(left, MaxPiece)), &written, nullptr))
            return ::GetLastError();
        if (written == 0)
            return ERROR_WRITE_FAULT;
        data += written;
        left -= written;
    }
    return ERROR_SUCCESS;
}

} // namespace

Reader::Reader(const QString &path)
{
    // A link or junction is opened as itself, not followed, and then refused with anything
    // that is not an ordinary file on a disk.
    const HANDLE file = ::CreateFileW(native(path).c_str(), GENERIC_READ,
                                      FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                      OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        const DWORD error = ::GetLastError();
        m_notRegular = error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND;
        return;
    }
    BY_HANDLE_FILE_INFORMATION information {};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &information)
        || (information.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT))) {
        m_notRegular = true;
        ::CloseHandle(file);
        return;
    }
    m_handle = reinterpret_cast<qintptr>(file);
    m_size = qint64(information.nFileSizeHigh) << 32 | information.nFileSizeLow;
}

Reader::~Reader()
{
    if (isOpen())
        ::CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

qint64 Reader::read(char *data, qint64 maxSize)
{
    DWORD count = 0;
    if (!::ReadFile(reinterpret_cast<HANDLE>(m_handle), data, DWORD(qMin(maxSize, MaxPiece)), &count, nullptr))
        return -1;
    return count;
}

bool replace(const QString &path, const QByteArray &bytes, QString *reason)
{
    std::wstring temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; file == INVALID_HANDLE_VALUE && attempt < TemporaryAttempts; ++attempt) {
        temporary = native(temporaryPath(path));
        file = ::CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
        if (file == INVALID_HANDLE_VALUE && ::GetLastError() != ERROR_FILE_EXISTS)
            return failedWith(::GetLastError(), reason);
    }
    if (file == INVALID_HANDLE_VALUE)
        return failedWith(ERROR_FILE_EXISTS, reason);

    DWORD error = writeAll(file, bytes);
    if (error == ERROR_SUCCESS && !::FlushFileBuffers(file))
        error = ::GetLastError();
    if (!::CloseHandle(file) && error == ERROR_SUCCESS)
        error = ::GetLastError();
    // The rename replaces a link at path by the file; it never writes through it.
    if (error == ERROR_SUCCESS
        && !::MoveFileExW(temporary.c_str(), native(path).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
        error = ::GetLastError();
    if (error != ERROR_SUCCESS) {
        ::DeleteFileW(temporary.c_str());
        return failedWith(error, reason);
    }
    return true;
}

} // namespace SlotFile
