#include "singleinstance.h"

#include "logging.h"

#include <QCryptographicHash>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QByteArray ShowRequest = QByteArrayLiteral("show\n");
const QByteArray ShownAnswer = QByteArrayLiteral("shown\n");
const int ConnectTimeoutMs = 500;
// How long a later copy waits for a running copy that is still starting to listen.
const int AnswerTimeoutMs = 5000;

QString userKey()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

// A folder is private when only its owner, this user, can list or enter it.
bool isPrivateFolder(const QString &path)
{
    const QFileInfo info(path);
#ifdef Q_OS_UNIX
    const QFile::Permissions others = QFile::ReadGroup | QFile::WriteGroup | QFile::ExeGroup
                                      | QFile::ReadOther | QFile::WriteOther | QFile::ExeOther;
    return info.isDir() && !info.isSymLink() && info.ownerId() == ::getuid()
           && !(info.permissions() & others);
#else
    // The per-user folders of Windows are the user's own by their access lists.
    return info.isDir();
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent), m_key(keyFor(folder))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::lockFolder()
{
#ifdef Q_OS_WIN
    // The user's local application data: per user by its access list, never roaming.
    const QString path = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                         + QStringLiteral("/Quillbox");
#else
    // The session's runtime folder when it has one of its own. Without one (su, cron, some
    // remote sessions) Qt would fall back to /tmp/runtime-<name>, which another user can
    // make first; the user's cache folder, inside the home, is the user's alone.
    const QString runtime = qEnvironmentVariable("XDG_RUNTIME_DIR");
    if (!runtime.isEmpty() && isPrivateFolder(runtime))
        return runtime;
    const QString path = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
#endif
    if (path.isEmpty())
        return {};
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return isPrivateFolder(path) ? path : QString();
}

QString SingleInstance::keyFor(const QString &folder)
{
    // A folder made only at the first save must keep its key once it exists: the nearest
    // folder that exists is resolved, links and all, and the missing rest appended.
    QString path = QFileInfo(folder).absoluteFilePath();
    QString missing;
    QString resolved = QFileInfo(path).canonicalFilePath();
    while (resolved.isEmpty()) {
        const QFileInfo info(path);
        if (info.path() == path)
            break;
        missing.prepend(QLatin1Char('/') + info.fileName());
        path = info.path();
        resolved = QFileInfo(path).canonicalFilePath();
    }
    path = QDir::cleanPath((resolved.isEmpty() ? path : resolved) + missing);
#ifdef Q_OS_WIN
    // Windows spells a folder in any letter case.
    path = path.toLower();
#endif
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1);
    // 16 hex digits keep the socket path well under the 108-byte limit of Unix sockets.
    return QStringLiteral("quillbox-%1-%2").arg(QString::fromLatin1(hash.toHex().left(16)), userKey());
}

bool SingleInstance::claim()
{
    const QString folder = lockFolder();
    if (folder.isEmpty()) {
        // Running unguarded is better than not running at all.
        qCWarning(lcQuillbox, "no private folder for the lock: a second copy is not refused");
        return true;
    }
#ifdef Q_OS_WIN
    // Pipe names are not paths; the user's key keeps them apart.
    m_socketName = m_key;
#else
    m_socketName = folder + QLatin1Char('/') + m_key + QStringLiteral(".socket");
#endif
    m_lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + m_key + QStringLiteral(".lock"));
    // Never stale by age: only a lock whose process has died is taken over.
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(AnswerTimeoutMs);
    while (!m_lock->tryLock()) {
        if (m_lock->error() != QLockFile::LockFailedError) {
            qCWarning(lcQuillbox, "cannot take the lock %s: a second copy is not refused",
                      qPrintable(QDir::toNativeSeparators(m_lock->fileName())));
            return true;
        }
        if (askRunningCopyToShow())
            return false;
        if (deadline.hasExpired()) {
            qCWarning(lcQuillbox, "the running copy does not answer; this one leaves");
            return false;
        }
        QThread::msleep(50);
    }
    listen();
    return true;
}

// Succeeds only once the running copy has answered that it shows its window.
bool SingleInstance::askRunningCopyToShow() const
{
    QLocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    if (socket.write(ShowRequest) != ShowRequest.size() || !socket.waitForBytesWritten(ConnectTimeoutMs))
        return false;
    const QDeadlineTimer deadline(AnswerTimeoutMs);
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return false;
    }
    return socket.readLine() == ShownAnswer;
}

void SingleInstance::listen()
{
    m_server = new QLocalServer(this);
    // The lock is ours: a socket there was left by a copy that died.
    QLocalServer::removeServer(m_socketName);
    if (!m_server->listen(m_socketName)) {
        qCWarning(lcQuillbox, "a second copy cannot ask this one to show: %s",
                  qPrintable(m_server->errorString()));
        return;
    }
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            const auto readRequests = [this, socket] {
                while (socket->canReadLine()) {
                    if (socket->readLine() != ShowRequest)
                        continue;
                    Q_EMIT showRequested();
                    socket->write(ShownAnswer);
                    socket->flush();
                }
            };
            connect(socket, &QLocalSocket::readyRead, this, readRequests);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            readRequests();
        }
    });
}
