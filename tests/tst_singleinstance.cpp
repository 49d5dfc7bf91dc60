#include "platform/singleinstance.h"
#include "programwarnings.h"

#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

class TestSingleInstance : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init() { failOnProgramWarnings(); }
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
};

QTEST_GUILESS_MAIN(TestSingleInstance)
#include "tst_singleinstance.moc"
