"""Reads the program's controls the way a screen reader does, over AT-SPI.

    a11y.py text NAME            prints the text of the control named NAME
    a11y.py wait NAME TEXT SECS  waits until that control shows TEXT; fails after SECS
    a11y.py watch NAME SECS      for SECS seconds, prints "MS TEXT" whenever that
                                 control's text changes, MS counted from the start
    a11y.py length NAME N SECS   waits until that control holds N characters
    a11y.py holds NAME N SECS    waits until that control holds N characters or more
    a11y.py focused NAME SECS    waits until that control has the keyboard focus
    a11y.py centre NAME          prints the screen position of that control's middle, "X Y"
    a11y.py extents NAME         prints where that control lies on the screen, "X Y W H"
    a11y.py selected NAME TEXT SECS  waits until that control's selection is TEXT
    a11y.py changes NAME N SECS  prints "listening", then the first N changes a screen
                                 reader is told of in that control's text, "insert POS
                                 TEXT" or "delete POS TEXT" a line; fails after SECS
    a11y.py character NAME N     prints where that control's character N lies on the
                                 screen, "X Y W H"
    a11y.py ends NAME N          prints the first and the last N characters of that
                                 control's text, one line each

Each call to the program waits at most CALL_SECONDS for its answer. One that gets none
ends this with status 3 and says so: a busy program is never read as an empty one.
"""

import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

import pyatspi  # noqa: E402

CALL_SECONDS = 10


def find_control(name):
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != "varnock":
            continue
        # The window bears the program's name too: a control is looked for inside it.
        found = pyatspi.findDescendant(
            app,
            lambda node: node is not None
            and node.name == name
            and node.getRole() != pyatspi.ROLE_FRAME,
        )
        if found is not None:
            return found
    return None


class NoControl(Exception):
    """No control of that name in the program's window."""


def control_named(name):
    control = find_control(name)
    if control is None:
        raise NoControl(name)
    return control


def text_of(name):
    control = find_control(name)
    if control is None:
        return None
    return control.queryText().getText(0, -1)


def print_changes(name, count, seconds):
    heard = []

    def on_change(event):
        if event.source is None or event.source.name != name:
            return
        kind = event.type.minor or event.type.detail
        heard.append(f"{kind} {event.detail1} {event.any_data}")
        print(heard[-1], flush=True)
        if len(heard) == count:
            pyatspi.Registry.stop()

    def give_up():
        pyatspi.Registry.stop()
        return False

    pyatspi.Registry.registerEventListener(on_change, "object:text-changed")
    GLib.timeout_add(int(seconds * 1000), give_up)
    GLib.idle_add(lambda: print("listening", flush=True) and False)
    pyatspi.Registry.start()
    if len(heard) < count:
        print(f"{name}: told of {len(heard)} changes within {seconds} s, not {count}", file=sys.stderr)
        return 1
    return 0


def main(argv):
    Atspi.set_timeout(CALL_SECONDS * 1000, CALL_SECONDS * 1000)
    try:
        return run(argv)
    except NoControl as missing:
        print(f"no control named {missing.args[0]!r}", file=sys.stderr)
        return 1
    except GLib.Error as error:
        print(f"no answer from the program within {CALL_SECONDS} s: {error.message}", file=sys.stderr)
        return 3


def run(argv):
    if len(argv) == 4 and argv[1] == "ends":
        control = control_named(argv[2])
        text = control.queryText()
        count, n = text.characterCount, int(argv[3])
        print(text.getText(0, min(n, count)))
        print(text.getText(max(0, count - n), count))
        return 0
    if len(argv) == 3 and argv[1] in ("centre", "extents"):
        control = control_named(argv[2])
        box = control.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
        if box.width <= 0 or box.height <= 0:
            print(f"{argv[2]} has no place on the screen", file=sys.stderr)
            return 1
        if argv[1] == "centre":
            print(box.x + box.width // 2, box.y + box.height // 2)
        else:
            print(box.x, box.y, box.width, box.height)
        return 0
    if len(argv) == 5 and argv[1] == "selected":
        deadline = time.monotonic() + float(argv[4])
        selected = None
        while time.monotonic() < deadline:
            text = control_named(argv[2]).queryText()
            selected = ""
            if text.getNSelections() > 0:
                start, end = text.getSelection(0)
                selected = text.getText(start, end)
            if selected == argv[3]:
                return 0
            time.sleep(0.05)
        print(f"{argv[2]} has {selected!r} selected, not {argv[3]!r}", file=sys.stderr)
        return 1
    if len(argv) == 5 and argv[1] == "changes":
        return print_changes(argv[2], int(argv[3]), float(argv[4]))
    if len(argv) == 4 and argv[1] == "character":
        text = control_named(argv[2]).queryText()
        x, y, width, height = text.getCharacterExtents(int(argv[3]), pyatspi.DESKTOP_COORDS)
        if width <= 0 or height <= 0:
            print(f"character {argv[3]} of {argv[2]} is out of view", file=sys.stderr)
            return 1
        print(x, y, width, height)
        return 0
    if len(argv) == 3 and argv[1] == "text":
        print(control_named(argv[2]).queryText().getText(0, -1))
        return 0
    if len(argv) == 5 and argv[1] == "wait":
        deadline = time.monotonic() + float(argv[4])
        text = None
        while time.monotonic() < deadline:
            text = text_of(argv[2])
            if text == argv[3]:
                return 0
            time.sleep(0.05)
        print(f"{argv[2]} shows {text!r}, not {argv[3]!r}", file=sys.stderr)
        return 1
    if len(argv) == 5 and argv[1] in ("length", "holds"):
        deadline = time.monotonic() + float(argv[4])
        wanted = int(argv[3])
        count = None
        while time.monotonic() < deadline:
            control = find_control(argv[2])
            count = control.queryText().characterCount if control is not None else None
            if count == wanted or (argv[1] == "holds" and count is not None and count > wanted):
                return 0
            time.sleep(0.1)
        print(f"{argv[2]} holds {count} characters, not {argv[3]}", file=sys.stderr)
        return 1
    if len(argv) == 4 and argv[1] == "focused":
        deadline = time.monotonic() + float(argv[3])
        while time.monotonic() < deadline:
            control = find_control(argv[2])
            if control is not None and control.getState().contains(pyatspi.STATE_FOCUSED):
                return 0
            time.sleep(0.1)
        print(f"{argv[2]} did not take the focus", file=sys.stderr)
        return 1
    if len(argv) == 4 and argv[1] == "watch":
        control = control_named(argv[2])
        text = control.queryText()
        start = time.monotonic()
        last = None
        while time.monotonic() - start < float(argv[3]):
            now = text.getText(0, -1)
            if now != last:
                print(f"{(time.monotonic() - start) * 1000:.0f} {now}", flush=True)
                last = now
            time.sleep(0.005)
        return 0
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
