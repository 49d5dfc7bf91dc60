#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

// Leaves a socket file with nobody listening behind it, as a killed copy does.
static bool leaveStaleSocket(const QString &serverName)
{
    QLocalServer probe;
    if (!probe.listen(serverName))
        return false;
    const QByteArray path = QFile::encodeName(probe.fullServerName());
    probe.close();

    sockaddr_un address = {};
    address.sun_family = AF_UNIX;
    qstrncpy(address.sun_path, path.constData(), sizeof(address.sun_path));
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    const bool bound = ::bind(fd, reinterpret_cast<sockaddr *>(&address), sizeof(address)) == 0;
    ::close(fd);
    return bound && QFile::exists(QFile::decodeName(path));
}

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void namesFollowTheFolderNotItsSpelling_data()
    {
        QTest::addColumn<QString>("otherSpelling");
        QTest::addColumn<bool>("sameName");

        QTest::newRow("trailing slash") << QStringLiteral("prog/") << true;
        QTest::newRow("dot segments") << QStringLiteral("prog/sub/..") << true;
        QTest::newRow("symbolic link") << QStringLiteral("link") << true;
        QTest::newRow("another folder") << QStringLiteral("prog/sub") << false;
    }

    void namesFollowTheFolderNotItsSpelling()
    {
        QFETCH(QString, otherSpelling);
        QFETCH(bool, sameName);
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath(QStringLiteral("prog/sub")));
        QVERIFY(QFile::link(root.filePath(QStringLiteral("prog")), root.filePath(QStringLiteral("link"))));

        const QString name = SingleInstance::serverNameFor(root.filePath(QStringLiteral("prog")));
        QCOMPARE(SingleInstance::serverNameFor(root.filePath(otherSpelling)) == name, sameName);
        QVERIFY(name.startsWith(QLatin1String("quillbox-")));
        QVERIFY2(name.size() <= 40, qPrintable(name));
    }

    void aSecondCopyInTheSameFolderIsRefusedAndTheFirstAskedToShow()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(first.claim());

        SingleInstance second(folder.path());
        QVERIFY(!second.claim());
        QTRY_COMPARE(shown.count(), 1);

        // The refused copy took nothing over: the first still answers.
        SingleInstance third(folder.path());
        QVERIFY(!third.claim());
        QTRY_COMPARE(shown.count(), 2);
    }

    void copiesInOtherFoldersAreIndependent()
    {
        QTemporaryDir folderA;
        QTemporaryDir folderB;
        SingleInstance first(folderA.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(first.claim());

        SingleInstance other(folderB.path());
        QVERIFY(other.claim());
        QTest::qWait(100);
        QCOMPARE(shown.count(), 0);
    }

    void theFolderIsFreeAgainAfterACopyEndsOrIsKilled_data()
    {
        QTest::addColumn<bool>("killed");
        QTest::newRow("ended cleanly") << false;
        QTest::newRow("killed, socket left behind") << true;
    }

    void theFolderIsFreeAgainAfterACopyEndsOrIsKilled()
    {
        QFETCH(bool, killed);
        QTemporaryDir folder;
        if (killed) {
            QVERIFY(leaveStaleSocket(SingleInstance::serverNameFor(folder.path())));
        } else {
            SingleInstance earlier(folder.path());
            QVERIFY(earlier.claim());
        }

        SingleInstance next(folder.path());
        QSignalSpy shown(&next, &SingleInstance::showRequested);
        QVERIFY(next.claim());
        SingleInstance later(folder.path());
        QVERIFY(!later.claim());
        QTRY_COMPARE(shown.count(), 1);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
