from fixture import expect_exit, wait_for


def clipboard(d):  # no manager: the copy ends at once, a detached helper serving the text until
    d.with_message()  # another program copies (a launch meanwhile: clipboard_handover)
    expect_exit(d.copy_and_quit("first"), "quitting with the text copied", 2)
    [_] = wait_for("one helper serving the text", d.helpers)
    d.expect_clipboard("after quitting")
    d.start("xclip", ["xclip", "-quiet", "-selection", "clipboard", d.path("prog", "Qbox3.QBX")])
    wait_for("the helper gone after another program copied", lambda: not d.helpers())
    d.run("xdotool", "windowfocus", "--sync", d.main_window(proc := d.launch("no-copy")), "key", "alt+q")
    expect_exit(proc, "quitting with nothing copied", 1)
