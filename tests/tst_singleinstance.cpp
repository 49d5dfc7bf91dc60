#include "platform/singleinstance.h"
#include "programwarnings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnProgramWarnings(); }
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
            // The running copy answers from its event loop, which runs while the later
            // copy waits for the answer in a thread of its own.
            bool refused = false;
            QThread *launch = QThread::create([&] { refused = !second.claim(); });
            launch->start();
            QTRY_VERIFY(launch->isFinished());
            delete launch;
            QVERIFY(refused);
            QCOMPARE(shown.count(), later);
        }
        SingleInstance elsewhere(other.path());
        QVERIFY(elsewhere.claim());
        // Nothing of it in the folder of the messages.
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
