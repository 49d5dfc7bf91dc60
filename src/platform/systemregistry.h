#pragma once

#include "platform/registry.h"

// The machine's own registry, behind SystemPlatform: one implementation per system, chosen
// by the build. The program reads the registry through Registry::RegOpenKeyExA and the
// calls beside it, which a test can fake; nothing else calls these.
namespace SystemRegistry {

long openKey(quint32 root, const QString &subKey, Registry::HKey *result);
long queryValue(Registry::HKey key, const QString &valueName, quint32 *type, quint8 *data,
                quint32 *size);
long closeKey(Registry::HKey key);

} // namespace SystemRegistry
