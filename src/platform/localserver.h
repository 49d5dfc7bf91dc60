#pragma once

#include "platform/localsocket.h"

#ifdef Q_OS_WIN

#include <QLocalServer>

using LocalServer = QLocalServer;

#else

#include <QList>
#include <QObject>
#include <QString>

class QSocketNotifier;

// A Unix socket's listening end, with the calls the single-instance guard makes of Qt's
// QLocalServer (see LocalSocket). As Qt's own server does, it closes when it cannot accept
// any more (no descriptor left), and removes its socket file when it closes.
class LocalServer : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;
    ~LocalServer() override;

    bool listen(const QString &name);
    bool isListening() const { return m_fd >= 0; }
    QString errorString() const { return m_error; }
    LocalSocket *nextPendingConnection();
    void close();

    static bool removeServer(const QString &name);

Q_SIGNALS:
    void newConnection();

private:
    void acceptConnections();

    QString m_name;
    int m_fd = -1;
    QSocketNotifier *m_notifier = nullptr;
    QList<LocalSocket *> m_pending;
    QString m_error;
};

#endif
