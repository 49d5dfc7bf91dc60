#include "singleinstance.h"

#include "logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>

#ifdef Q_OS_UNIX
#include <unistd.h>
#endif

namespace {

const QByteArray ShowRequest = QByteArrayLiteral("show\n");
const int ConnectTimeoutMs = 1000;

QString userKey()
{
#ifdef Q_OS_UNIX
    return QString::number(::getuid());
#else
    return qEnvironmentVariable("USERNAME");
#endif
}

} // namespace

SingleInstance::SingleInstance(const QString &folder, QObject *parent)
    : QObject(parent), m_serverName(serverNameFor(folder))
{
}

SingleInstance::~SingleInstance() = default;

QString SingleInstance::serverNameFor(const QString &folder)
{
    const QFileInfo info(folder);
    QString path = info.canonicalFilePath();
    if (path.isEmpty())
        path = QDir::cleanPath(info.absoluteFilePath());
    const QByteArray hash = QCryptographicHash::hash(path.toUtf8(), QCryptographicHash::Sha1);
    // 16 hex digits keep the socket path well under the 108-byte limit of Unix sockets.
    return QStringLiteral("quillbox-%1-%2")
            .arg(QString::fromLatin1(hash.toHex().left(16)), userKey());
}

bool SingleInstance::claim()
{
    // No access options: with them Qt renames its socket over an existing one, and a
    // second copy would take the name from the first instead of being refused.
    m_server = new QLocalServer(this);
    if (m_server->listen(m_serverName)) {
        acceptRequests();
        return true;
    }
    if (askRunningCopyToShow())
        return false;

    // Nobody answers: the socket was left behind by a copy that was killed.
    QLocalServer::removeServer(m_serverName);
    if (m_server->listen(m_serverName))
        acceptRequests();
    else
        qCWarning(lcQuillbox, "cannot guard against a second copy: %s", qPrintable(m_server->errorString()));
    // Running unguarded is better than not running at all.
    return true;
}

bool SingleInstance::askRunningCopyToShow()
{
    QLocalSocket socket;
    socket.connectToServer(m_serverName);
    if (!socket.waitForConnected(ConnectTimeoutMs))
        return false;
    socket.write(ShowRequest);
    socket.waitForBytesWritten(ConnectTimeoutMs);
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::acceptRequests()
{
    connect(m_server, &QLocalServer::newConnection, this, [this] {
        while (QLocalSocket *socket = m_server->nextPendingConnection()) {
            const auto readRequests = [this, socket] {
                while (socket->canReadLine()) {
                    if (socket->readLine() == ShowRequest)
                        Q_EMIT showRequested();
                }
            };
            connect(socket, &QLocalSocket::readyRead, this, readRequests);
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            readRequests();
        }
    });
}
