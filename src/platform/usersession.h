#pragma once

#include <QString>
#include <QtGlobal>

// What the guard against a second copy must ask the system about the user running the
// program, the session, the machine and the peers of its local socket.
namespace UserSession {

// Names this user on this machine: the uid; on Windows the SID, which unlike a user name
// is not shared by two domains.
QString userKey();
// Names the logon session where local servers are seen across sessions (Windows' named
// pipes); empty elsewhere.
QString sessionKey();

// A folder that only this user, its owner, can list or enter.
bool isPrivateFolder(const QString &path);
// True when the folder at path may be made: the nearest folder above it that exists is
// this user's. Never under another user's home (root keeping that user's HOME: su
// without -), where a folder of root's would lock that user's own copies out.
bool mayMakeFolder(const QString &path);

// This machine's name as a lock file records it.
QString machineName();
// False when no process with this id runs on this machine.
bool processRuns(qint64 pid);

// For a local socket connected to a server: false when the server's end is another
// user's, who made the name first.
bool serverIsThisUser(qintptr socketDescriptor);
// True when a local server of this name is already there, whoever made it.
bool serverNameTaken(const QString &name);

} // namespace UserSession
