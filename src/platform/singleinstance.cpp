#include "singleinstance.h"

#include "logging.h"
#include "platform/localserver.h"
#include "platform/msgbox.h"
#include "platform/usersession.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QDeadlineTimer>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QStandardPaths>
#include <QThread>
#include <QTimer>

#include <chrono>

namespace {

using namespace std::chrono_literals;

const QByteArray ShowRequest = QByteArrayLiteral("show\n");
const QByteArray ShownAnswer = QByteArrayLiteral("shown\n");
constexpr std::chrono::milliseconds ConnectTimeout{500};
// How long a later copy waits for a running copy that is still starting to listen.
constexpr auto AnswerTimeout = 5s;
// A copy writes its lock right after making it: an empty one older than this was left
// by a copy that never did (a power cut, a full disk).
constexpr std::chrono::milliseconds LockWrittenWithin{2000};
// What the server spends on one peer, whatever the peer does: a request is one short
// line, sent at once; a peer that holds its connection, sends more or takes longer is
// dropped, and the oldest goes when too many are open, so that no peer can use up the
// descriptors or the memory of the running copy.
constexpr qint64 MaxRequestBytes = 64;
constexpr auto RequestTimeout = 2s;
constexpr int MaxPeers = 32;
// Qt closes a server whose accept failed (no descriptor left); it is opened again.
constexpr auto ListenCheck = 2s;

void drop(LocalSocket *peer)
{
    peer->abort();
    peer->deleteLater();
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
    if (!runtime.isEmpty() && UserSession::isPrivateFolder(runtime))
        return runtime;
    const QString path = QStandardPaths::writableLocation(QStandardPaths::CacheLocation);
#endif
    if (path.isEmpty())
        return {};
    if (!QFileInfo::exists(path)) {
        if (!UserSession::mayMakeFolder(path)) {
            qCWarning(lcQuillbox, "%s would be made in a folder of another user: nothing is made there",
                      qPrintable(QDir::toNativeSeparators(path)));
            return {};
        }
        QDir().mkpath(QFileInfo(path).absolutePath());
        QDir().mkdir(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    return UserSession::isPrivateFolder(path) ? path : QString();
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
    return QStringLiteral("quillbox-%1-%2").arg(QString::fromLatin1(hash.toHex().left(16)), UserSession::userKey());
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
    // Pipe names are not paths, and every session sees them: the user's key and the
    // session's keep them apart.
    m_socketName = m_key + QLatin1Char('-') + UserSession::sessionKey();
#else
    m_socketName = folder + QLatin1Char('/') + m_key + QStringLiteral(".socket");
#endif
    m_lock = std::make_unique<QLockFile>(folder + QLatin1Char('/') + m_key + QStringLiteral(".lock"));
    // Never stale by age: only a lock whose process has died is taken over.
    m_lock->setStaleLockTime(0);

    const QDeadlineTimer deadline(AnswerTimeout);
    while (!m_lock->tryLock()) {
        if (m_lock->error() != QLockFile::LockFailedError) {
            qCWarning(lcQuillbox, "cannot take the lock %s: a second copy is not refused",
                      qPrintable(QDir::toNativeSeparators(m_lock->fileName())));
            return true;
        }
        switch (askRunningCopyToShow()) {
        case Answer::Shown:
            return false;
        case Answer::Stranger:
            qCWarning(lcQuillbox, "another user holds the name %s: a second copy is not refused",
                      qPrintable(m_socketName));
            return true;
        case Answer::None:
            break;
        }
        // Qt removes the lock of a process that died, but not one it cannot read.
        if (lockIsStale() && m_lock->removeStaleLockFile()) {
            qCWarning(lcQuillbox, "removed the lock %s, left by a copy that no longer runs",
                      qPrintable(QDir::toNativeSeparators(m_lock->fileName())));
            continue;
        }
        if (deadline.hasExpired()) {
            qCWarning(lcQuillbox, "the running copy, holding %s, does not answer; this one leaves",
                      qPrintable(QDir::toNativeSeparators(m_lock->fileName())));
            MsgBox(QStringLiteral("Une autre copie du Gestionnaire de Presse Papier est déjà lancée, "
                                  "mais elle ne répond pas.\rFermez-la, puis relancez le programme."),
                   MsgBoxStyle::Critical, QStringLiteral("Erreur"));
            return false;
        }
        QThread::msleep(50);
    }
    listen();
    return true;
}

// Shown only once the running copy has answered that it shows its window.
SingleInstance::Answer SingleInstance::askRunningCopyToShow() const
{
    LocalSocket socket;
    socket.connectToServer(m_socketName);
    if (!socket.waitForConnected(int(ConnectTimeout.count())))
        return Answer::None;
    // Nothing is sent to a stranger who took the name first.
    if (!UserSession::serverIsThisUser(socket.socketDescriptor()))
        return Answer::Stranger;
    if (socket.write(ShowRequest) != ShowRequest.size() || !socket.waitForBytesWritten(int(ConnectTimeout.count())))
        return Answer::None;
    const QDeadlineTimer deadline(AnswerTimeout);
    while (!socket.canReadLine()) {
        if (deadline.hasExpired() || !socket.waitForReadyRead(int(deadline.remainingTime())))
            return Answer::None;
    }
    return socket.readLine() == ShownAnswer ? Answer::Shown : Answer::None;
}

// A lock nobody answers for is stale when its holder cannot be named, or does not run on
// this machine.
bool SingleInstance::lockIsStale() const
{
    qint64 pid = 0;
    QString host;
    if (m_lock->getLockInfo(&pid, &host, nullptr))
        return (host.isEmpty() || host == UserSession::machineName()) && !UserSession::processRuns(pid);
    const QDateTime written = QFileInfo(m_lock->fileName()).lastModified();
    return written.isValid() && qAbs(written.msecsTo(QDateTime::currentDateTimeUtc())) > LockWrittenWithin.count();
}

void SingleInstance::listen()
{
    if (!m_server) {
        m_server = new LocalServer(this);
#ifdef Q_OS_WIN
        // The pipe's access list names the user alone, and its owner the user's SID, which
        // a later copy checks; elsewhere the private folder keeps others out.
        m_server->setSocketOptions(LocalServer::UserAccessOption);
#endif
        connect(m_server, &LocalServer::newConnection, this, &SingleInstance::acceptConnections);
        auto *check = new QTimer(this);
        connect(check, &QTimer::timeout, this, [this] {
            if (m_server->isListening())
                return;
            if (!m_listenFailed)
                qCWarning(lcQuillbox, "the socket closed (%s): listening again", qPrintable(m_server->errorString()));
            m_listenFailed = true;
            listen();
        });
        check->start(ListenCheck);
    }
    // Said once, not at each new attempt.
    const bool failed = m_listenFailed;
    m_listenFailed = true;
    if (UserSession::serverNameTaken(m_socketName)) {
        if (!failed)
            qCWarning(lcQuillbox, "another user holds the name %s: a second copy cannot ask this one to show",
                      qPrintable(m_socketName));
        return;
    }
    // The lock is ours: a socket there was left by a copy that died.
    LocalServer::removeServer(m_socketName);
    if (!m_server->listen(m_socketName)) {
        if (!failed)
            qCWarning(lcQuillbox, "a second copy cannot ask this one to show: %s", qPrintable(m_server->errorString()));
        return;
    }
    m_listenFailed = false;
}

void SingleInstance::acceptConnections()
{
    while (LocalSocket *peer = m_server->nextPendingConnection()) {
        if (m_peers.size() >= MaxPeers)
            drop(m_peers.takeFirst());
        m_peers.append(peer);
        peer->setReadBufferSize(MaxRequestBytes);
        QTimer::singleShot(RequestTimeout, peer, [peer] { drop(peer); });
        connect(peer, &LocalSocket::readyRead, this, [this, peer] { readRequest(peer); });
        connect(peer, &LocalSocket::disconnected, peer, &QObject::deleteLater);
        connect(peer, &QObject::destroyed, this, [this, peer] { m_peers.removeOne(peer); });
        readRequest(peer);
    }
}

// One request per connection, answered, then the connection closed.
void SingleInstance::readRequest(LocalSocket *peer)
{
    if (!peer->canReadLine()) {
        if (peer->bytesAvailable() >= MaxRequestBytes)
            drop(peer);
        return;
    }
    if (peer->readLine(MaxRequestBytes) == ShowRequest) {
        Q_EMIT showRequested();
        peer->write(ShownAnswer);
    }
    peer->disconnectFromServer();
}
