#include "usersession.h"

#include <QByteArray>
#include <QFileInfo>

#include <windows.h>

#include <aclapi.h>
#include <sddl.h>

namespace {

// The TOKEN_USER record of this process, which holds the user's SID; empty on failure.
QByteArray tokenUser()
{
    HANDLE token = nullptr;
    if (!::OpenProcessToken(::GetCurrentProcess(), TOKEN_QUERY, &token))
        return {};
    DWORD size = 0;
    ::GetTokenInformation(token, TokenUser, nullptr, 0, &size);
    QByteArray user(int(size), '\0');
    if (size == 0 || !::GetTokenInformation(token, TokenUser, user.data(), size, &size))
        user.clear();
    ::CloseHandle(token);
    return user;
}

PSID sidOf(const QByteArray &user)
{
    return reinterpret_cast<const TOKEN_USER *>(user.constData())->User.Sid;
}

} // namespace

QString UserSession::userKey()
{
    const QByteArray user = tokenUser();
    wchar_t *text = nullptr;
    if (user.isEmpty() || !::ConvertSidToStringSidW(sidOf(user), &text))
        return qEnvironmentVariable("USERNAME");
    const QString sid = QString::fromWCharArray(text);
    ::LocalFree(text);
    return sid;
}

QString UserSession::sessionKey()
{
    DWORD session = 0;
    return ::ProcessIdToSessionId(::GetCurrentProcessId(), &session) ? QString::number(session) : QString();
}

bool UserSession::isPrivateFolder(const QString &path)
{
    // The per-user folders of Windows are the user's own by their access lists.
    return QFileInfo(path).isDir();
}

bool UserSession::mayMakeFolder(const QString &)
{
    return true;
}

QString UserSession::machineName()
{
    // As QLockFile records it.
    return qEnvironmentVariable("COMPUTERNAME");
}

bool UserSession::processRuns(qint64 pid)
{
    HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, DWORD(pid));
    if (!process)
        return ::GetLastError() == ERROR_ACCESS_DENIED;
    DWORD code = 0;
    const bool running = ::GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    ::CloseHandle(process);
    return running;
}

bool UserSession::serverIsThisUser(qintptr socketDescriptor)
{
    // A pipe's owner is set by whoever made its first instance; this program's servers
    // name the user's SID.
    PSID owner = nullptr;
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    if (::GetSecurityInfo(reinterpret_cast<HANDLE>(socketDescriptor), SE_FILE_OBJECT,
                          OWNER_SECURITY_INFORMATION, &owner, nullptr, nullptr, nullptr, &descriptor)
        != ERROR_SUCCESS)
        return false;
    const QByteArray user = tokenUser();
    const bool same = !user.isEmpty() && owner && ::EqualSid(owner, sidOf(user));
    ::LocalFree(descriptor);
    return same;
}

bool UserSession::serverNameTaken(const QString &name)
{
    const QString path = QStringLiteral("\\\\.\\pipe\\") + name;
    return ::WaitNamedPipeW(reinterpret_cast<const wchar_t *>(path.utf16()), NMPWAIT_NOWAIT)
           || ::GetLastError() != ERROR_FILE_NOT_FOUND;
}
