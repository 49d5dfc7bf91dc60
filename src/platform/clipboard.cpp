#include "clipboard.h"

#include <QClipboard>
#include <QEventLoop>
#include <QGuiApplication>
#include <QTimer>

#if QT_CONFIG(xcb)
#include <xcb/xcb.h>

#include <cstdlib>
#endif

namespace {

// A manager announces itself by owning this selection; Qt hands it the clipboard
// (SAVE_TARGETS) when the application object is destroyed.
bool x11ClipboardManagerRuns()
{
#if QT_CONFIG(xcb)
    const auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11)
        return false;
    xcb_connection_t *connection = x11->connection();
    const char name[] = "CLIPBOARD_MANAGER";
    xcb_intern_atom_reply_t *atom = xcb_intern_atom_reply(
            connection, xcb_intern_atom(connection, true, sizeof name - 1, name), nullptr);
    // No such atom yet: no program has ever asked for a manager on this display.
    if (!atom || atom->atom == XCB_ATOM_NONE) {
        std::free(atom);
        return false;
    }
    xcb_get_selection_owner_reply_t *owner = xcb_get_selection_owner_reply(
            connection, xcb_get_selection_owner(connection, atom->atom), nullptr);
    const bool runs = owner && owner->owner != XCB_WINDOW_NONE;
    std::free(owner);
    std::free(atom);
    return runs;
#else
    return false;
#endif
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

bool endsWithProgram()
{
    if (!QGuiApplication::clipboard()->ownsClipboard())
        return false;
    // Elsewhere (Windows) the system holds a copy; Qt flushes the clipboard at exit.
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
    QClipboard *clipboard = QGuiApplication::clipboard();
    QObject::connect(clipboard, &QClipboard::changed, &loop, [&loop, clipboard] {
        if (!clipboard->ownsClipboard())
            loop.quit();
    });
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    if (clipboard->ownsClipboard())
        loop.exec();
}

} // namespace Clipboard
