#include "localsocket.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QSocketNotifier>

#include <cerrno>
#include <cstring>
#include <poll.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

namespace {

// Waits for events on descriptor until the deadline; false when it passed first.
bool waitFor(int descriptor, short events, const QDeadlineTimer &deadline)
{
    pollfd ready{descriptor, events, 0};
    for (;;) {
        const int count = ::poll(&ready, 1, int(deadline.remainingTime()));
        if (count >= 0 || errno != EINTR)
            return count > 0;
    }
}

} // namespace

bool UnixSocket::addressOf(const QString &path, sockaddr_un *address)
{
    const QByteArray bytes = QFile::encodeName(path);
    *address = {};
    address->sun_family = AF_UNIX;
    if (bytes.isEmpty() || size_t(bytes.size()) >= sizeof address->sun_path)
        return false;
    std::memcpy(address->sun_path, bytes.constData(), size_t(bytes.size()));
    return true;
}

void UnixSocket::close(int *descriptor, QSocketNotifier **notifier)
{
    (*notifier)->setEnabled(false);
    (*notifier)->deleteLater();
    *notifier = nullptr;
    ::close(*descriptor);
    *descriptor = -1;
}

LocalSocket::LocalSocket(QObject *parent)
    : QIODevice(parent)
{
}

LocalSocket::LocalSocket(int descriptor, QObject *parent)
    : QIODevice(parent)
{
    attach(descriptor);
}

LocalSocket::~LocalSocket()
{
    if (m_fd >= 0)
        ::close(m_fd);
}

void LocalSocket::attach(int descriptor)
{
    m_fd = descriptor;
    open(QIODevice::ReadWrite | QIODevice::Unbuffered);
    m_notifier = new QSocketNotifier(descriptor, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, [this] {
        if (fillBuffer() > 0)
            Q_EMIT readyRead();
    });
}

bool LocalSocket::waitForConnected(int msecs)
{
    if (m_fd >= 0)
        return true;
    sockaddr_un address;
    if (!UnixSocket::addressOf(m_serverName, &address))
        return false;
    const int descriptor = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0);
    if (descriptor < 0)
        return false;
    // A server whose queue of connections is full says "try again"; anything else is final.
    const QDeadlineTimer deadline(msecs);
    while (::connect(descriptor, reinterpret_cast<const sockaddr *>(&address), sizeof address) != 0) {
        if ((errno != EAGAIN && errno != EINTR) || deadline.hasExpired()) {
            ::close(descriptor);
            return false;
        }
        ::poll(nullptr, 0, 10);
    }
    attach(descriptor);
    return true;
}

bool LocalSocket::waitForBytesWritten(int msecs)
{
    Q_UNUSED(msecs);
    // Nothing waits: writeData() wrote it all, or failed.
    return m_fd >= 0;
}

bool LocalSocket::waitForReadyRead(int msecs)
{
    const QDeadlineTimer deadline(msecs);
    while (m_fd >= 0 && waitFor(m_fd, POLLIN, deadline)) {
        if (fillBuffer() > 0) {
            Q_EMIT readyRead();
            return true;
        }
    }
    return false;
}

// Reads what the peer sent, up to the cap, and closes the connection when the peer has;
// returns the number of bytes read.
qint64 LocalSocket::fillBuffer()
{
    const qint64 room = m_readCap > 0 ? m_readCap - m_buffer.size() : 4096;
    if (room <= 0) {
        // Read again once the reader has taken some: until then the notifier would fire
        // for ever on the bytes left in the socket.
        m_notifier->setEnabled(false);
        return 0;
    }
    char chunk[4096];
    const ssize_t count = ::recv(m_fd, chunk, size_t(qMin<qint64>(room, sizeof chunk)), 0);
    if (count > 0) {
        m_buffer.append(chunk, count);
        return count;
    }
    if (count == 0 || (errno != EAGAIN && errno != EINTR))
        abort();
    return 0;
}

qint64 LocalSocket::readData(char *data, qint64 maxSize)
{
    const qint64 count = qMin<qint64>(maxSize, m_buffer.size());
    std::memcpy(data, m_buffer.constData(), size_t(count));
    m_buffer.remove(0, count);
    if (m_notifier && count > 0)
        m_notifier->setEnabled(true);
    return count;
}

qint64 LocalSocket::writeData(const char *data, qint64 size)
{
    if (m_fd < 0)
        return -1;
    const ssize_t count = ::send(m_fd, data, size_t(size), MSG_NOSIGNAL);
    return count >= 0 ? count : (errno == EAGAIN ? 0 : -1);
}

qint64 LocalSocket::bytesAvailable() const
{
    return m_buffer.size() + QIODevice::bytesAvailable();
}

bool LocalSocket::canReadLine() const
{
    return m_buffer.contains('\n') || QIODevice::canReadLine();
}

void LocalSocket::disconnectFromServer()
{
    abort();
}

void LocalSocket::abort()
{
    if (m_fd < 0)
        return;
    UnixSocket::close(&m_fd, &m_notifier);
    QIODevice::close();
    Q_EMIT disconnected();
}
