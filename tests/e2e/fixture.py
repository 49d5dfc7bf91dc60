"""Each kind's world: the program copied to a scratch folder, X, buses, tray hosts, all ended
with the driver; and the roads kinds share. Every wait is bounded, on what it names."""
import contextlib, ctypes, os, pathlib, re, shutil, signal, subprocess, sys, tempfile, time

import dbus

CAPTION, WAIT = "Gestionnaire de Presse Papier", 10  # seconds, the bound of every wait
WATCHER, ITEM = "org.kde.StatusNotifierWatcher", "org.kde.StatusNotifierItem"
MENU = "com.canonical.dbusmenu"
# Message 3 for the clipboard cases: CR LF lines, accents, no-break spaces (A0), the euro (80).
SLOT = b'3,2\r\n"Prix"\r\nBient\xf4t \xe0 vous,\r\n\xab\xa0prix\xa0: 10\xa0\x80\xa0\xbb\r\n'
TEXT = SLOT.split(b"\r\n", 2)[2].decode("cp1252")
COPY = ("Down", "Down", "space", "alt+c")  # selects it from row 1, highlighted at start; copies
TYPED = b'1,2\r\n"Courses \xe0 faire"\r\npain\r\nlait\r\n'  # message 1 as the package kind types it


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


def skip(reason):  # as CTest's SKIP_RETURN_CODE
    print(f"e2e: skipped: {reason}")
    sys.exit(77)


class Desktop:  # a copy of the program in a scratch folder, what runs for it, its private world
    def __init__(self, program):
        self.scratch, self.procs = tempfile.mkdtemp(prefix="quillbox-e2e-"), []
        for folder in ("runtime", "tmp", "prog"):
            os.mkdir(self.path(folder), 0o700)
        shutil.copy(program, self.path("prog"))
        self.env = {k: v for k, v in os.environ.items()  # no outside display or bus, and no
                    if k not in ("DISPLAY", "WAYLAND_DISPLAY", "DBUS_SESSION_BUS_ADDRESS")}
        self.env.update(  # accessibility bus or settings service started by the GTK host, and
            XDG_RUNTIME_DIR=self.path("runtime"), TMPDIR=self.path("tmp"), QT_QPA_PLATFORM="xcb",
            NO_AT_BRIDGE="1", GSETTINGS_BACKEND="memory",  # no cache or settings outside
            XDG_CACHE_HOME=self.path("tmp"), XDG_CONFIG_HOME=self.path("tmp"))

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
        xvfb = self.start("xvfb", ["Xvfb", "-displayfd", "1", "-nolisten", "tcp", "-noreset",
                                   "-screen", "0", "1024x768x24"])  # kinds at once never share one
        number = wait_for("Xvfb naming its display",
                          lambda: re.search(r"^\d+$", self.log("xvfb"), re.M), xvfb)
        self.env["DISPLAY"] = ":" + number.group()
        wait_for("Xvfb answering", lambda: xvfb.poll() is None and self.run("xdpyinfo"))
        # The accents typed get keys of their own, where xdotool would map one for a moment, a
        # change that a slow program reads too late, losing the character. (Without -noreset,
        # Xvfb would undo them as its last client leaves.)
        self.xlib(self.bind_accents)
        self.start_bus()

    @staticmethod
    def bind_accents(x, display):  # to keys that have none, the first left to xdotool
        low, high, width = ctypes.c_int(), ctypes.c_int(), ctypes.c_int()
        x.XDisplayKeycodes(display, ctypes.byref(low), ctypes.byref(high))
        keys = x.XGetKeyboardMapping(display, low.value, high.value - low.value + 1, ctypes.byref(width))
        free = [low.value + i for i in range(high.value - low.value + 1) if not any(keys[i * width.value:(i + 1) * width.value])]
        for code, letter in zip(free[1:], "àâçéèêëîïôùûü"):
            x.XChangeKeyboardMapping(display, code, 2, (ctypes.c_ulong * 2)(ord(letter), ord(letter.upper())), 1)

    def start_bus(self):
        self.env["DBUS_SESSION_BUS_ADDRESS"] = address = "unix:path=" + self.path("bus")
        self.start("dbus", ["dbus-daemon", "--session", "--nofork", "--address=" + address])

        def connect():  # the socket can be there before the daemon listens on it
            with contextlib.suppress(dbus.DBusException):
                return dbus.bus.BusConnection(address)
        self.bus = wait_for("session bus", connect)

    def start_trayer(self):  # with no StatusNotifier watcher, Qt docks its icon through XEmbed
        self.start("trayer", ["trayer", "--edge", "top", "--align", "right", "--widthtype", "pixel",
                              "--width", "100", "--height", "24", "--transparent", "false"])
        wait_for("owner of _NET_SYSTEM_TRAY_S0 (trayer)", lambda: self.owner(b"_NET_SYSTEM_TRAY_S0"))

    def start_wine(self):  # an empty Wine prefix, on X with an XEmbed tray
        for name in ("QT_QPA_PLATFORM", "WINEPATH"):  # Windows' own platform; the program's DLLs alone
            self.env.pop(name, None)
        # Code page 1252 and a locale for typed accents; no Linux launchers for Windows shortcuts.
        # Wine's error lines stay in the logs a failure shows (a program that Wine ends itself,
        # having lost its X display, says only so), its notes on what it lacks do not.
        self.env.update(WINEPREFIX=self.path("wine"), WINEDEBUG="fixme-all", LC_ALL="C.UTF-8",
                        WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d")
        self.start_x()
        self.start_trayer()
        subprocess.run(["wineboot", "--init"], env=self.env, capture_output=True, timeout=120)

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

    def click(self, point, button):
        self.run("xdotool", "mousemove", str(point[0]), str(point[1]), "click", str(button))

    def choose(self, owner, point, key, grabs=True):
        # Right-clicks the icon, again each second that no menu shows (Qt drops a pop-up opened
        # as it deactivates a window just hidden), and types a mnemonic once the menu has the keys
        # (an X11 menu grabs them; Wine's takes them from its window without a grab).
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
        wait_for("the menu grabbing the keyboard", lambda: not grabs or self.keyboard_grabbed())
        self.run("xdotool", "key", key)
        wait_for("menu closing after the chosen item", lambda: not self.shown(menu))

    def tray_round(self, proc, owner, icon, window):  # an X11 tray icon's clicks and menu items
        for key, shown in (("m", False), (None, True), ("m", False), ("a", True)):
            self.choose(owner, icon, key) if key else self.click(icon, 1)
            self.expect_mapped(window, shown, f'"{key}" in the menu' if key else "a left click")
        self.choose(owner, icon, "q")
        expect_exit(proc, '"&Quitter" in the tray menu')

    def xlib(self, ask):  # ask(libX11, display) on a connection of its own
        x, void = ctypes.CDLL("libX11.so.6"), ctypes.c_void_p
        x.XOpenDisplay.restype, x.XDefaultRootWindow.restype = void, ctypes.c_ulong
        x.XGetSelectionOwner.argtypes = [void, ctypes.c_ulong]
        x.XGrabKeyboard.argtypes = [void, ctypes.c_ulong, ctypes.c_int, ctypes.c_int, ctypes.c_int, ctypes.c_ulong]
        x.XGetKeyboardMapping.argtypes = [void, ctypes.c_ubyte, ctypes.c_int, ctypes.POINTER(ctypes.c_int)]
        x.XGetKeyboardMapping.restype = ctypes.POINTER(ctypes.c_ulong)
        x.XChangeKeyboardMapping.argtypes = [void, ctypes.c_int, ctypes.c_int, ctypes.POINTER(ctypes.c_ulong), ctypes.c_int]
        display = void(x.XOpenDisplay(self.env["DISPLAY"].encode()))
        try:
            return ask(x, display)
        finally:
            x.XCloseDisplay(display)

    def owner(self, selection):  # of an X selection
        return self.xlib(lambda x, d: x.XGetSelectionOwner(d, x.XInternAtom(d, selection, 0)))

    def keyboard_grabbed(self):  # by a client: a grab of ours is refused (AlreadyGrabbed)
        return self.xlib(lambda x, d: x.XGrabKeyboard(d, x.XDefaultRootWindow(d), 0, 1, 1, 0) == 1)

    def with_message(self):  # X, and message 3 in the program's folder
        self.start_x()
        pathlib.Path(self.path("prog", "Qbox3.QBX")).write_bytes(SLOT)

    def copy_and_quit(self, name, kept=None):  # returns the copy, its window gone
        window = self.main_window(proc := self.launch(name))
        self.run("xdotool", "windowfocus", "--sync", window, "key", *COPY)
        kept and wait_for("the copied text kept by the clipboard manager", kept, proc)
        self.run("xdotool", "key", "alt+q")
        wait_for("window gone after quitting", lambda: not self.shown(window))
        return proc

    def expect_clipboard(self, what):  # CR LF and all, once whoever serves it answers
        wait_for(f"message 3's text on the clipboard, {what}", lambda: subprocess.run(
            ["xclip", "-o", "-selection", "clipboard", "-t", "UTF8_STRING"], env=self.env,
            capture_output=True, timeout=WAIT).stdout.decode() == TEXT)

    def add_message(self, proc, window, title, text, saved):  # "&Ajouter", title, Tab, text, Alt+V
        # The button clicked where the layout puts it (twips / 15, under the menu bar): Alt+A
        # would press it for 0.1 s before the click, and what is typed meanwhile is lost.
        x, y, _, height = self.geometry(window)
        self.run("xdotool", "windowfocus", "--sync", window, "mousemove", str(x + 296),
                 str(y + height - 396 + 68), "click", "1")
        for args in (("type", title), ("key", "Tab"), ("type", text), ("key", "alt+v")):
            self.run("xdotool", *args)  # in order, as the program reads them
        return wait_for(f"{saved} saved", lambda: os.path.exists(saved) and pathlib.Path(saved).read_bytes(), proc)
