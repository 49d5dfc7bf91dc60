#include "usersession.h"

#include <QFileInfo>
#include <QSysInfo>

#include <cerrno>

#include <signal.h>
#include <unistd.h>

QString UserSession::userKey()
{
    return QString::number(::getuid());
}

QString UserSession::sessionKey()
{
    // A socket is a file in the user's own folder, which every session of the user shares.
    return {};
}

bool UserSession::isPrivateFolder(const QString &path)
{
    const QFileInfo info(path);
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid()
           && !(info.permissions() & others);
}

bool UserSession::mayMakeFolder(const QString &path)
{
    QString existing = QFileInfo(path).absoluteFilePath();
    while (!QFileInfo::exists(existing)) {
        const QString above = QFileInfo(existing).absolutePath();
        if (above == existing)
            return false;
        existing = above;
    }
    const QFileInfo info(existing);
    return info.isDir() && info.ownerId() == ::getuid();
}

QString UserSession::machineName()
{
    return QSysInfo::machineHostName();
}

bool UserSession::processRuns(qint64 pid)
{
    return pid > 0 && !(::kill(pid_t(pid), 0) == -1 && errno == ESRCH);
}

bool UserSession::serverIsThisUser(qintptr)
{
    // The socket lives in a private folder of the user's: nobody else can have made it.
    return true;
}

bool UserSession::serverNameTaken(const QString &)
{
    // A socket file there is one this user's copy left, removed before listening.
    return false;
}
