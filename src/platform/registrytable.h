#pragma once

#include "platform/registry.h"

#include <QByteArray>
#include <QHash>
#include <QString>

// An in-memory registry of typed values under keys, answering the registry calls.
// Key and value names are matched without regard to case, as Windows does.
class RegistryTable
{
public:
    void setValue(quint32 root, const QString &subKey, const QString &valueName, quint32 type,
                  const QByteArray &data);

    long openKey(quint32 root, const QString &subKey, Registry::HKey *result);
    long queryValue(Registry::HKey key, const QString &valueName, quint32 *type, quint8 *data,
                    quint32 *size) const;
    long closeKey(Registry::HKey key);

    // Keys opened and not closed yet.
    int openKeyCount() const { return int(m_openKeys.size()); }

private:
    struct Value
    {
        quint32 type = 0;
        QByteArray data;
    };

    static QString keyPath(quint32 root, const QString &subKey);
    bool keyExists(const QString &path) const;

    QHash<QString, QHash<QString, Value>> m_keys;
    QHash<Registry::HKey, QString> m_openKeys;
    Registry::HKey m_nextHandle = 1;
};
