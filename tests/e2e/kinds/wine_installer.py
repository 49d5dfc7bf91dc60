import glob, pathlib, re, subprocess, sys

from fixture import TYPED, expect_exit


def wine_installer(d):  # silent setup in an empty prefix; the installed program used; setup again
    d.start_wine()         # with /STARTUP (an upgrade); the uninstaller as Windows runs it
    run = lambda *argv: subprocess.run(argv, env=d.env, capture_output=True, text=True, timeout=120)

    def reg(query):  # what reg query prints, nothing where the key or value is missing
        done = run("wine", "reg", "query", *(r"HKCU\Software\Microsoft\Windows\CurrentVersion" + query).split())
        return "" if done.returncode else done.stdout
    [home] = glob.glob(d.path("wine/drive_c/users/[!P]*/AppData"))  # the user's, not Public's
    folder, saved = (pathlib.Path(home, p) for p in ("Local/Programs/Quillbox", "Roaming/Quillbox/Qbox1.QBX"))
    shortcut = pathlib.Path(home, "Roaming/Microsoft/Windows/Start Menu/Programs/Quillbox.lnk")
    try:
        assert not run("wine", sys.argv[2], "/S").returncode, "setup /S failed"
        win = d.run("winepath", "-w", str(folder)).strip()
        exe, uninstaller, entry = win + r"\quillbox.exe", win + r"\uninstall.exe", reg(r"\Uninstall\Quillbox")
        installed = {p.relative_to(folder).as_posix() for p in folder.rglob("*")}
        assert {"quillbox.exe", "Qt6Widgets.dll", "translations/qtbase_fr.qm"} <= installed, installed
        assert exe.encode("utf-16-le") in shortcut.read_bytes(), "the shortcut does not start the program"
        version = re.search(r"-([\d.]+)-setup", sys.argv[2])[1]
        for name, data in (("DisplayName", "Quillbox"), ("DisplayVersion", version), ("Publisher", "tavrel"),
                           ("DisplayIcon", exe + ",0"), ("QuietUninstallString", f'"{uninstaller}" /S')):
            assert re.search(rf"^ +{name} +REG_SZ +{re.escape(data)}\r?$", entry, re.M), f"{name}: {entry}"
        assert "Quillbox|||Quillbox" in run("wine", "uninstaller", "--list").stdout, "not in Wine's program list"
        assert not reg(r"\Run /v Quillbox"), "started at log-on unasked"

        window = d.main_window(proc := d.launch(command=["wine", exe]))
        assert not saved.parent.exists(), "start-up made the data folder"
        typed = d.add_message(proc, window, "Courses à faire", "pain\rlait", str(saved))
        assert typed == TYPED and not [*folder.glob("*.QBX")], f"saved {typed!r}, or beside the program"
        refused = run("wine", uninstaller, "/S", "_?=" + win).returncode == 2  # run in place, for its code
        assert refused and folder.exists(), "the uninstaller went on while the program runs"
        d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "q")
        expect_exit(proc, '"&Quitter" in "&Fichier"')

        assert not run("wine", sys.argv[2], "/S", "/STARTUP").returncode, "setup again failed"
        entries = re.findall(r"\\Uninstall\\(.+?)\r?$", reg(r"\Uninstall"), re.M)
        assert entries == ["Quillbox"] and f'"{exe}"' in reg(r"\Run /v Quillbox"), f"{entries}, no Run value"
        run("wine", uninstaller, "/S")  # returns at once: a copy in %TEMP% does the work
        run("wineserver", "-w")
        left = [p for p in (folder, shortcut) if p.exists()] + [
            q for q in (r"\Uninstall\Quillbox", r"\Run /v Quillbox") if reg(q)]
        assert not left and [*saved.parent.iterdir()] == [saved] and saved.read_bytes() == TYPED, f"left: {left}"
    finally:
        run("wineserver", "-k")
