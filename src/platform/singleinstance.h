#pragma once

#include "platform/localserver.h"

#include <QList>
#include <QObject>
#include <QString>

#include <memory>

class QLockFile;

// Keeps one running copy per program folder and user: two copies working on the same
// slot files, each with an icon of its own, would only confuse the user. An exclusive
// lock decides which copy runs; a later copy asks the running one, over a local
// socket, to show its window and then leaves. Both live in a folder of the user's own
// (see lockFolder()), where no other user can take them first.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is now the folder's running one, or must run unguarded; false
    // when another copy runs there and has been asked to show its window, or runs but
    // does not answer, which a box then tells the user.
    bool claim();
    // The local server's name, once claim() has run: a socket's path, or a pipe's name.
    QString serverName() const { return m_socketName; }

    // Where the lock and the socket live: a folder that only this user can make or
    // enter, created when missing; empty when there is none.
    static QString lockFolder();
    // Distinct per folder, whatever its spelling, and per user.
    static QString keyFor(const QString &folder);

Q_SIGNALS:
    void showRequested();

private:
    enum class Answer { Shown, None, Stranger };
    Answer askRunningCopyToShow() const;
    bool lockIsStale() const;
    void listen();
    void acceptConnections();
    void readRequest(LocalSocket *peer);

    QString m_key;
    QString m_socketName;
    std::unique_ptr<QLockFile> m_lock;
    LocalServer *m_server = nullptr;
    QList<LocalSocket *> m_peers;
    bool m_listenFailed = false;
};
