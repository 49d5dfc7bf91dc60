#include "platform/singleinstance.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keysFollowTheFolderNotItsSpelling()
    {
        QTemporaryDir root;
        QVERIFY(QDir(root.path()).mkpath("prog/sub"));
        QVERIFY(QFile::link(root.filePath("prog"), root.filePath("link")));
        const QString key = SingleInstance::keyFor(root.filePath("prog"));
        for (const char *spelling : {"prog/", "prog/sub/..", "link"})
            QCOMPARE(SingleInstance::keyFor(root.filePath(spelling)), key);
        QVERIFY(SingleInstance::keyFor(root.filePath("prog/sub")) != key);
        // A folder made after the first launch, through the link, keeps its key.
        const QString later = SingleInstance::keyFor(root.filePath("link/later"));
        QVERIFY(QDir(root.path()).mkpath("prog/later"));
        QCOMPARE(SingleInstance::keyFor(root.filePath("link/later")), later);
    }

    void aSecondCopyOfAFolderIsRefusedAndTheFirstAskedToShow()
    {
        QTemporaryDir runtime, folder, other;
        qputenv("XDG_RUNTIME_DIR", QFile::encodeName(runtime.path()));
        SingleInstance first(folder.path());
        QSignalSpy shown(&first, &SingleInstance::showRequested);
        QVERIFY(first.claim());
        for (int later = 1; later <= 2; ++later) {
            SingleInstance second(folder.path());
            QVERIFY(!second.claim());
            QTRY_COMPARE(shown.count(), later);
        }
        SingleInstance elsewhere(other.path());
        QVERIFY(elsewhere.claim());
        // Nothing of it outside the user's own runtime folder.
        QCOMPARE(QDir(folder.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());
    }

    // A copy killed leaves its lock and its socket behind; two copies started at once
    // after it must end with exactly one running, which the next launch reaches.
    void twoCopiesAtOnceAfterAKillLeaveExactlyOneRunning()
    {
        QTemporaryDir scratch;
        const QString program = scratch.filePath("quillbox");
        QVERIFY(QFile::copy(QStringLiteral(QUILLBOX_PROGRAM), program));
        QVERIFY(QDir(scratch.path()).mkdir("runtime"));
        QFile::setPermissions(scratch.filePath("runtime"), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("QT_QPA_PLATFORM", "offscreen");
        env.insert("XDG_RUNTIME_DIR", scratch.filePath("runtime"));
        const QString socket = scratch.filePath("runtime/" + SingleInstance::keyFor(scratch.path()) + ".socket");
        const auto start = [&] {
            auto copy = std::make_unique<QProcess>();
            copy->setProcessEnvironment(env);
            copy->start(program, {});
            return copy;
        };

        std::unique_ptr<QProcess> running = start();
        for (int round = 1; round <= 20; ++round) {
            QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(socket), 10000);
            running->kill();
            QVERIFY(running->waitForFinished(5000));
            std::unique_ptr<QProcess> pair[] = {start(), start()};
            QTRY_VERIFY_WITH_TIMEOUT(pair[0]->state() == QProcess::NotRunning
                                         || pair[1]->state() == QProcess::NotRunning, 10000);
            const int loser = pair[0]->state() == QProcess::NotRunning ? 0 : 1;
            QCOMPARE(pair[loser]->exitCode(), 0);
            QTest::qWait(200);
            QVERIFY2(pair[1 - loser]->state() == QProcess::Running, qPrintable(QString::number(round)));
            std::unique_ptr<QProcess> next = start();
            QVERIFY(next->waitForFinished(10000));
            QCOMPARE(next->exitCode(), 0);
            running = std::move(pair[1 - loser]);
        }
        running->kill();
        running->waitForFinished(5000);
    }
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
