#!/usr/bin/python3
"""e2e.py KIND PATH-TO-QUILLBOX: the real program on one kind of desktop (xembed, sni_x11,
sni_wayland, notray), one clipboard case (clipboard, clipboard_manager), the guard after a
kill (single_instance) or what a screen reader reads (accessibility); e2e.py package PATH-TO-DEB:
the package installed and run by root and an ordinary user; e2e.py wine PATH-TO-ZIP: the Windows
build under Wine (QUILLBOX_WINCLIP names winclip.exe). Every component started here and ended on
exit; each wait bounded, failures logged."""
import contextlib, ctypes, glob, os, pathlib, re, shutil, signal, subprocess, sys, tempfile, time, zipfile  # noqa

import dbus

CAPTION, WAIT = "Gestionnaire de Presse Papier", 10  # seconds, the bound of every wait
WATCHER, ITEM = "org.kde.StatusNotifierWatcher", "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"


def wait_for(what, probe, running=None):  # fails at once if the program given has ended
    end = time.monotonic() + WAIT
    while not (value := probe()):
        if running and running.poll() is not None:
            raise AssertionError(f"quillbox ended with code {running.returncode}, before {what}")
        if time.monotonic() > end:
            raise AssertionError(f"no {what} within {WAIT} s")
        time.sleep(0.05)
    return value


def expect_exit(proc, after, seconds=WAIT):
    started = time.monotonic()
    wait_for(f"end of quillbox after {after}", lambda: proc.poll() is not None)
    assert not proc.returncode, f"quillbox exited with code {proc.returncode} after {after}"
    assert time.monotonic() - started < seconds, f"quillbox ended over {seconds} s after {after}"


class Desktop:  # a copy of the program in a scratch folder, what runs for it, its private world
    def __init__(self, program):
        self.scratch, self.procs = tempfile.mkdtemp(prefix="quillbox-e2e-"), []
        for folder in ("runtime", "tmp", "prog"):
            os.mkdir(self.path(folder), 0o700)
        shutil.copy(program, self.path("prog"))
        self.env = {k: v for k, v in os.environ.items()  # no outside display or bus, and no
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS")}
        self.env.update(  # accessibility bus or settings service started by the GTK host
            XDG_RUNTIME_DIR=self.path("runtime"), TMPDIR=self.path("tmp"), QT_QPA_PLATFORM="xcb",
            NO_AT_BRIDGE="1", GSETTINGS_BACKEND="memory")

    def path(self, *names):
        return os.path.join(self.scratch, *names)

    def start(self, name, argv, env=None, **options):  # killed with the driver (PDEATHSIG)
        proc = subprocess.Popen(argv, stdout=open(self.path(name + ".log"), "w"),
                                stderr=subprocess.STDOUT, env=env or self.env, **options,
                                preexec_fn=lambda: ctypes.CDLL(None).prctl(1, signal.SIGKILL))
        self.procs.append((name, proc))
        return proc

    def run(self, *argv):
        return subprocess.run(argv, env=self.env, capture_output=True, text=True,
                              timeout=WAIT).stdout

    def log(self, name):
        return pathlib.Path(self.path(name + ".log")).read_text(errors="replace")

    def helpers(self):  # the detached copies serving a text, which end with the display
        return [*map(int, self.run("pgrep", "-xf", self.path("prog/quillbox --serve-clipboard( .*)?")).split())]

    def end(self):
        for _, proc in reversed(self.procs):
            proc.terminate()
            with contextlib.suppress(subprocess.TimeoutExpired):
                proc.wait(2)
            proc.kill()  # does nothing to a process that has ended
        shutil.rmtree(self.scratch)

    def report(self):
        for name, proc in self.procs:
            state = "running" if proc.poll() is None else f"exit code {proc.returncode}"
            print(f"--- {name} (pid {proc.pid}, {state})", *self.log(name).splitlines()[-20:],
                  sep="\n", file=sys.stderr)

    def start_x(self):  # and a session bus; Xvfb takes a free display and writes its number
        xvfb = self.start("xvfb", ["Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-screen", "0",
                                   "1024x768x24"])  # once it listens: kinds at once never share one
        number = wait_for("Xvfb naming its display",
                          lambda: re.search(r"^\d+$", self.log("xvfb"), re.M), xvfb)
        self.env["DISPLAY"] = ":" + number.group()
        wait_for("Xvfb answering", lambda: xvfb.poll() is None and self.run("xdpyinfo"))
        # French keys: the accents typed have keys of their own, where xdotool would map one
        # for a moment, a change that a slow program reads too late.
        self.run("setxkbmap", "fr")
        self.start_bus()

    def start_bus(self):
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address = "unix:path=" + self.path("bus")
        self.start("dbus", ["dbus-daemon", "--session", "--nofork", "--address=" + address])

        def connect():  # the socket can be there before the daemon listens on it
            with contextlib.suppress(dbus.DBusException):
                return dbus.bus.BusConnection(address)
        self.bus = wait_for("session bus", connect)

    def start_watcher(self, host=None):  # and a StatusNotifier host: the one given, or this driver
        self.start("watcher", ["status-notifier-watcher"])
        wait_for("StatusNotifierWatcher", lambda: self.bus.name_has_owner(WATCHER))
        self.watcher = self.bus.get_object(WATCHER, "/StatusNotifierWatcher")
        if not (host := host and self.start("host", host)):
            self.watcher.RegisterStatusNotifierHost(self.bus.get_unique_name(),
                                                    dbus_interface=WATCHER)
        wait_for("StatusNotifierHost", lambda: self.watched("IsStatusNotifierHostRegistered"))
        return host

    def launch(self, name="quillbox", command=("./quillbox",), **options):
        return self.start(name, [*command], **{"cwd": self.path("prog"), **options})

    def second_launch(self, **options):
        assert not (code := self.launch("second", **options).wait(WAIT)), f"second launch: {code}"

    def watched(self, name):
        return self.watcher.Get(WATCHER, name, dbus_interface=dbus.PROPERTIES_IFACE)

    def the_item(self):  # expects one, exporting MenuPopUp's items (DBusMenu marks mnemonics _)
        items = wait_for("item registered", lambda: self.watched("RegisteredStatusNotifierItems"))
        assert len(items) == 1, f"{len(items)} items registered: {list(items)}"
        self.item = self.bus.get_object(items[0], "/StatusNotifierItem")
        self.menu = self.bus.get_object(items[0], self.item.Get(
            ITEM, "Menu", dbus_interface=dbus.PROPERTIES_IFACE))
        layout = self.menu.GetLayout(0, -1, dbus.Array(signature="s"), dbus_interface=MENU)[1]
        self.entries = {str(p.get("label", p.get("type"))): i for i, p, _ in layout[2]}
        assert [*self.entries] == ["_Afficher", "_Masquer", "separator", "_Quitter"], self.entries

    def click_entry(self, label):
        self.menu.Event(self.entries[label], "clicked", dbus.Int32(0, variant_level=1),
                        dbus.UInt32(0), dbus_interface=MENU)

    def expect_no_item(self):
        wait_for("item left", lambda: not self.watched("RegisteredStatusNotifierItems"))

    def geometry(self, window):  # x, y, width, height
        return [int(v) for v in re.findall(r"(?:Absolute upper-left [XY]|Width|Height): *(-?\d+)",
                                           self.run("xwininfo", "-id", window))]

    def shown(self, window):
        return "IsViewable" in self.run("xwininfo", "-id", window)

    def windows(self, proc):
        return self.run("xdotool", "search", "--onlyvisible", "--pid", str(proc.pid)).split()

    def main_window(self, proc):
        return wait_for(f'mapped window captioned "{CAPTION}"', lambda: next(
            (w for w in self.windows(proc)
             if self.run("xdotool", "getwindowname", w).strip() == CAPTION), None), proc)

    def expect_mapped(self, window, shown, after):
        wait_for(f"window {'shown' if shown else 'hidden'} after {after}",
                 lambda: self.shown(window) == shown)

    def idle(self, proc):  # asleep in its event loop twice, 0.1 s apart: every event handled
        state = lambda: pathlib.Path(f"/proc/{proc.pid}/stat").read_text().rsplit(")")[-1][1]
        wait_for("idle", lambda: state() == "S" and not time.sleep(0.1) and state() == "S", proc)

    def click(self, point, button):
        self.run("xdotool", "mousemove", str(point[0]), str(point[1]), "click", str(button))

    def choose(self, owner, point, key):
        # Right-clicks the icon, again each second that no menu shows (Qt drops a pop-up opened
        # as it deactivates a window just hidden), and types a mnemonic.
        before, clicks = self.windows(owner), []

        def at_pointer(window):  # across the pointer's column, from at most 30 px under it
            x, y, width, height = self.geometry(window)
            return x <= point[0] <= x + width and point[1] - height <= y <= point[1] + 30

        def menu():
            if not clicks or time.monotonic() - clicks[-1] > 1:
                self.click(point, 3)
                clicks.append(time.monotonic())
            return next((w for w in self.windows(owner) if w not in before and at_pointer(w)
                         and "TOOLTIP" not in self.run("xprop", "-id", w, "_NET_WM_WINDOW_TYPE")),
                        None)
        menu = wait_for("menu at the pointer after a right click on the icon", menu)
        time.sleep(0.2)  # lets the menu take the keyboard grab
        self.run("xdotool", "key", key)
        wait_for("menu closing after the chosen item", lambda: not self.shown(menu))

    def owner(self, selection):  # of an X selection, on a connection of its own
        x, void = ctypes.CDLL("libX11.so.6"), ctypes.c_void_p
        x.XOpenDisplay.restype, x.XGetSelectionOwner.argtypes = void, [void, ctypes.c_ulong]
        display = void(x.XOpenDisplay(self.env["DISPLAY"].encode()))
        owner = x.XGetSelectionOwner(display, x.XInternAtom(display, selection, 0))
        x.XCloseDisplay(display)
        return owner


def tray_round(d, proc, owner, icon, window):  # an X11 tray icon's clicks and menu items
    for key, shown in (("m", False), (None, True), ("m", False), ("a", True)):
        d.choose(owner, icon, key) if key else d.click(icon, 1)
        d.expect_mapped(window, shown, f'"{key}" in the menu' if key else "a left click")
    d.choose(owner, icon, "q")
    expect_exit(proc, '"&Quitter" in the tray menu')


def start_trayer(d):  # with no StatusNotifier watcher, Qt docks its icon through XEmbed
    d.start("trayer", ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                       "--width", "100", "--height", "24", "--transparent", "false"])
    wait_for("owner of _NET_SYSTEM_TRAY_S0 (trayer)", lambda: d.owner(b"_NET_SYSTEM_TRAY_S0"))


def xembed(d):
    d.start_x()
    start_trayer(d)

    def docked():  # quillbox's icons, embedded in trayer's panel
        panel = d.run("xdotool", "search", "--classname", "^panel$").split()[:1]
        tree = panel and d.run("xwininfo", "-tree", "-id", panel[0])
        return re.findall(r'(0x\w+) "Quillbox"', tree or "")

    window = d.main_window(proc := d.launch())
    x, y, width, height = d.geometry(wait_for("one icon docked", lambda: len(docked()) == 1
                                              and docked()[0]))
    tray_round(d, proc, proc, (x + width // 2, y + height // 2), window)
    wait_for("empty tray after quitting", lambda: not docked())


def xembed_nobus(d):  # as xembed, with no session bus at all (startx, a bare window manager)
    start_x = d.start_x
    d.start_x = lambda: (start_x(), d.env.pop("DBUS_SESSION_BUS_ADDRESS"))  # the driver's alone
    xembed(d)


def sni_x11(d):
    d.start_x()
    host = d.start_watcher(["gtk-sni-tray-standalone", "--beginning"])
    window = d.main_window(proc := d.launch())
    d.the_item()
    x, y, _, height = d.geometry(wait_for("the host's bar", lambda: d.windows(host))[0])
    tray_round(d, proc, host, (x + height // 2, y + height // 2), window)  # the first square
    d.expect_no_item()


def sni_wayland(d):
    d.env.update(WAYLAND_DISPLAY="quillbox-e2e", QT_QPA_PLATFORM="wayland", WAYLAND_DEBUG="1")
    d.start("weston", ["weston", "--backend=headless-backend.so", "--socket=quillbox-e2e",
                       "--no-config", "--idle-time=0"])  # its socket in the private runtime
    wait_for("weston's socket", lambda: os.path.exists(d.path("runtime", "quillbox-e2e")))
    d.start_bus()
    d.start_watcher()
    proc = d.launch()

    def toplevels():  # titled by the program, put on an output by weston, destroyed
        return tuple(len(re.findall(pattern, d.log("quillbox"))) for pattern in (
            r'-> xdg_toplevel@\d+\.set_title\("%s"\)' % CAPTION,
            r"\] wl_surface@\d+\.enter\(wl_output", r"-> xdg_toplevel@\d+\.destroy\(\)"))

    wait_for("toplevel titled and shown", lambda: toplevels() == (1, 1, 0), proc)
    d.the_item()
    for entry, after in (("_Masquer", (1, 1, 1)), (None, (2, 2, 1)), ("_Masquer", (2, 2, 2)),
                         ("_Afficher", (3, 3, 2))):  # None: the item's Activate
        d.click_entry(entry) if entry else d.item.Activate(0, 0, dbus_interface=ITEM)
        wait_for(f"toplevels titled, shown, destroyed: {after} after {entry or 'Activate'}",
                 lambda: toplevels() == after, proc)
    d.click_entry("_Quitter")
    expect_exit(proc, '"_Quitter"')
    d.expect_no_item()


def notray(d):
    d.start_x()  # with no tray host on it, nor on the display
    with open(d.path("twmrc"), "w") as rc:  # Xvfb has no font but "fixed"
        rc.write("RandomPlacement\n" + "".join(  # places windows without asking for a click
            f'{use}Font "fixed"\n' for use in ("Title", "Resize", "Menu", "Icon", "IconManager")))
    d.start("twm", ["twm", "-f", d.path("twmrc")])
    window = d.main_window(proc := d.launch())
    state = lambda: re.findall(r"window state: (\w+)", d.run("xprop", "-id", window, "WM_STATE"))
    wait_for("window in the Normal state, under twm", lambda: state() == ["Normal"])
    d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "Down", "Return")
    wait_for('window minimized by "Masquer" in "&Fichier"',
             lambda: state() == ["Iconic"] and not d.shown(window))
    d.second_launch()
    wait_for("window back after a second launch",
             lambda: state() == ["Normal"] and d.shown(window))
    d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "q")
    expect_exit(proc, '"&Quitter" in "&Fichier"')


# Message 3 for the clipboard cases: CR LF lines, accents, no-break spaces (A0), the euro (80).
SLOT = b'3,2\r\n"Prix"\r\nBient\xf4t \xe0 vous,\r\n\xab\xa0prix\xa0: 10\xa0\x80\xa0\xbb\r\n'
TEXT = SLOT.split(b"\r\n", 2)[2].decode("cp1252")
COPY = ("Down", "Down", "space", "alt+c")  # selects it from row 1, highlighted at start; copies


def with_message(d):  # X, and message 3 in the program's folder
    d.start_x()
    pathlib.Path(d.path("prog", "Qbox3.QBX")).write_bytes(SLOT)


def copy_and_quit(d, name):  # returns the copy, its window gone
    window = d.main_window(proc := d.launch(name))
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    wait_for("window gone after quitting", lambda: not d.shown(window))
    return proc


def expect_clipboard(d, what):
    text = subprocess.run(["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"],  # CR LF
                          env=d.env, capture_output=True, timeout=WAIT).stdout.decode()
    assert text == TEXT, f"{what}: the clipboard holds {text!r}, not {TEXT!r}"


def add_by_keys(d, proc, window, title, text):  # Alt+A, the title, Tab to the text, Alt+V
    for args in (("windowfocus", "--sync", window, "key", "alt+a"), ("type", title), ("key", "Tab"),
                 ("type", text), ("key", "alt+v")):
        d.run("xdotool", *args)
        d.idle(proc)


def clipboard(d):  # no manager: the copy ends at once, a detached helper serving the text until
    with_message(d)  # another program copies; a launch meanwhile works normally
    expect_exit(copy_and_quit(d, "first"), "quitting with the text copied", 2)
    [old] = wait_for("one helper serving the text", d.helpers)
    expect_clipboard(d, "after quitting")
    window = d.main_window(new := d.launch("second"))
    shown = d.run("xdotool", "search", "--onlyvisible", "--name", f"^{CAPTION}$").split()
    assert shown == [window], f"shown: {shown}"
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(new, "quitting the second copy", 2)
    wait_for("the first helper gone, a second serving", lambda: d.helpers() not in ([], [old]))
    d.start("xclip", ["xclip", "-quiet", "-selection", "clipboard", d.path("prog", "Qbox3.QBX")])
    wait_for("the helper gone after another program copied", lambda: not d.helpers())
    d.run("xdotool", "windowfocus", "--sync", d.main_window(proc := d.launch("no-copy")), "key", "alt+q")
    expect_exit(proc, "quitting with nothing copied", 1)


def clipboard_manager(d):  # xfce4-clipman owns CLIPBOARD_MANAGER but never answers SAVE_TARGETS:
    with_message(d)        # Qt waits its 5 s for it, then clipman offers the text it had read
    d.start("clipman", ["xfce4-clipman"])
    wait_for("owner of CLIPBOARD_MANAGER (xfce4-clipman)", lambda: d.owner(b"CLIPBOARD_MANAGER"))
    expect_exit(copy_and_quit(d, "quillbox"), "quitting with a clipboard manager", 7)
    expect_clipboard(d, "from the manager")


def clipboard_handover(d):  # the helper keeps no inherited descriptor, runs on the program's
    import fcntl           # display, and takes no text but the program's
    with_message(d)
    lock = os.open(d.path("lock"), os.O_RDWR | os.O_CREAT)  # as `flock -n lock quillbox` holds it
    fcntl.flock(lock, fcntl.LOCK_EX)
    window = d.main_window(proc := d.launch("held", pass_fds=(lock,)))
    os.close(lock)
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(proc, "quitting with the text copied", 2)
    [first] = wait_for("one helper serving the text", d.helpers)
    assert not subprocess.run(["flock", "-n", d.path("lock"), "true"]).returncode, "the helper holds the lock"
    env = {k: v for k, v in d.env.items() if k != "DISPLAY"}
    window = d.main_window(proc := d.launch("named", ("./quillbox", "-display", d.env["DISPLAY"]), env=env))
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(proc, "quitting, started with -display and no DISPLAY", 2)
    wait_for("a new helper serving the text", lambda: d.helpers() not in ([], [first]))
    expect_clipboard(d, "handed over on the display named")
    window = d.main_window(proc := d.launch("copier"))
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY)
    program = wait_for("the program owning the clipboard", lambda: not d.helpers() and d.owner(b"CLIPBOARD"))
    d.start("xclip", ["xclip", "-quiet", "-selection", "clipboard", d.path("lock")])  # an empty copy
    taker = wait_for("xclip owning the clipboard", lambda: (o := d.owner(b"CLIPBOARD")) not in (0, program) and o)
    expect_exit(d.launch("late", ("./quillbox", "--serve-clipboard", str(program))),
                "a helper named a window that no longer owns the clipboard", 2)
    assert d.owner(b"CLIPBOARD") == taker, "the helper took another program's copy"
    os.rename(d.path("prog", "quillbox"), d.path("prog", "gone"))  # no helper can start
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(proc, "quitting with no helper to take the text", 2)


def single_instance(d):  # 20 rounds: a copy killed, then two at once; one runs, the next shows it
    d.env["QT_QPA_PLATFORM"] = "offscreen"
    running = d.launch()
    for round in range(20):
        wait_for("the guard's socket", lambda: glob.glob(d.path("runtime", "*.socket")), running)
        running.kill()
        running.wait()
        pair = [d.launch(f"{round}a"), d.launch(f"{round}b")]
        loser = wait_for("one of two copies ending", lambda: next(
            (p for p in pair if p.poll() is not None), None))
        assert not loser.returncode, f"round {round}: the second copy's code {loser.returncode}"
        time.sleep(0.2)
        running = pair[1 - pair.index(loser)]
        assert running.poll() is None, f"round {round}: no copy running"
        expect_exit(d.launch(f"{round}c"), f"a launch asking round {round}'s copy to show", 3)


def wine(d):  # the Windows zip unpacked into an empty Wine prefix, on X with an XEmbed tray
    archive = pathlib.Path(d.path("prog", os.path.basename(sys.argv[2])))
    zipfile.ZipFile(archive).extractall(d.path("prog"))
    archive.unlink()
    prog, saved = d.path("prog", archive.stem), pathlib.Path(d.path("prog", archive.stem, "Qbox1.QBX"))
    for name in ("QT_QPA_PLATFORM", "WINEPATH"):  # Windows' own platform; the zip's DLLs alone
        d.env.pop(name, None)
    d.env.update(WINEPREFIX=d.path("wine"), WINEDEBUG="-all", WINEDLLOVERRIDES="mscoree,mshtml=",
                 LC_ALL="C.UTF-8")  # code page 1252, and a locale for typed accents
    d.start_x()
    start_trayer(d)
    subprocess.run(["wineboot", "--init"], env=d.env, capture_output=True, timeout=120)
    launch = lambda name: d.launch(name, command=["wine", "quillbox.exe"], cwd=prog)

    def clipboard():  # as Windows holds it, CR LF and all
        out = subprocess.run(["wine", os.environ["QUILLBOX_WINCLIP"]], env=d.env,
                             capture_output=True, text=True, timeout=60).stdout.strip()
        return bytes.fromhex(out).decode("utf-16-be") if out else None

    def windows():
        return d.run("xdotool", "search", "--onlyvisible", "--name", f"^{CAPTION}$").split()
    try:
        window = wait_for("the main window", windows, proc := launch("quillbox"))[0]
        keys = lambda *k: d.run("xdotool", "windowfocus", "--sync", window, "key", *k)
        keys("alt+a")
        time.sleep(1)  # Wine moves the focus to the title box a moment later, unseen from here
        d.run("xdotool", "type", "Courses à faire")
        keys("Tab")
        d.run("xdotool", "type", "pain")
        keys("Return")
        d.run("xdotool", "type", "lait")
        keys("alt+v")
        wait_for("message 1 saved", saved.exists, proc)
        assert saved.read_bytes() == TYPED, f"saved {saved.read_bytes()!r}"
        keys("alt+f", "Up", "Up", "Return")  # "Masquer": Windows' menus stop on disabled items
        wait_for('window hidden by "Masquer"', lambda: not windows())
        assert not (code := launch("second").wait(60)), f"second launch: {code}"
        wait_for("window back after a second launch", windows)
        keys("space")
        d.idle(proc)
        keys("alt+c")
        wait_for("the text on the clipboard", lambda: clipboard() == "pain\r\nlait\r\n")
        panel = d.run("xdotool", "search", "--classname", "^panel$").split()[0]
        icon = wait_for("icon docked", lambda: [w for w, width, height in re.findall(
            r"(0x\w+) .*\)  (\d+)x(\d+)\+", d.run("xwininfo", "-children", "-id", panel))
            if 8 < int(width) <= 32 and 8 < int(height) <= 32])[0]
        x, y, width, height = d.geometry(icon)
        for _ in range(3):  # a quick click is lost in Wine's tray; the menu shows a moment later
            d.run("xdotool", "mousemove", str(x + width // 2), str(y + height // 2), "sleep", "0.3",
                  "mousedown", "3", "sleep", "0.2", "mouseup", "3", "sleep", "1.5", "key", "q")
            with contextlib.suppress(subprocess.TimeoutExpired):
                proc.wait(WAIT)
                break
        expect_exit(proc, '"&Quitter" in the tray menu')
        assert clipboard() == "pain\r\nlait\r\n", "the copied text went with the program"
        assert not d.run("pgrep", "-f", "quillbox.exe"), "a quillbox process lingers"
    finally:
        subprocess.run(["wineserver", "-k"], env=d.env, capture_output=True)


def accessibility(d):  # what a screen reader reads, every focusable node and link named; a road
    with_message(d)    # by keys alone: Tab round, Space, Alt+C, Alt+A, a title, Tab, a text, Alt+V
    d.start("a11y", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    wait_for("the accessibility bus", lambda: d.bus.name_has_owner("org.a11y.Bus"))
    os.environ.update({k: d.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
    import pyatspi  # reads the buses named in the environment

    def tree(title):  # the window so titled, its nodes printed (of the grid's cells, row 3's)
        find = lambda: pyatspi.findDescendant(pyatspi.Registry.getDesktop(0), lambda n: n.name == title)
        nodes, started = [wait_for(f'"{title}" on the accessibility bus', find, proc)], time.monotonic()
        for node in nodes:  # each node once, its children appended
            nodes += [*node]
            role, focusable = node.getRoleName(), node.getState().contains(pyatspi.STATE_FOCUSABLE)
            assert node.name or not (focusable or role == "link"), f"{title}: a {role} without a name"
            if node.name and "table " not in role or "3 :" in node.name:
                print(f"  {role}: {node.name!r}", end="")
        print(f"\n{title}: {len(nodes)} nodes read in {time.monotonic() - started:.1f} s")
        return nodes

    xdo = lambda *args: (d.run("xdotool", *args), d.idle(proc))[1]  # then the program idle
    window = d.main_window(proc := d.launch(env={**d.env, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}))
    table = next(node for node in tree(CAPTION) if node.getRoleName() == "table")
    in_grid = lambda: table.getState().contains(pyatspi.STATE_FOCUSED)
    xdo("windowfocus", "--sync", window, "key", "Tab")  # from the grid, focused at start
    assert not in_grid(), "Tab did not leave the grid"
    wait_for("Tab coming round to the grid", lambda: in_grid() or xdo("key", "Tab"))
    xdo("key", *COPY)
    expect_clipboard(d, "Space on row 3, then Alt+C")
    add_by_keys(d, proc, window, "Titre tapé", "corps")
    xdo("key", "alt+f", "Right", "Return")  # "A propos" under "&?"
    saved = pathlib.Path(d.path("prog", "Qbox1.QBX")).read_bytes()
    assert saved == b'1,1\r\n"Titre tap\xe9"\r\ncorps\r\n', saved
    tree("A propos : Quillbox")


def skip(reason):  # as CTest's SKIP_RETURN_CODE
    print(f"e2e: skipped: {reason}")
    sys.exit(77)


TYPED = b'1,2\r\n"Courses \xe0 faire"\r\npain\r\nlait\r\n'  # message 1 as the package kind types it


def package(d):  # root, then an ordinary user whose home is a link, each saves message 1
    deb, user, data = sys.argv[2], f"qbx{os.getpid()}", ".local/share/Quillbox"
    if os.geteuid() or not os.access("/var/lib/dpkg", os.W_OK):
        skip("installing a package needs root and a writable dpkg database")
    if "ok installed" in d.run("dpkg-query", "-W", "-f=${Status}", "quillbox"):
        skip("a quillbox package is installed already: it is not replaced")
    os.chmod(d.scratch, 0o711)
    os.symlink(d.path("home.real"), d.path("home"))
    subprocess.run(["useradd", "-M", "-d", d.path("home"), user], check=True)
    try:
        for folder, owner in (("root.home", "root"), ("home.real", user), ("runtime.user", user)):
            os.mkdir(d.path(folder), 0o700)
            shutil.chown(d.path(folder), owner, owner)
        done = subprocess.run(["dpkg", "-i", deb], capture_output=True, text=True)
        assert not done.returncode, f"dpkg -i {deb}: {done.stdout}{done.stderr}"
        pathlib.Path(d.path("installed")).touch()  # after dpkg's triggers
        d.start_x()
        start_trayer(d)
        for who, home, runtime in (("root", "root.home", "runtime"), (user, "home", "runtime.user")):
            how = dict(command=["setpriv", f"--reuid={who}", f"--regid={who}", "--init-groups",
                                "/usr/bin/quillbox"], cwd=d.path(home), env={**d.env, "HOME": d.path(
                       home), "XDG_RUNTIME_DIR": d.path(runtime), "TMPDIR": d.path(runtime)})
            window = d.main_window(proc := d.launch(who, **how))
            assert not os.path.exists(d.path(home, data)), "start-up made the data folder"
            saved = pathlib.Path(d.path(home, data, "Qbox1.QBX"))
            add_by_keys(d, proc, window, "Courses à faire", "pain\rlait")
            wait_for(f"{saved} saved by {who}", saved.exists, proc)
            assert saved.read_bytes() == TYPED, f"{who} saved {saved.read_bytes()!r}"
            assert os.stat(d.path(home, data)).st_mode & 0o777 == 0o700, "data folder not private"
            d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "Down", "Return")
            d.expect_mapped(window, False, '"Masquer" in "&Fichier"')
            d.second_launch(**how)
            d.expect_mapped(window, True, f"a second launch by {who}")
            d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "q")
            expect_exit(proc, '"&Quitter" in "&Fichier"')
        assert not (new := d.run("find", "/usr", "-xdev", "-newer", d.path("installed"))), new
        done = subprocess.run(["dpkg", "-r", "quillbox"], capture_output=True, text=True)
        assert not done.returncode and not os.path.exists("/usr/bin/quillbox"), done.stderr
        assert saved.read_bytes() == TYPED, "the messages changed with the package removed"
    finally:
        subprocess.run(["dpkg", "-r", "quillbox"], capture_output=True)
        subprocess.run(["userdel", user], check=True)


def main():
    kinds = (xembed, sni_x11, sni_wayland, notray, clipboard, clipboard_manager, single_instance,
             accessibility, package, wine, xembed_nobus, clipboard_handover)
    if len(sys.argv) != 3 or not (kind := {k.__name__: k for k in kinds}.get(sys.argv[1])):
        sys.exit(__doc__)
    signal.signal(signal.SIGTERM, lambda *_: sys.exit("e2e: terminated"))
    d = Desktop(sys.argv[2])
    try:
        kind(d)
    except (AssertionError, subprocess.TimeoutExpired, dbus.DBusException) as error:
        print(f"e2e: {sys.argv[1]} FAILED: {error}", file=sys.stderr)
        d.report()
        return 1
    finally:
        d.end()


if __name__ == "__main__":
    sys.exit(main())
