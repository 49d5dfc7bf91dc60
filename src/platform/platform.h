#pragma once

#include "platform/registry.h"

#include <QString>

// Everything the program asks of the system that a test must not do for real: message
// boxes, starting and ending programs, opening links, the registry and the program folder.
// The layers' free functions (MsgBox, System::startProgram, ...) ask the platform in use.
// The notification area has a seam of its own, TrayBackend.
class Platform
{
public:
    virtual ~Platform();

    virtual int messageBox(const QString &prompt, int style, const QString &title,
                           const QString &detailedText) = 0;
    virtual bool startProgram(const QString &path) = 0;
    virtual void shellOpen(const QString &target) = 0;
    virtual void endProgram() = 0;

    virtual long regOpenKey(quint32 root, const QString &subKey, Registry::HKey *result) = 0;
    virtual long regQueryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                               quint8 *data, quint32 *size) = 0;
    virtual long regCloseKey(Registry::HKey key) = 0;

    virtual QString programFolder() = 0;

    // The platform installed, or else the system's.
    static Platform &current();
    // Puts platform (not owned) in the system's place; nullptr restores the system.
    static void install(Platform *platform);
};
