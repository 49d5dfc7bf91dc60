#!/usr/bin/python3
"""e2e.py KIND PATH: the real program, PATH, on the desktop of kinds/KIND.py (for package PATH
is the .deb, for wine the Windows zip, QUILLBOX_WINCLIP naming winclip.exe, for wine_installer
the Windows installer), in the world of fixture.py: every part is started there and ended on
exit; a failure logs what ran."""
import importlib, pathlib, signal, subprocess, sys

sys.dont_write_bytecode = True  # nothing written into the source tree
import dbus  # noqa: E402
from fixture import Desktop  # noqa: E402

kinds = sorted(p.stem for p in pathlib.Path(__file__).parent.glob("kinds/*.py"))
if len(sys.argv) != 3 or sys.argv[1] not in kinds:
    sys.exit(f"{__doc__}\nKIND: {', '.join(kinds)}")
signal.signal(signal.SIGTERM, lambda *_: sys.exit("e2e: terminated"))
d = Desktop(sys.argv[2])
try:
    getattr(importlib.import_module("kinds." + sys.argv[1]), sys.argv[1])(d)
except (AssertionError, subprocess.TimeoutExpired, dbus.DBusException) as error:
    print(f"e2e: {sys.argv[1]} FAILED: {error}", file=sys.stderr)
    d.report()
    sys.exit(1)
finally:
    d.end()
