"""Presses keys on a mutter desktop through mutter's own seat, as a user's keyboard
would: over its RemoteDesktop D-Bus interface, which serves Wayland and Xwayland
clients and mutter's own key bindings alike.

    mutter_keys.py key CHORD...   presses each chord in turn: "alt+F4", "Tab", "s"
"""

import sys
import time

from gi.repository import Gio, GLib

KEYSYMS = {
    "alt": 0xFFE9,
    "ctrl": 0xFFE3,
    "shift": 0xFFE1,
    "Tab": 0xFF09,
    "Return": 0xFF0D,
    "Escape": 0xFF1B,
    "space": 0x20,
    "Left": 0xFF51,
    "Right": 0xFF53,
    "Home": 0xFF50,
    "End": 0xFF57,
    "BackSpace": 0xFF08,
    "F4": 0xFFC1,
}


def keysym(name):
    if name in KEYSYMS:
        return KEYSYMS[name]
    if len(name) == 1 and 0x20 <= ord(name) < 0x7F:
        return ord(name)
    raise SystemExit(f"unknown key {name!r}")


class Session:
    def __init__(self):
        self.bus = Gio.bus_get_sync(Gio.BusType.SESSION)
        (self.path,) = self.call(
            "/org/gnome/Mutter/RemoteDesktop", "org.gnome.Mutter.RemoteDesktop", "CreateSession"
        )
        self.session("Start")
        # mutter makes the session's keyboard when it first uses it, and the key that
        # makes it is not delivered: a Shift, which types nothing, makes it.
        self.chord("shift")

    def call(self, path, interface, method, args=None):
        reply = self.bus.call_sync(
            "org.gnome.Mutter.RemoteDesktop", path, interface, method, args, None,
            Gio.DBusCallFlags.NONE, 5000, None,
        )
        return reply.unpack()

    def session(self, method, args=None):
        return self.call(self.path, "org.gnome.Mutter.RemoteDesktop.Session", method, args)

    def key(self, sym, pressed):
        self.session("NotifyKeyboardKeysym", GLib.Variant("(ub)", (sym, pressed)))

    def chord(self, chord):
        syms = [keysym(part) for part in chord.split("+")] if chord != "+" else [ord("+")]
        for sym in syms:
            self.key(sym, True)
        for sym in reversed(syms):
            self.key(sym, False)
        # Keys reach the client through the compositor; a pause keeps them in order with
        # what they cause.
        time.sleep(0.03)

    def stop(self):
        self.session("Stop")


def main(argv):
    if len(argv) < 3 or argv[1] != "key":
        print(__doc__, file=sys.stderr)
        return 2
    session = Session()
    try:
        for chord in argv[2:]:
            session.chord(chord)
    finally:
        session.stop()
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
