#include "registry.h"

#include "platform/registrytable.h"
#include "platform/systemregistry.h"

namespace {

RegistryTable *testTable = nullptr;
quint32 lastAccessMask = 0;

} // namespace

namespace Registry {

long RegOpenKeyExA(quint32 root, const QString &subKey, quint32 options, quint32 samDesired,
                   HKey *result)
{
    Q_UNUSED(options);
    lastAccessMask = samDesired;
    if (testTable)
        return testTable->openKey(root, subKey, result);
    return SystemRegOpenKey(root, subKey, result);
}

long RegQueryValueExA(HKey key, const QString &valueName, quint32 *reserved, quint32 *type,
                      quint8 *data, quint32 *size)
{
    Q_UNUSED(reserved);
    if (testTable)
        return testTable->queryValue(key, valueName, type, data, size);
    return SystemRegQueryValue(key, valueName, type, data, size);
}

long RegCloseKey(HKey key)
{
    if (testTable)
        return testTable->closeKey(key);
    return SystemRegCloseKey(key);
}

quint32 LastAccessMask()
{
    return lastAccessMask;
}

void SetRegistryTable(RegistryTable *table)
{
    testTable = table;
}

} // namespace Registry
