#!/usr/bin/env python3
"""The two X requests the end-to-end script needs and the command-line tools lack.

  xhelper.py tray-owner      print the window owning the tray selection, 0 if none
  xhelper.py close WINDOW    ask WINDOW to close, as a window manager's close box does
"""
import ctypes
import sys


class ClientMessage(ctypes.Structure):
    _fields_ = [
        ("type", ctypes.c_int),
        ("serial", ctypes.c_ulong),
        ("send_event", ctypes.c_int),
        ("display", ctypes.c_void_p),
        ("window", ctypes.c_ulong),
        ("message_type", ctypes.c_ulong),
        ("format", ctypes.c_int),
        ("data", ctypes.c_long * 5),
    ]


class Event(ctypes.Union):
    # XEvent is padded to 24 longs.
    _fields_ = [("xclient", ClientMessage), ("pad", ctypes.c_long * 24)]


CLIENT_MESSAGE = 33
NO_EVENT_MASK = 0
CURRENT_TIME = 0


def open_xlib():
    xlib = ctypes.CDLL("libX11.so.6")
    xlib.XOpenDisplay.restype = ctypes.c_void_p
    xlib.XOpenDisplay.argtypes = [ctypes.c_char_p]
    xlib.XInternAtom.restype = ctypes.c_ulong
    xlib.XInternAtom.argtypes = [ctypes.c_void_p, ctypes.c_char_p, ctypes.c_int]
    xlib.XGetSelectionOwner.restype = ctypes.c_ulong
    xlib.XGetSelectionOwner.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
    xlib.XSendEvent.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int,
                                ctypes.c_long, ctypes.POINTER(Event)]
    xlib.XFlush.argtypes = [ctypes.c_void_p]
    xlib.XCloseDisplay.argtypes = [ctypes.c_void_p]
    display = xlib.XOpenDisplay(None)
    if not display:
        sys.exit("xhelper: cannot open the display")
    return xlib, display


def tray_owner(xlib, display):
    selection = xlib.XInternAtom(display, b"_NET_SYSTEM_TRAY_S0", False)
    print(xlib.XGetSelectionOwner(display, selection))


def close(xlib, display, window):
    event = Event()
    event.xclient.type = CLIENT_MESSAGE
    event.xclient.window = window
    event.xclient.message_type = xlib.XInternAtom(display, b"WM_PROTOCOLS", False)
    event.xclient.format = 32
    event.xclient.data[0] = xlib.XInternAtom(display, b"WM_DELETE_WINDOW", False)
    event.xclient.data[1] = CURRENT_TIME
    if not xlib.XSendEvent(display, window, False, NO_EVENT_MASK, ctypes.byref(event)):
        sys.exit("xhelper: XSendEvent failed")


def main():
    if len(sys.argv) < 2 or sys.argv[1] not in ("tray-owner", "close"):
        sys.exit(__doc__)
    xlib, display = open_xlib()
    if sys.argv[1] == "tray-owner":
        tray_owner(xlib, display)
    else:
        close(xlib, display, int(sys.argv[2], 0))
    xlib.XFlush(display)
    xlib.XCloseDisplay(display)


if __name__ == "__main__":
    main()
