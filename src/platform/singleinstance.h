#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

// Keeps one running copy per program folder: two copies working on the same slot
// files, each with an icon of its own, would only confuse the user. A later copy
// asks the running one to show its window and then leaves.
class SingleInstance : public QObject
{
    Q_OBJECT

public:
    explicit SingleInstance(const QString &folder, QObject *parent = nullptr);
    ~SingleInstance() override;

    // True when this copy is now the folder's running one; false when another copy
    // already runs there and has been asked to show its window.
    bool claim();

    QString serverName() const { return m_serverName; }

    // Short enough for a socket path, distinct per folder and per user.
    static QString serverNameFor(const QString &folder);

Q_SIGNALS:
    void showRequested();

private:
    bool askRunningCopyToShow();
    void acceptRequests();

    QString m_serverName;
    QLocalServer *m_server = nullptr;
};
