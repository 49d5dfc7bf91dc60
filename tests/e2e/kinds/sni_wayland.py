import os, re

from fixture import CAPTION, ITEM, expect_exit, wait_for


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
