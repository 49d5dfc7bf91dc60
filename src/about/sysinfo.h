#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

// The system-information launcher behind the About box's "&Système Info...": it finds the
// tool through two registry values and starts it.

// The application title: the About box's caption and title, and the caption of the
// message that says the tool cannot be found.
inline const QString AppTitle = QStringLiteral("Quillbox");

// Finds the system-information program through the registry and starts it, or says that
// it cannot be found.
void StartSysInfo();

// Reads the value SubKeyRef of the key KeyName under KeyRoot into KeyVal; true when a value
// was read, false when none was, nothing when a value of size 0 fails the whole lookup.
std::optional<bool> GetKeyValue(quint32 &KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                                QString &KeyVal);
