#include "localserver.h"

#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

LocalServer::~LocalServer()
{
    close();
}

bool LocalServer::listen(const QString &name)
{
    close();
    sockaddr_un address;
    if (!UnixSocket::addressOf(name, &address)) {
        m_error = QStringLiteral("the socket's path is too long: %1").arg(name);
        return false;
    }
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0 || ::bind(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0
        || ::listen(descriptor, SOMAXCONN) != 0) {
        m_error = QString::fromLocal8Bit(std::strerror(errno));
        if (descriptor >= 0)
            ::close(descriptor);
        return false;
    }
    m_name = name;
    m_fd = descriptor;
    m_notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &LocalServer::acceptConnections);
    return true;
}

void LocalServer::acceptConnections()
{
    const qsizetype before = m_pending.size();
    while (m_fd >= 0) {
        const int descriptor = ::accept4(m_fd, nullptr, nullptr, SOCK_CLOEXEC | SOCK_NONBLOCK);
        if (descriptor >= 0) {
            m_pending.append(new LocalSocket(descriptor, this));
        } else if (errno != EINTR && errno != ECONNABORTED) {
            // Out of descriptors, or worse: a server that cannot accept would be woken for
            // ever by the peer waiting in its queue.
            if (errno != EAGAIN && errno != EWOULDBLOCK) {
                m_error = QString::fromLocal8Bit(std::strerror(errno));
                close();
            }
            break;
        }
    }
    if (m_pending.size() > before)
        Q_EMIT newConnection();
}

LocalSocket *LocalServer::nextPendingConnection()
{
    return m_pending.isEmpty() ? nullptr : m_pending.takeFirst();
}

void LocalServer::close()
{
    if (m_fd < 0)
        return;
    UnixSocket::close(&m_fd, &m_notifier);
    removeServer(m_name);
}

bool LocalServer::removeServer(const QString &name)
{
    return ::unlink(QFile::encodeName(name).constData()) == 0 || errno == ENOENT;
}
