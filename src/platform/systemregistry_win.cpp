#include "systemregistry.h"

#include <QByteArray>

#include <windows.h>

namespace {

HKEY toHKey(Registry::HKey key)
{
    return reinterpret_cast<HKEY>(key);
}

} // namespace

long SystemRegistry::openKey(quint32 root, const QString &subKey, Registry::HKey *result)
{
    // The predefined roots are sign-extended 32-bit values.
    const auto rootKey = reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(root)));
    const QByteArray name = subKey.toLocal8Bit();
    HKEY key = nullptr;
    // Only reading is needed. Asking for write rights under HKEY_LOCAL_MACHINE, as the
    // caller's mask does, is refused to ordinary users and the tool would never be found.
    const LONG rc = ::RegOpenKeyExA(rootKey, name.constData(), 0, KEY_READ, &key);
    if (rc == ERROR_SUCCESS)
        *result = reinterpret_cast<Registry::HKey>(key);
    return rc;
}

long SystemRegistry::queryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                                quint8 *data, quint32 *size)
{
    const QByteArray name = valueName.toLocal8Bit();
    DWORD valueType = 0;
    DWORD valueSize = *size;
    const LONG rc = ::RegQueryValueExA(toHKey(key), name.constData(), nullptr, &valueType, data,
                                       &valueSize);
    *type = valueType;
    *size = valueSize;
    return rc;
}

long SystemRegistry::closeKey(Registry::HKey key)
{
    return ::RegCloseKey(toHKey(key));
}
