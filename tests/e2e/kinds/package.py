import os, pathlib, shutil, subprocess, sys

from fixture import TYPED, expect_exit, skip


def package(d):  # root, then an ordinary user whose home is a link, each saves message 1
    deb, user, data = sys.argv[2], f"qbx{os.getpid()}", ".local/share/Quillbox"
    if os.geteuid() or not os.access("/var/lib/dpkg", os.W_OK):
        skip("installing a package needs root and a writable dpkg database")
    if "ok installed" in d.run("dpkg-query", "-W", "-f=${Status}", "quillbox"):
        skip("a quillbox package is installed already: it is not replaced")
    depends = d.run("dpkg-deb", "-f", deb, "Depends")  # Qt's French texts, loaded, not linked
    assert "qt6-translations-l10n" in depends, f"Depends: {depends}"
    os.chmod(d.scratch, 0o711)
    os.symlink(d.path("home.real"), d.path("home"))
    subprocess.run(["useradd", "-M", "-d", d.path("home"), user], check=True)
    try:
        for folder, owner in (("root.home", "root"), ("home.real", user), ("runtime.user", user)):
            os.mkdir(d.path(folder), 0o700)
            shutil.chown(d.path(folder), owner, owner)
        done = subprocess.run(["dpkg", "-i", deb], capture_output=True, text=True)
        assert not done.returncode, f"dpkg -i {deb}: {done.stdout}{done.stderr}"
        pathlib.Path(d.path("installed")).touch()  # after dpkg's triggers
        d.start_x()
        d.start_trayer()
        for who, home, runtime in (("root", "root.home", "runtime"), (user, "home", "runtime.user")):
            how = dict(command=["setpriv", f"--reuid={who}", f"--regid={who}", "--init-groups",
                                "/usr/bin/quillbox"], cwd=d.path(home), env={**d.env, "HOME": d.path(
                       home), "XDG_RUNTIME_DIR": d.path(runtime), "TMPDIR": d.path(runtime)})
            window = d.main_window(proc := d.launch(who, **how))
            assert not os.path.exists(d.path(home, data)), "start-up made the data folder"
            saved = d.add_message(proc, window, "Courses à faire", "pain\rlait", d.path(home, data, "Qbox1.QBX"))
            assert saved == TYPED, f"{who} saved {saved!r}"
            assert os.stat(d.path(home, data)).st_mode & 0o777 == 0o700, "data folder not private"
            d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "Down", "Return")
            d.expect_mapped(window, False, '"Masquer" in "&Fichier"')
            d.second_launch(**how)
            d.expect_mapped(window, True, f"a second launch by {who}")
            d.run("xdotool", "windowfocus", "--sync", window, "key", "alt+f", "q")
            expect_exit(proc, '"&Quitter" in "&Fichier"')
        assert not (new := d.run("find", "/usr", "-xdev", "-newer", d.path("installed"))), new
        done = subprocess.run(["dpkg", "-r", "quillbox"], capture_output=True, text=True)
        assert not done.returncode and not os.path.exists("/usr/bin/quillbox"), done.stderr
        assert pathlib.Path(d.path(home, data, "Qbox1.QBX")).read_bytes() == TYPED, \
            "the messages changed with the package removed"
    finally:
        subprocess.run(["dpkg", "-r", "quillbox"], capture_output=True)
        subprocess.run(["userdel", user], check=True)
