#pragma once

#include "platform/platform.h"

// The real system: Qt's message boxes, processes and desktop services, the machine's
// registry (or its stand-in) and the program folder the install decides.
class SystemPlatform : public Platform
{
public:
    int messageBox(const QString &prompt, int style, const QString &title,
                   const QString &detailedText) override;
    bool startProgram(const QString &path) override;
    void shellOpen(const QString &target) override;
    void endProgram() override;

    long regOpenKey(quint32 root, const QString &subKey, Registry::HKey *result) override;
    long regQueryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                       quint8 *data, quint32 *size) override;
    long regCloseKey(Registry::HKey key) override;

    QString programFolder() override;
};
