#pragma once

#include <QtGlobal>

#ifdef Q_OS_WIN

#include <QLocalSocket>

// Windows: Qt's named pipes, whose access lists name the user.
using LocalSocket = QLocalSocket;

#else

#include <QByteArray>
#include <QIODevice>
#include <QString>

class QSocketNotifier;
struct sockaddr_un;

namespace UnixSocket {
// The address of the socket file at path; false when the path is too long for one.
bool addressOf(const QString &path, sockaddr_un *address);
// Closes descriptor and its notifier, which may be what called: it goes once its call has
// returned. Both are reset.
void close(int *descriptor, QSocketNotifier **notifier);
}

// One end of a Unix socket, with the calls the single-instance guard makes of Qt's
// QLocalSocket, over Qt Core alone: loading Qt's network library for a dozen bytes would
// cost every start-up some 2 ms and 1.4 MB. Reads wait in a buffer that
// setReadBufferSize() caps; writes, a few bytes, go out at once.
class LocalSocket : public QIODevice
{
    Q_OBJECT

public:
    explicit LocalSocket(QObject *parent = nullptr);
    // The server's end of a connection it accepted.
    LocalSocket(int descriptor, QObject *parent);
    ~LocalSocket() override;

    void connectToServer(const QString &name) { m_serverName = name; }
    bool waitForConnected(int msecs);
    bool waitForBytesWritten(int msecs) override;
    bool waitForReadyRead(int msecs) override;
    // Both close the connection at once, and say so with disconnected().
    void disconnectFromServer();
    void abort();

    qintptr socketDescriptor() const { return m_fd; }
    void setReadBufferSize(qint64 size) { m_readCap = size; }

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override;
    bool canReadLine() const override;

Q_SIGNALS:
    void disconnected();

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    void attach(int descriptor);
    qint64 fillBuffer();

    QString m_serverName;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QByteArray m_buffer;
    qint64 m_readCap = 0;
};

#endif
