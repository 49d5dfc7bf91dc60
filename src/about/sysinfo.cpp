#include "sysinfo.h"

#include "platform/msgbox.h"
#include "platform/programstart.h"
#include "platform/registry.h"
#include "store/codepage.h"
#include "store/slotstore.h"

#include <QByteArray>
#include <QScopeGuard>

#include <cctype>

namespace {

const QString SysInfoKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO");
const QString SysInfoValue = QStringLiteral("PATH");
const QString SysInfoLocationKey = QStringLiteral("SOFTWARE\\Microsoft\\Shared Tools Location");
const QString SysInfoLocationValue = QStringLiteral("MSINFO");
const QString SysInfoProgram = QStringLiteral("\\MSINFO32.EXE");

// READ_CONTROL and every key right but KEY_WOW64_*: the mask the lookup asks for. The
// Windows registry layer opens for reading whatever is asked.
constexpr quint32 KeyAccessMask = 0x2003F;
constexpr int ValueBufferSize = 1024;

bool isHexDigits(const QString &text)
{
    for (const QChar c : text) {
        const char latin = c.toLatin1();
        if (!std::isxdigit(static_cast<unsigned char>(latin)))
            return false;
    }
    return !text.isEmpty();
}

// "&h" and hexadecimal digits are read as a 32-bit signed number and written in plain
// decimal; text that is not such a number stays as it is.
QString formatHexNumber(const QString &digits)
{
    bool ok = false;
    const quint64 value = isHexDigits(digits) ? digits.toULongLong(&ok, 16) : 0;
    if (!ok || value > 0xFFFFFFFFu)
        return QStringLiteral("&h") + digits;
    return QString::number(qint32(quint32(value)));
}

void SysInfoMissing()
{
    MsgBox(QStringLiteral("Information Systeme introuvable !"), MsgBoxStyle::OkOnly, AppTitle);
}

} // namespace

void StartSysInfo()
{
    quint32 root = Registry::HKEY_LOCAL_MACHINE;
    QString SysInfoPath;
    // A failed lookup ends the search as the missing program does.
    const std::optional<bool> found = GetKeyValue(root, SysInfoKey, SysInfoValue, SysInfoPath);
    if (!found) {
        SysInfoMissing();
        return;
    }
    if (!*found) {
        if (!GetKeyValue(root, SysInfoLocationKey, SysInfoLocationValue, SysInfoPath).value_or(false)) {
            SysInfoMissing();
            return;
        }
        if (!FileExists(SysInfoPath + SysInfoProgram)) {
            SysInfoMissing();
            return;
        }
        SysInfoPath += SysInfoProgram;
    }
    if (!System::startProgram(SysInfoPath))
        SysInfoMissing();
}

std::optional<bool> GetKeyValue(quint32 &KeyRoot, const QString &KeyName, const QString &SubKeyRef,
                                QString &KeyVal)
{
    Registry::HKey hKey = 0;
    if (Registry::RegOpenKeyExA(KeyRoot, KeyName, 0, KeyAccessMask, &hKey) != Registry::Success) {
        KeyVal.clear();
        return false;
    }
    const auto closeKey = qScopeGuard([hKey] { Registry::RegCloseKey(hKey); });

    QByteArray buffer(ValueBufferSize, '\0');
    quint32 type = 0;
    quint32 size = ValueBufferSize;
    if (Registry::RegQueryValueExA(hKey, SubKeyRef, nullptr, &type,
                                   reinterpret_cast<quint8 *>(buffer.data()), &size)
        != Registry::Success) {
        KeyVal.clear();
        return false;
    }
    // A value of size 0 has no last byte to test for a NUL: the whole lookup fails.
    if (size == 0)
        return std::nullopt;
    QByteArray text = buffer.left(int(size));
    if (text.endsWith('\0'))
        text.chop(1);

    switch (type) {
    case Registry::REG_SZ:
        KeyVal = CodePage::decode(text);
        break;
    case Registry::REG_DWORD:
        for (auto byte = text.crbegin(); byte != text.crend(); ++byte)
            KeyVal += QStringLiteral("%1").arg(uchar(*byte), 2, 16, QLatin1Char('0')).toUpper();
        KeyVal = formatHexNumber(KeyVal);
        break;
    default:
        break;
    }
    return true;
}
