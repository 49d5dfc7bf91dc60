#pragma once

#include "platform/registry.h"

namespace System {

// The registry the program reads when no test has installed a table: one
// implementation per system, chosen by the build.
long regOpenKey(quint32 root, const QString &subKey, Registry::HKey *result);
long regQueryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                   quint8 *data, quint32 *size);
long regCloseKey(Registry::HKey key);

} // namespace System
