import os, pathlib, time

from fixture import CAPTION, COPY, wait_for


def accessibility(d):  # what a screen reader reads, every focusable node and link named; a road
    d.with_message()   # by keys alone: Tab round, Space, Alt+C, Alt+A, a title, Tab, a text, Alt+V
    d.start("a11y", ["/usr/libexec/at-spi-bus-launcher", "--launch-immediately"])
    wait_for("the accessibility bus", lambda: d.bus.name_has_owner("org.a11y.Bus"))
    os.environ.update({k: d.env[k] for k in ("DISPLAY", "DBUS_SESSION_BUS_ADDRESS")})
    import pyatspi  # reads the buses named in the environment

    def tree(title):  # the window so titled, its nodes printed (of the grid's cells, row 3's)
        find = lambda: pyatspi.findDescendant(pyatspi.Registry.getDesktop(0), lambda n: n.name == title)
        nodes, stops, started = [wait_for(f'"{title}" on the accessibility bus', find, proc)], [], time.monotonic()
        for node in nodes:  # each node once, its children appended
            nodes += [*node]
            role, focusable = node.getRoleName(), node.getState().contains(pyatspi.STATE_FOCUSABLE)
            assert node.name or not (focusable or role == "link"), f"{title}: a {role} without a name"
            stops += [node] if focusable and role != "table cell" else []  # Tab's stops
            if node.name and "table " not in role or "3 :" in node.name:
                print(f"  {role}: {node.name!r}", end="")
        print(f"\n{title}: {len(nodes)} nodes read in {time.monotonic() - started:.1f} s")
        return stops

    # Qt holds each key for the screen reader's registry, and hands it to the control that had
    # the focus when it came: a key waits for what the one before it leads to.
    window = d.main_window(proc := d.launch(env={**d.env, "QT_LINUX_ACCESSIBILITY_ALWAYS_ON": "1"}))
    stops = tree(CAPTION)
    focus = lambda: next((n.name for n in stops if n.getState().contains(pyatspi.STATE_FOCUSED)), None)
    text = lambda name: next(n for n in stops if n.name == name).queryText().getText(0, -1)
    press = lambda keys, what, then: (d.run("xdotool", "key", *keys.split()), wait_for(what, then, proc))[1]
    d.run("xdotool", "windowfocus", "--sync", window)
    road = [wait_for("the grid focused at start", lambda: focus() == "Messages" and "Messages")]
    while len(road) == 1 or road[-1] != "Messages" and len(road) <= len(stops):  # Tab round
        road.append(press("Tab", f"the focus moving on from {road[-1]}", lambda: (now := focus()) != road[-1] and now))
    assert road[-1] == "Messages", f"Tab goes {road}, not back to the grid"
    d.run("xdotool", "key", *COPY)
    d.expect_clipboard("Space on row 3, then Alt+C")
    for keys, box, typed in (("alt+a", "Titre", "Titre tapé"), ("Tab", "Modification / Ajout d'un texte", "corps")):
        press(keys, f"the focus in {box} after {keys}", lambda: focus() == box)
        d.run("xdotool", "type", typed)
        wait_for(f"{typed!r} typed in {box}", lambda: text(box) == typed, proc)
    saved = pathlib.Path(d.path("prog", "Qbox1.QBX"))
    press("alt+v", "message 1 saved", saved.exists)
    assert saved.read_bytes() == b'1,1\r\n"Titre tap\xe9"\r\ncorps\r\n', saved.read_bytes()
    menus = lambda: set(d.windows(proc)) - {window}
    fichier = press("alt+f", '"&Fichier" opened', menus)
    press("Right", '"&?" opened', lambda: menus() - fichier)
    d.run("xdotool", "key", "Return")  # "A propos"
    tree("A propos : Quillbox")
