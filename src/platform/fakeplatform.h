#pragma once

#include "platform/platform.h"
#include "platform/registrytable.h"

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

    // Answers each message box; unset, every box is answered OK.
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
