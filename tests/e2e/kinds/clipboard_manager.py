from fixture import expect_exit, wait_for


def clipboard_manager(d):  # xfce4-clipman owns CLIPBOARD_MANAGER but never answers SAVE_TARGETS:
    d.with_message()       # Qt waits its 5 s for it, then clipman offers the text it had read
    d.start("clipman", ["xfce4-clipman"])
    wait_for("owner of CLIPBOARD_MANAGER (xfce4-clipman)", lambda: d.owner(b"CLIPBOARD_MANAGER"))
    expect_exit(d.copy_and_quit("quillbox"), "quitting with a clipboard manager", 7)
    d.expect_clipboard("from the manager")
