#!/usr/bin/python3
"""The main window as a screen reader finds it over AT-SPI.

Run inside scripts/atspi-session (a display and the accessibility bus of
its own): starts the program on two small files, reads grid one's row 2
and its state, presses F7 with a real key press and checks that the focus
moved to the next difference's row and that the move was announced.

    atspi_window.py PROGRAM
"""
import os
import subprocess
import sys
import tempfile
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_client import Atspi, GLib, check, failures, key, named, pump, report, search, wait_for  # noqa: E402

# Rows: 1 same 1|same 1  2 abc|abd  3 same 3|same 3  4 only one|(filler)
#       5 same 5|same 5  6 (filler)|extra  7 trailing row
ONE = "same 1\nabc\nsame 3\nonly one\nsame 5\n"
TWO = "same 1\nabd\nsame 3\nsame 5\nextra\n"

events = []


def hear(event):
    """Keeps an event; its source's name is asked at once, and a busy bus may
    not answer that in time, which must not lose the event."""
    try:
        name = event.source.get_name()
    except GLib.Error:
        name = None
    events.append((event.type, name, event.detail1))










def application():
    desktop = Atspi.get_desktop(0)
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app and app.get_name() == "Vantrel":
            return app
    return None


def settle(holds, seconds=10):
    """Waits until holds() is true, as a loaded machine may be slow to answer."""
    end = time.monotonic() + seconds
    while not holds() and time.monotonic() < end:
        pump(0.1)




def focused(node):
    return node.get_state_set().contains(Atspi.StateType.FOCUSED)




def main():
    folder = tempfile.mkdtemp()
    paths = []
    for name, text in (("one.txt", ONE), ("two.txt", TWO)):
        paths.append(os.path.join(folder, name))
        with open(paths[-1], "w") as f:
            f.write(text)
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    # Listening before the program starts: it asks the registry once which
    # events anyone listens to, and would not send a kind registered late.
    listener = Atspi.EventListener.new(hear)
    listener.register("object:state-changed:focused")
    listener.register("object:property-change:accessible-description")
    pump(1.0)
    program = subprocess.Popen([sys.argv[1], "--compare", *paths], env=env)
    try:
        app = wait_for("the program", application, program=program)
        frame = wait_for("the window", lambda: search(app, named(Atspi.Role.FRAME, "Vantrel - File Difference Viewer")))
        grid = wait_for("grid one", lambda: search(frame, named(Atspi.Role.TABLE, "File One")))
        wait_for("the comparison", lambda: Atspi.Table.get_n_rows(grid) == 7)
        row2 = Atspi.Table.get_accessible_at(grid, 1, 0)
        check("row 2", row2.get_name(), "Line 2: abc")
        check("row 2's state", row2.get_description(), "changed, marked")
        check("row 4's state", Atspi.Table.get_accessible_at(grid, 3, 0).get_description(), "only in File One")
        check("grid two's row 6", Atspi.Table.get_accessible_at(
            search(frame, named(Atspi.Role.TABLE, "File Two")), 5, 0).get_description(), "only in File Two")
        check("the announcement after Compare", grid.get_description(), "Difference 1 of 3: line 2 changed")
        # The window takes the keys; Tab walks the designed order to grid one.
        window = subprocess.run(["xdotool", "search", "--name", "^Vantrel - File Difference Viewer$"],
                                capture_output=True, text=True, check=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        for _ in range(10):
            settle(lambda: focused(grid), 2)
            if focused(grid):
                break
            key("Tab")
        check("grid one has the focus", focused(grid), True)
        events.clear()
        key("F7")
        settle(lambda: grid.get_description().startswith("Difference 2"))

        def told():
            return any(t == "object:property-change:accessible-description" and n == "File One" for t, n, _ in events)

        # The events come on their own, after the calls that read the state.
        settle(lambda: told() and ("object:state-changed:focused", "Line 4: only one", 1) in events)
        check("the announcement after F7", grid.get_description(), "Difference 2 of 3: line 4 only in File One")
        current = Atspi.Table.get_accessible_at(grid, 3, 0)
        check("row 4 is focused", focused(current), True)
        check("row 2 is no longer selected",
              Atspi.Table.get_accessible_at(grid, 1, 0).get_state_set().contains(Atspi.StateType.SELECTED), False)
        check("focus told", ("object:state-changed:focused", "Line 4: only one", 1) in events, True)
        check("announcement told", told(), True)
        pane = search(frame, named(Atspi.Role.TEXT, "File One's line"))
        check("the detail pane", Atspi.Text.get_text(pane, 0, -1), "only one")
        check("its differing characters", pane.get_description(), "changed: characters 1\u20138")
        bar = search(frame, named(Atspi.Role.SLIDER, "Difference bar"))
        check("the bar's value", Atspi.Value.get_current_value(bar), 4.0)
    finally:
        program.terminate()
        program.wait(30)
    return report()


if __name__ == "__main__":
    sys.exit(main())
