#include "clipboard.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QTimer>

#ifdef Q_OS_WIN
#include <ole2.h>
#endif

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace {

#if QT_CONFIG(xcb)
xcb_connection_t *x11Connection()
{
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    return x11 ? x11->connection() : nullptr;
}

// The window owning the named selection; none when the atom was never made.
xcb_window_t selectionOwner(xcb_connection_t *connection, const char *name)
{
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, true, uint16_t(qstrlen(name)), name), nullptr);
    xcb_window_t owner = XCB_WINDOW_NONE;
    if (atom && atom->atom != XCB_ATOM_NONE) {
        xcb_get_selection_owner_reply_t *reply = xcb_get_selection_owner_reply(
                connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
        if (reply)
            owner = reply->owner;
        std::free(reply);
    }
    std::free(atom);
    return owner;
}
#endif

// Qt's answer alone can be stale on X11: when another program clears the clipboard and
// then sets it, Qt may take the clear for one of its own and miss that it lost the
// clipboard. The X server knows whose window owns it.
bool ownsClipboard()
{
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return false;
#if QT_CONFIG(xcb)
    if (xcb_connection_t *connection = x11Connection()) {
        const xcb_window_t owner = selectionOwner(connection, "CLIPBOARD");
        const xcb_setup_t *setup = xcb_get_setup(connection);
        return (owner & ~setup->resource_id_mask) == setup->resource_id_base;
    }
#endif
    return true;
}

// A manager announces itself by owning this selection; Qt hands it the clipboard
// (SAVE_TARGETS) when the application object is destroyed.
bool x11ClipboardManagerRuns()
{
#if QT_CONFIG(xcb)
    if (xcb_connection_t *connection = x11Connection())
        return selectionOwner(connection, "CLIPBOARD_MANAGER") != XCB_WINDOW_NONE;
#endif
    return false;
}

} // namespace

namespace Clipboard {

void clear()
{
    QGuiApplication::clipboard()->clear();
}

void setText(const QString &text)
{
    QGuiApplication::clipboard()->setText(text);
}

void leaveWithSystem()
{
#ifdef Q_OS_WIN
    // The clipboard then holds the text rendered, no longer Qt's data object.
    if (ownsClipboard())
        ::OleFlushClipboard();
#endif
}

bool endsWithProgram()
{
    if (!ownsClipboard())
        return false;
    // Elsewhere (Windows) the system holds a copy: see leaveWithSystem().
    const QString platform = QGuiApplication::platformName();
    if (platform.startsWith(QLatin1String("wayland")))
        return true;
    if (platform == QLatin1String("xcb"))
        return !x11ClipboardManagerRuns();
    return false;
}

void serveUntilTaken(std::chrono::milliseconds limit)
{
    QEventLoop loop;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &loop, [&loop] {
        if (!ownsClipboard())
            loop.quit();
    });
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    if (ownsClipboard())
        loop.exec();
}

bool handOver(const QString &helperArgument, std::chrono::milliseconds wait)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return false;
    QProcess helper;
    helper.setProgram(QCoreApplication::applicationFilePath());
    helper.setArguments({helperArgument});
    // Holding none of this process's streams, it keeps no terminal or pipe waiting.
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.setStandardErrorFile(QProcess::nullDevice());
    // Serving answers the helper's request for the text, and ends once it took the clipboard.
    if (!ownsClipboard() || !helper.startDetached())
        return false;
    serveUntilTaken(wait);
    return !ownsClipboard();
}

void serveHandedOver(std::chrono::milliseconds limit)
{
    const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
    if (!offered || !offered->hasText())
        return;
    setText(offered->text());
    serveUntilTaken(limit);
}

} // namespace Clipboard
