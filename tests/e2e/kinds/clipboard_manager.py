import pathlib

from fixture import TEXT, expect_exit, wait_for


def clipboard_manager(d):  # xfce4-clipman owns CLIPBOARD_MANAGER but never answers SAVE_TARGETS:
    d.with_message()       # Qt waits its 5 s for it, then clipman offers the text it had read
    d.start("clipman", ["xfce4-clipman"])
    wait_for("owner of CLIPBOARD_MANAGER (xfce4-clipman)", lambda: d.owner(b"CLIPBOARD_MANAGER"))
    # Quitting once clipman has read the text, as its history file shows: while it reads, Qt's
    # wait for the hand-over answers one of clipman's two readers and leaves the other waiting.
    history = pathlib.Path(d.path("tmp", "xfce4", "clipman", "textsrc"))
    kept = lambda: history.exists() and TEXT.replace("\r\n", r"\r\n") in history.read_text()
    expect_exit(d.copy_and_quit("quillbox", kept), "quitting with a clipboard manager", 7)
    d.expect_clipboard("from the manager")
