#include "registrytable.h"

#include <cstring>

void RegistryTable::setValue(quint32 root, const QString &subKey, const QString &valueName,
                             quint32 type, const QByteArray &data)
{
    m_keys[keyPath(root, subKey)][valueName.toCaseFolded()] = Value{type, data};
}

long RegistryTable::openKey(quint32 root, const QString &subKey, Registry::HKey *result)
{
    const QString path = keyPath(root, subKey);
    if (!keyExists(path))
        return Registry::FileNotFound;
    const Registry::HKey handle = m_nextHandle++;
    m_openKeys.insert(handle, path);
    *result = handle;
    return Registry::Success;
}

long RegistryTable::queryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                               quint8 *data, quint32 *size) const
{
    const auto open = m_openKeys.constFind(key);
    if (open == m_openKeys.constEnd())
        return Registry::InvalidHandle;
    const QHash<QString, Value> values = m_keys.value(*open);
    const auto found = values.constFind(valueName.toCaseFolded());
    if (found == values.constEnd())
        return Registry::FileNotFound;

    const quint32 room = *size;
    *type = found->type;
    *size = quint32(found->data.size());
    if (*size > room)
        return Registry::MoreData;
    if (*size > 0)
        std::memcpy(data, found->data.constData(), *size);
    return Registry::Success;
}

long RegistryTable::closeKey(Registry::HKey key)
{
    return m_openKeys.remove(key) ? Registry::Success : Registry::InvalidHandle;
}

QString RegistryTable::keyPath(quint32 root, const QString &subKey)
{
    return QString::number(root, 16) + QLatin1Char('\\') + subKey.toCaseFolded();
}

// A key exists when it holds values or when a key below it does.
bool RegistryTable::keyExists(const QString &path) const
{
    const QString parent = path + QLatin1Char('\\');
    for (auto it = m_keys.constBegin(); it != m_keys.constEnd(); ++it) {
        if (it.key() == path || it.key().startsWith(parent))
            return true;
    }
    return false;
}
