import fcntl, os, subprocess

from fixture import CAPTION, COPY, expect_exit, wait_for


def clipboard_handover(d):  # the helper keeps no inherited descriptor, runs on the program's display
    d.with_message()        # beside a launch that works normally, and takes no text but the program's
    lock = os.open(d.path("lock"), os.O_RDWR | os.O_CREAT)  # as `flock -n lock quillbox` holds it
    fcntl.flock(lock, fcntl.LOCK_EX)
    window = d.main_window(proc := d.launch("held", pass_fds=(lock,)))
    os.close(lock)
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(proc, "quitting with the text copied", 2)
    [first] = wait_for("one helper serving the text", d.helpers)
    assert not subprocess.run(["flock", "-n", d.path("lock"), "true"]).returncode, "the helper holds the lock"
    env = {k: v for k, v in d.env.items() if k != "DISPLAY"}
    window = d.main_window(proc := d.launch("named", ("./quillbox", "-display", d.env["DISPLAY"]), env=env))
    shown = d.run("xdotool", "search", "--onlyvisible", "--name", f"^{CAPTION}$").split()
    assert shown == [window], f"shown: {shown}"  # the helper shows no window
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(proc, "quitting, started with -display and no DISPLAY", 2)
    wait_for("a new helper serving the text", lambda: d.helpers() not in ([], [first]))
    d.expect_clipboard("handed over on the display named")
    window = d.main_window(proc := d.launch("copier"))
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY)
    program = wait_for("the program owning the clipboard", lambda: not d.helpers() and d.owner(b"CLIPBOARD"))
    d.start("xclip", ["xclip", "-quiet", "-selection", "clipboard", d.path("lock")])  # an empty copy
    taker = wait_for("xclip owning the clipboard", lambda: (o := d.owner(b"CLIPBOARD")) not in (0, program) and o)
    expect_exit(d.launch("late", ("./quillbox", "--serve-clipboard", str(program))),
                "a helper named a window that no longer owns the clipboard", 2)
    assert d.owner(b"CLIPBOARD") == taker, "the helper took another program's copy"
    os.rename(d.path("prog", "quillbox"), d.path("prog", "gone"))  # no helper can start
    d.run("xdotool", "windowfocus", "--sync", window, "key", *COPY, "alt+q")
    expect_exit(proc, "quitting with no helper to take the text", 2)
