"""The copied text after quitting: the real program in a private Xvfb, xdotool and xclip."""
import os
import shutil
import subprocess
import sys
import tempfile
import time

import xhelper

# Message 3: CR LF lines, accents, no-break spaces (A0), the euro sign (80).
SLOT = b'3,2\r\n"Prix"\r\nBient\xf4t \xe0 vous,\r\n\xab\xa0prix\xa0: 10\xa0\x80\xa0\xbb\r\n'
TEXT = SLOT.split(b"\r\n", 2)[2].decode("cp1252")
# Centres of row 3, "&Copier" and "&Quitter" in the window, at 96 dpi.
ROW3, COPY, QUIT = (133, 83), (296, 54), (384, 150)
children = []


def check(condition, what):
    if not condition:
        sys.exit(f"clipboard: FAILED: {what}")


def wait_for(what, condition, seconds=10):
    end = time.monotonic() + seconds
    while not condition():
        check(time.monotonic() < end, f"no {what} within {seconds} s")
        time.sleep(0.05)


def start(args, **options):
    children.append(subprocess.Popen(args, **{"stdout": subprocess.DEVNULL, **options}))
    return children[-1]


def windows():
    return subprocess.getoutput("xdotool search --onlyvisible --name '^Gestionnaire de Presse Papier$'").split()


def launch(folder):
    copy = start(["./quillbox"], cwd=folder)
    wait_for("main window", windows)
    return copy, windows()[0]


def click(window, *points):
    for x, y in points:
        subprocess.run(["xdotool", "mousemove", "--sync", "--window", window, str(x), str(y), "click", "1"])


def copy_and_quit(window):
    click(window, ROW3, COPY, QUIT)
    wait_for("window gone after quitting", lambda: not windows(), 1)


def expect_clipboard(what):
    text = subprocess.check_output(["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"], timeout=5)
    check(text.decode() == TEXT, f"{what}: the clipboard holds {text!r}, not {TEXT!r}")


def expect_end(copy, after, seconds=1):
    wait_for(f"end of quillbox after {after}", lambda: copy.poll() is not None, seconds)
    check(copy.returncode == 0, f"quillbox exited with code {copy.returncode} after {after}")


def no_manager(folder):
    copy, window = launch(folder)
    click(window, QUIT)
    expect_end(copy, "quitting with nothing copied")
    copy, window = launch(folder)
    copy_and_quit(window)
    expect_clipboard("after quitting")
    start(["xclip", "-quiet", "-selection", "clipboard", "Qbox3.QBX"], cwd=folder, stderr=subprocess.DEVNULL)
    expect_end(copy, "another program took the clipboard")


def manager(folder):
    start(["xfce4-clipman"], stderr=subprocess.DEVNULL)
    xlib, display = xhelper.open_xlib()
    atom = xlib.XInternAtom(display, b"CLIPBOARD_MANAGER", False)
    wait_for("clipboard manager", lambda: xlib.XGetSelectionOwner(display, atom))
    copy, window = launch(folder)
    copy_and_quit(window)
    # clipman never answers SAVE_TARGETS: Qt waits 5 s, then clipman offers the text it read.
    expect_end(copy, "quitting with a clipboard manager", 7)
    expect_clipboard("from the manager")


def single_instance(folder):
    old, window = launch(folder)
    copy_and_quit(window)
    new, window = launch(folder)
    check(windows() == [window] and old.poll() is new.poll() is None, "not one window, the old copy lingering")
    click(window, ROW3, COPY)
    expect_end(old, "the new copy took the clipboard")


def main():
    kinds = {"no-manager": no_manager, "manager": manager, "single-instance": single_instance}
    check(len(sys.argv) == 3 and sys.argv[1] in kinds, f"usage: clipboard.py {'|'.join(kinds)} PROGRAM")
    # The scratch folder, private to the user, is both the program's and the runtime folder.
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(sys.argv[2], os.path.join(folder, "quillbox"))
        with open(os.path.join(folder, "Qbox3.QBX"), "wb") as f:
            f.write(SLOT)
        # No session bus and no Wayland: xfce4-clipman must not join the user's desktop.
        os.environ.update(QT_QPA_PLATFORM="xcb", XDG_RUNTIME_DIR=folder, TMPDIR=folder,
                          DBUS_SESSION_BUS_ADDRESS="", WAYLAND_DISPLAY="")
        xvfb = start(["Xvfb", "-displayfd", "1", "-nolisten", "tcp"], stdout=subprocess.PIPE)
        os.environ["DISPLAY"] = ":" + xvfb.stdout.readline().decode().strip()
        try:
            kinds[sys.argv[1]](folder)
        finally:
            for child in reversed(children):
                child.terminate()
                child.wait(5)


if __name__ == "__main__":
    main()
