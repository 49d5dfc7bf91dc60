#include "registry.h"

#include "platform/platform.h"

namespace {
quint32 lastAccessMask = 0;
}

namespace Registry {

long RegOpenKeyExA(quint32 root, const QString &subKey, quint32 options, quint32 samDesired,
                   HKey *result)
{
    Q_UNUSED(options);
    lastAccessMask = samDesired;
    return Platform::current().regOpenKey(root, subKey, result);
}

long RegQueryValueExA(HKey key, const QString &valueName, quint32 *reserved, quint32 *type,
                      quint8 *data, quint32 *size)
{
    Q_UNUSED(reserved);
    return Platform::current().regQueryValue(key, valueName, type, data, size);
}

long RegCloseKey(HKey key)
{
    return Platform::current().regCloseKey(key);
}

quint32 LastAccessMask()
{
    return lastAccessMask;
}

} // namespace Registry
