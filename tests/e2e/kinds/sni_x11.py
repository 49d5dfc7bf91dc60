from fixture import wait_for


def sni_x11(d):
    d.start_x()
    host = d.start_watcher(["gtk-sni-tray-standalone", "--beginning"])
    window = d.main_window(proc := d.launch())
    d.the_item()
    x, y, _, height = d.geometry(wait_for("the host's bar", lambda: d.windows(host))[0])
    d.tray_round(proc, host, (x + height // 2, y + height // 2), window)  # the first square
    d.expect_no_item()
