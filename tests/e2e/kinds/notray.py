import re

from fixture import expect_exit, wait_for


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
