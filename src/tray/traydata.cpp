#include "traydata.h"

#include "store/codepage.h"
#include "tray/traybackend.h"

#include <QHash>
#include <QWidget>

#include <cstring>

NotifyIconData TrayData;

namespace {

// Never destroyed: icons must not outlive the application object at exit.
QHash<quint32, QIcon> &iconTable()
{
    static auto *table = new QHash<quint32, QIcon>;
    return *table;
}

void storeTip(const QString &tip)
{
    QByteArray bytes = CodePage::encode(tip).value_or(QByteArray());
    // The field holds the tip and its NUL; a longer tip is cut to fit.
    bytes.truncate(int(sizeof(TrayData.szTip)) - 1);
    std::memset(TrayData.szTip, ' ', sizeof(TrayData.szTip));
    std::memcpy(TrayData.szTip, bytes.constData(), size_t(bytes.size()));
    TrayData.szTip[bytes.size()] = '\0';
}

} // namespace

void TrayNotify(QWidget *form, qint16 action, const std::optional<QIcon> &icon,
                const std::optional<QString> &tip)
{
    TrayData.cbSize = sizeof(NotifyIconData);
    TrayData.hWnd = form ? quint32(form->winId()) : 0;
    TrayData.uID = 1;
    TrayData.uCallbackMessage = TrayEvent::MouseMove;
    if (icon)
        TrayData.hIcon = Tray::iconHandle(*icon);
    if (tip)
        storeTip(*tip);
    TrayData.uFlags = 7;  // message, icon and tip
    TrayBackend::current().shellNotifyIcon(quint32(qint32(action)), TrayData, form);
}

quint32 Tray::iconHandle(const QIcon &icon)
{
    if (icon.isNull())
        return 0;
    const auto handle = quint32(icon.cacheKey() & 0x7fffffff) | 1u;
    iconTable().insert(handle, icon);
    return handle;
}

QIcon Tray::iconFromHandle(quint32 handle)
{
    return iconTable().value(handle);
}

QString Tray::tipText(const NotifyIconData &data)
{
    const char *end = static_cast<const char *>(std::memchr(data.szTip, '\0', sizeof(data.szTip)));
    const qsizetype length = end ? end - data.szTip : qsizetype(sizeof(data.szTip));
    return CodePage::decode(QByteArray(data.szTip, length));
}
