import re

from fixture import wait_for


def xembed(d):
    d.start_x()
    d.start_trayer()

    def docked():  # quillbox's icons, embedded in trayer's panel
        panel = d.run("xdotool", "search", "--classname", "^panel$").split()[:1]
        tree = panel and d.run("xwininfo", "-tree", "-id", panel[0])
        return re.findall(r'(0x\w+) "Quillbox"', tree or "")

    window = d.main_window(proc := d.launch())
    x, y, width, height = d.geometry(wait_for("one icon docked", lambda: len(docked()) == 1
                                              and docked()[0]))
    d.tray_round(proc, proc, (x + width // 2, y + height // 2), window)
    wait_for("empty tray after quitting", lambda: not docked())
