import contextlib, os, pathlib, re, subprocess, sys, zipfile

from fixture import TYPED, expect_exit, wait_for


def wine(d):  # the Windows zip unpacked into an empty Wine prefix, on X with an XEmbed tray
    archive = pathlib.Path(d.path("prog", os.path.basename(sys.argv[2])))
    zipfile.ZipFile(archive).extractall(d.path("prog"))
    archive.unlink()
    prog = d.path("prog", archive.stem)
    d.start_wine()
    launch = lambda name: d.launch(name, command=["wine", "quillbox.exe"], cwd=prog)

    def clipboard():  # as Windows holds it, CR LF and all
        out = subprocess.run(["wine", os.environ["QUILLBOX_WINCLIP"]], env=d.env,
                             capture_output=True, text=True, timeout=60).stdout.strip()
        return bytes.fromhex(out).decode("utf-16-be") if out else None

    def lingering():  # quillbox.exe in this prefix: another kind's Wine may run one meanwhile
        prefix, found = f"WINEPREFIX={d.path('wine')}\0".encode(), []
        for pid in d.run("pgrep", "-f", "quillbox.exe").split():
            with contextlib.suppress(OSError):
                found += [pid] if prefix in pathlib.Path(f"/proc/{pid}/environ").read_bytes() else []
        return found
    try:
        window = d.main_window(proc := launch("quillbox"))
        keys = lambda *k: d.run("xdotool", "windowfocus", "--sync", window, "key", *k)
        saved = d.add_message(proc, window, "Courses à faire", "pain\rlait", os.path.join(prog, "Qbox1.QBX"))
        assert saved == TYPED, f"saved {saved!r}"
        keys("alt+f", "Up", "Up", "Return")  # "Masquer": Windows' menus stop on disabled items
        d.expect_mapped(window, False, '"Masquer" in "&Fichier"')
        assert not (code := launch("second").wait(60)), f"second launch: {code}"
        d.expect_mapped(window, True, "a second launch")
        keys("space", "alt+c")
        wait_for("the text on the clipboard", lambda: clipboard() == "pain\r\nlait\r\n")
        panel = d.run("xdotool", "search", "--classname", "^panel$").split()[0]
        icon = wait_for("icon docked", lambda: [w for w, width, height in re.findall(
            r"(0x\w+) .*\)  (\d+)x(\d+)\+", d.run("xwininfo", "-children", "-id", panel))
            if 8 < int(width) <= 32 and 8 < int(height) <= 32])[0]
        x, y, width, height = d.geometry(icon)
        d.choose(proc, (x + width // 2, y + height // 2), "q", grabs=False)
        expect_exit(proc, '"&Quitter" in the tray menu')
        assert clipboard() == "pain\r\nlait\r\n", "the copied text went with the program"
        assert not lingering(), "a quillbox process lingers"
    finally:
        subprocess.run(["wineserver", "-k"], env=d.env, capture_output=True)
