#include "systemregistry.h"

#include "platform/registrytable.h"

#include <QFileInfo>
#include <QStringList>

// Without a Windows registry, the table holds the one value the About box looks for:
// the path of the system-information program, when one of these is installed.
namespace {

RegistryTable machineTable()
{
    const QStringList tools = {
        QStringLiteral("/usr/bin/hardinfo"),
        QStringLiteral("/usr/bin/kinfocenter"),
        QStringLiteral("/usr/bin/gnome-system-monitor"),
        QStringLiteral("/usr/bin/xfce4-taskmanager"),
    };
    RegistryTable table;
    for (const QString &tool : tools) {
        const QFileInfo info(tool);
        if (info.isFile() && info.isExecutable()) {
            // Stored as Windows stores a string value: 8-bit text and its NUL.
            table.setValue(Registry::HKEY_LOCAL_MACHINE,
                           QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO"),
                           QStringLiteral("PATH"), Registry::REG_SZ, tool.toLocal8Bit() + '\0');
            break;
        }
    }
    return table;
}

RegistryTable &table()
{
    static RegistryTable machine = machineTable();
    return machine;
}

} // namespace

long SystemRegistry::openKey(quint32 root, const QString &subKey, Registry::HKey *result)
{
    return table().openKey(root, subKey, result);
}

long SystemRegistry::queryValue(Registry::HKey key, const QString &valueName, quint32 *type,
                                quint8 *data, quint32 *size)
{
    return table().queryValue(key, valueName, type, data, size);
}

long SystemRegistry::closeKey(Registry::HKey key)
{
    return table().closeKey(key);
}
