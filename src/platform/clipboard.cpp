#include "clipboard.h"

#include "logging.h"
#include "platform/usersession.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QEventLoop>
#include <QGuiApplication>
#include <QMimeData>
#include <QProcess>
#include <QStringList>
#include <QTimer>

#include <functional>

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

// Serves the clipboard until another program takes it, the limit has passed, or keepOn,
// when given, turns false.
void serveWhile(std::chrono::milliseconds limit, const std::function<bool()> &keepOn)
{
    QEventLoop loop;
    QObject::connect(QGuiApplication::clipboard(), &QClipboard::changed, &loop, [&loop] {
        if (!ownsClipboard())
            loop.quit();
    });
    QTimer::singleShot(limit, &loop, &QEventLoop::quit);
    QTimer check;
    if (keepOn) {
        QObject::connect(&check, &QTimer::timeout, &loop, [&loop, &keepOn] {
            if (!keepOn())
                loop.quit();
        });
        check.start(100);
    }
    if (ownsClipboard())
        loop.exec();
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
    serveWhile(limit, {});
}

bool canHandOver()
{
    return QGuiApplication::platformName() == QLatin1String("xcb");
}

bool handOver(const QString &helperArgument, const QString &display, std::chrono::milliseconds wait)
{
#if QT_CONFIG(xcb)
    xcb_connection_t *connection = x11Connection();
    if (!connection || !ownsClipboard())
        return false;
    // The window that offers the text, on the display and platform of this process.
    QStringList arguments{helperArgument, QString::number(selectionOwner(connection, "CLIPBOARD")),
                          QStringLiteral("-platform"), QStringLiteral("xcb")};
    if (!display.isEmpty())
        arguments << QStringLiteral("-display") << display;
    QProcess helper;
    helper.setProgram(QCoreApplication::applicationFilePath());
    helper.setArguments(arguments);
    // Holding none of this process's streams, it keeps no terminal or pipe waiting.
    helper.setStandardInputFile(QProcess::nullDevice());
    helper.setStandardOutputFile(QProcess::nullDevice());
    helper.setStandardErrorFile(QProcess::nullDevice());
    qint64 pid = 0;
    if (!helper.startDetached(&pid)) {
        qCWarning(lcQuillbox, "the copied text goes with the program: %s", qPrintable(helper.errorString()));
        return false;
    }
    // Serving answers the helper's request for the text, and ends once it took the
    // clipboard, or once it ended without taking it.
    serveWhile(wait, [pid] { return UserSession::processRuns(pid); });
    if (!ownsClipboard())
        return true;
    qCWarning(lcQuillbox, "the copied text goes with the program: the helper did not take it");
#else
    Q_UNUSED(helperArgument);
    Q_UNUSED(display);
    Q_UNUSED(wait);
#endif
    return false;
}

void serveHandedOver(const QString &helperArgument, std::chrono::milliseconds limit)
{
#if QT_CONFIG(xcb)
    xcb_connection_t *connection = x11Connection();
    const QStringList arguments = QCoreApplication::arguments();
    bool named = false;
    const xcb_window_t program = arguments.value(arguments.indexOf(helperArgument) + 1).toUInt(&named);
    const auto offeredByProgram = [&] {
        return named && connection && selectionOwner(connection, "CLIPBOARD") == program;
    };
    // Asked before and after the text is read: what was read is the program's.
    if (!offeredByProgram())
        return;
    const QMimeData *offered = QGuiApplication::clipboard()->mimeData();
    if (!offered || !offered->hasText())
        return;
    const QString text = offered->text();
    if (!offeredByProgram())
        return;
    setText(text);
    serveUntilTaken(limit);
#else
    Q_UNUSED(helperArgument);
    Q_UNUSED(limit);
#endif
}

} // namespace Clipboard
