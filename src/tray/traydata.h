#pragma once

#include <QIcon>
#include <QString>
#include <QtGlobal>

#include <optional>

class QWidget;

// The notification-area record, in its first 88-byte form with 8-bit text and 32-bit
// handles, as the Windows shell takes it.
struct NotifyIconData
{
    quint32 cbSize = 0;
    quint32 hWnd = 0;
    quint32 uID = 0;
    quint32 uFlags = 0;
    quint32 uCallbackMessage = 0;
    quint32 hIcon = 0;
    char szTip[64] = {};
};
static_assert(sizeof(NotifyIconData) == 88, "the tray record must keep its 88-byte layout");

namespace TrayAction {
constexpr qint16 Add = 0;      // NIM_ADD
constexpr qint16 Modify = 1;   // NIM_MODIFY
constexpr qint16 Delete = 2;   // NIM_DELETE
}

namespace TrayEvent {
constexpr int MouseMove = 512;       // also the callback message
constexpr int LeftButtonDown = 513;
constexpr int LeftButtonUp = 514;
constexpr int LeftButtonDouble = 515;
constexpr int RightButtonDown = 516;
constexpr int RightButtonUp = 517;
}

// The one tray record of the run; TrayNotify is its only writer and never clears it.
extern NotifyIconData TrayData;

// Fills TrayData (icon and tip only when given) and hands it to the tray backend.
void TrayNotify(QWidget *form, qint16 action, const std::optional<QIcon> &icon = std::nullopt,
                const std::optional<QString> &tip = std::nullopt);

namespace Tray {

// Icons travel in the record as 32-bit handles, as they do on the shell's side.
quint32 iconHandle(const QIcon &icon);
QIcon iconFromHandle(quint32 handle);

// The tip the record holds, up to its NUL, back in the interface's characters.
QString tipText(const NotifyIconData &data);

} // namespace Tray
