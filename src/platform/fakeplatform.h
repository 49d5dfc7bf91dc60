#pragma once

#include "platform/platform.h"
#include "platform/registrytable.h"

#include <QList>
#include <QStringList>

#include <functional>

// Stands in for the system in tests: nothing is shown, started, opened or ended; the
// fake records what was asked and answers from what the test set.
class FakePlatform : public Platform
{
public:
    // The fake, put in the system's place on first use for the rest of the process.
    static FakePlatform &instance();

    int messageBox(const QString &prompt, int style, const QString &title,
                   const QString &detailedText) override;
    bool startProgram(const QString &path) override;
    void shellOpen(const QString &target) override;
    void endProgram() override;

    long regOpenKey(quint32 root, const QString &subKey, Registry::HKey *result) override;
    long regQueryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                       quint8 *data, quint32 *size) override;
    long regCloseKey(Registry::HKey key) override;

    QString programFolder() override { return folder; }

    // Each message box shown, as "prompt|style|title", then "|details" when given; the
    // prompt's CRs written \r.
    QStringList shownBoxes;
    // Runs while a box is up, the program waiting for its answer.
    std::function<void()> whileBoxShows;
    // The answers of the next boxes, in order; once none is left, OK.
    QList<int> boxAnswers;
    // Answers each message box instead, when set.
    std::function<int(const QString &prompt, int style, const QString &title,
                      const QString &detailedText)> answerMessageBox;
    QStringList startedPrograms;
    bool programsStart = true;
    QStringList openedTargets;
    // Runs where the program would end.
    std::function<void()> onEndProgram;
    RegistryTable registry;
    QString folder;
};
