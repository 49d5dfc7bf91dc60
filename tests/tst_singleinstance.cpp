#include "platform/singleinstance.h"
#include "testsupport.h"

#include <QDateTime>
#include <QDir>
#include <QDeadlineTimer>
#include <QLocalSocket>
#include <QLockFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QThread>

#include <memory>
#include <utility>

#ifdef Q_OS_UNIX
#include <sys/resource.h>
#include <unistd.h>
#else
#include <windows.h>
#include <sddl.h>
#endif

namespace {

// The running copy answers from its event loop, which runs here while the later copy
// waits for the answer in a thread of its own. True when the later copy runs.
bool claimFromAnotherThread(SingleInstance &later)
{
    bool runs = false;
    const std::unique_ptr<QThread> launch(QThread::create([&] { runs = later.claim(); }));
    launch->start();
    if (!QTest::qWaitFor([&] { return launch->isFinished(); }, 15000))
        qFatal("the later copy never finished its claim");
    return runs;
}

} // namespace

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A private runtime folder for the lock and the socket, unless a test says otherwise.
    void init()
    {
        failOnProgramWarnings();
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(m_runtime.path()));
    }

    void keysFollowTheFolderNotItsSpelling()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("prog/sub"));
#ifdef Q_OS_WIN
        const QString other = "PROG";  // Windows spells a folder in any letter case
#else
        const QString other = "link";
        QVERIFY(QFile::link(root.filePath("prog"), root.filePath(other)));
#endif
        const QString key = SingleInstance::keyFor(root.filePath("prog"));
        for (const QString &spelling : {root.filePath("prog/"), root.filePath("prog/sub/.."), root.filePath(other),
                                        QDir::toNativeSeparators(root.filePath("prog"))})
            QCOMPARE(SingleInstance::keyFor(spelling), key);
        QVERIFY(SingleInstance::keyFor(root.filePath("prog/sub")) != key);
        // A folder made after the first launch, spelled another way, keeps its key.
        const QString later = SingleInstance::keyFor(root.filePath(other + "/later"));
        QVERIFY(QDir(root.path()).mkpath("prog/later"));
        QCOMPARE(SingleInstance::keyFor(root.filePath(other + "/later")), later);
    }

    void aSecondCopyOfAFolderIsRefusedAndTheFirstAskedToShow_data()
    {
        QTest::addColumn<QString>("runtime");
        QTest::newRow("the session's private runtime folder") << "private";
        QTest::newRow("no runtime folder (su, cron)") << "unset";
        // Made by another user before this one logged in: not to be trusted.
        QTest::newRow("a runtime folder others can enter") << "open";
    }

    void aSecondCopyOfAFolderIsRefusedAndTheFirstAskedToShow()
    {
        QFETCH(QString, runtime);
        QTemporaryDir runtimeFolder, home, folder, other;
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.path()));
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtimeFolder.path()));
        if (runtime == "unset")
            qunsetenv("XDG_RUNTIME_DIR");
        else if (runtime == "open")
            QFile::setPermissions(runtimeFolder.path(), QFile::Permissions(0x7777));
        SingleInstance first(folder.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(first.claim());
#ifndef Q_OS_WIN  // where Windows keeps them in the user's local application data
        // The lock and its socket in the runtime folder only when it is the user's alone.
        QCOMPARE(QDir(runtimeFolder.path()).isEmpty(), runtime != "private");
#endif
        for (int later = 1; later <= 2; ++later) {
            SingleInstance second(folder.path());
            QVERIFY(!claimFromAnotherThread(second));
            QCOMPARE(shown.count(), later);
        }
        SingleInstance elsewhere(other.path());
        QVERIFY(elsewhere.claim());
        // Nothing of it in the folder of the messages.
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    void aLockNobodyAnswersForIsRemovedUnlessItsHolderRuns_data()
    {
        QTest::addColumn<QByteArray>("lock"); // what the lock file holds; "held": a copy holds it
        QTest::addColumn<int>("age");         // seconds since it was written
        QTest::addColumn<QString>("warning"); // then whether this copy runs
        QTest::newRow("empty, left by a power cut") << QByteArray() << 60 << "removed the lock";
        QTest::newRow("unreadable") << QByteArray("\xff\xfe\n\x01") << 60 << "removed the lock";
        // Left to the copy that made it for a moment: it writes its lock at once.
        QTest::newRow("empty, just made by a copy starting") << QByteArray() << 0 << "removed the lock";
        QTest::newRow("held by a copy that does not answer") << QByteArray("held") << 0 << "does not answer";
    }

    void aLockNobodyAnswersForIsRemovedUnlessItsHolderRuns()
    {
        QFETCH(QByteArray, lock);
        QFETCH(int, age);
        QFETCH(QString, warning);
        QTemporaryDir folder;
        const QString path = SingleInstance::lockFolder() + '/' + SingleInstance::keyFor(folder.path()) + ".lock";
        QLockFile holder(path);
        QFile file(path);
        QVERIFY(lock == "held" ? holder.tryLock() : file.open(QIODevice::WriteOnly) && file.write(lock) == lock.size());
        QVERIFY(lock == "held" || file.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
        file.close();
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(warning));
        QStringList &boxes = FakePlatform::instance().shownBoxes;
        boxes.clear();
        const QDeadlineTimer moment(1500);
        SingleInstance later(folder.path());
        const bool runs = warning != "does not answer";
        QCOMPARE(later.claim(), runs);
        QVERIFY2(!lock.isEmpty() || age > 0 || moment.hasExpired(), "a lock just made was taken from its maker");
        QCOMPARE(boxes, runs ? QStringList() : QStringList{"Une autre copie du Gestionnaire de Presse Papier "
                 "est déjà lancée, mais elle ne répond pas.\\rFermez-la, puis relancez le programme.|16|Erreur"});
    }

    // Hundreds of idle connections, one sending a long line, then no descriptor left.
    void hostilePeersCannotStopTheRunningCopy()
    {
        QTemporaryDir folder;
        SingleInstance first(folder.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(first.claim());
        QObject peers;
        const auto connectPeer = [&] {
            auto *peer = new QLocalSocket(&peers);
            connect(peer, &QLocalSocket::disconnected, peer, &QObject::deleteLater);
            peer->connectToServer(first.serverName());
            QCoreApplication::processEvents();
        };
        for (int peer = 0; peer < 300; ++peer)
            connectPeer();
        // A long line drops its peer as it comes, before the idle one that came just before times out;
        // the others go after a moment at most.
        const QPointer<QLocalSocket> idle = peers.findChildren<QLocalSocket *>().last();
        connectPeer();
        const QPointer<QLocalSocket> talker = peers.findChildren<QLocalSocket *>().last();
        talker->write(QByteArray(4 << 20, 'x'));
        QTRY_VERIFY_WITH_TIMEOUT(!talker, 10000);
        QVERIFY(idle);
        QTRY_VERIFY_WITH_TIMEOUT(peers.children().isEmpty(), 10000);
#ifdef Q_OS_UNIX
        // The next descriptor is the last one: the peer's end takes it, and accept fails.
        rlimit limit{};
        ::getrlimit(RLIMIT_NOFILE, &limit);
        const int lowest = ::dup(0);
        ::close(lowest);
        const rlim_t allowed = std::exchange(limit.rlim_cur, rlim_t(lowest) + 1);
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &limit), 0);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("the socket closed"));
        connectPeer();
        const bool closed = QTest::qWaitFor([&] { return !QFile::exists(first.serverName()); });
        limit.rlim_cur = allowed;
        ::setrlimit(RLIMIT_NOFILE, &limit);
        QVERIFY(closed);
#endif
        // The running copy still there for a later one.
        SingleInstance later(folder.path());
        QVERIFY(!claimFromAnotherThread(later));
        QCOMPARE(shown.count(), 1);
    }

    void nothingIsMadeInTheHomeOfAnotherUser()
    {
#ifdef Q_OS_UNIX
        if (::geteuid() != 0)
            QSKIP("giving a folder to another user needs root");
        QTemporaryDir home, folder; // root keeping that user's HOME, without a runtime folder: su without -
        QCOMPARE(::chown(QFile::encodeName(home.path()).constData(), 65534, 65534), 0);
        qputenv("XDG_CACHE_HOME", QFile::encodeName(home.filePath(".cache")));
        qunsetenv("XDG_RUNTIME_DIR");
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("in a folder of another user: nothing is made"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no private folder for the lock"));
        SingleInstance unguarded(folder.path());
        QVERIFY(unguarded.claim());
        QCOMPARE(QDir(home.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries | QDir::Hidden), QStringList());
#else
        QSKIP("the user's own folders of Windows are the user's by their access lists");
#endif
    }

    void aPipeAnotherUserMadeFirstIsNeverAskedToShow()
    {
#ifdef Q_OS_WIN
        QTemporaryDir folder;
        const QString name = [&] { SingleInstance probe(folder.path()); probe.claim(); return probe.serverName(); }();
        DWORD session = 0;
        QVERIFY(::ProcessIdToSessionId(::GetCurrentProcessId(), &session));
        QVERIFY2(QRegularExpression(QStringLiteral("^quillbox-[0-9a-f]{16}-S-1-5-[0-9-]+-%1$").arg(session)).match(name).hasMatch(),
                 qPrintable(name));
        // Made first by another user, who lets everybody in: here the system's own account.
        SECURITY_ATTRIBUTES stranger{sizeof(SECURITY_ATTRIBUTES), nullptr, FALSE};
        QVERIFY(::ConvertStringSecurityDescriptorToSecurityDescriptorW(L"O:SYD:(A;;GA;;;WD)", SDDL_REVISION_1,
                                                                       &stranger.lpSecurityDescriptor, nullptr));
        const HANDLE pipe = ::CreateNamedPipeW(reinterpret_cast<const wchar_t *>(("\\\\.\\pipe\\" + name).utf16()),
                                               PIPE_ACCESS_DUPLEX, PIPE_TYPE_BYTE, PIPE_UNLIMITED_INSTANCES, 0, 0, 0, &stranger);
        ::LocalFree(stranger.lpSecurityDescriptor);
        QVERIFY(pipe != INVALID_HANDLE_VALUE);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("another user holds the name .*: a second copy cannot ask"));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression("another user holds the name .*: a second copy is not refused"));
        SingleInstance first(folder.path()), second(folder.path());
        QVERIFY(first.claim());
        QVERIFY(second.claim()); // unguarded, the stranger's pipe sent nothing
        ::CloseHandle(pipe);
#else
        QSKIP("a socket in a private folder: nobody else can make its name");
#endif
    }

private:
    QTemporaryDir m_runtime;
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
