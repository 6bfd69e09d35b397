"""What the AT-SPI tests share: reading the program over the accessibility
bus as a screen reader does, and pressing real keys (inside
scripts/atspi-session, which gives them a display and a bus of their own)."""
import os
import subprocess
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402,F401

failures = []
NAME = os.path.splitext(os.path.basename(sys.argv[0]))[0]


def check(what, got, wanted):
    if got != wanted:
        failures.append(f"{what}: got {got!r}, wanted {wanted!r}")


def pump(seconds):
    """Lets AT-SPI events arrive for a while."""
    end = time.monotonic() + seconds
    context = GLib.MainContext.default()
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.02)


def wait_for(what, find, seconds=60, program=None):
    """What find() gives once it gives something; the test ends when it never
    does, or when the program ends first. A busy bus may fail a call: that
    is asked again."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = find()
        except GLib.Error:
            found = None
        if found:
            return found
        if program is not None and program.poll() is not None:
            sys.exit(f"{NAME}: the program ended with status {program.returncode} before {what} appeared")
        pump(0.2)
    sys.exit(f"{NAME}: {what} never appeared")


def search(node, wanted, depth=0):
    """The first descendant for which wanted(node) holds, depth first; a
    table's or tree's cells are read through the table, not searched."""
    if node is None or depth > 8:
        return None
    if wanted(node):
        return node
    if node.get_role() in (Atspi.Role.TABLE, Atspi.Role.TREE):
        return None
    for i in range(node.get_child_count()):
        found = search(node.get_child_at_index(i), wanted, depth + 1)
        if found:
            return found
    return None


def named(role, name):
    return lambda node: node.get_role() == role and node.get_name() == name


def key(name):
    subprocess.run(["xdotool", "key", "--clearmodifiers", name], check=True)
    pump(0.5)


def report():
    """Prints the failed checks and returns the exit status."""
    for failure in failures:
        print("FAIL:", failure)
    print(f"{NAME}: {'failed' if failures else 'passed'}, {len(failures)} failed checks")
    return 1 if failures else 0
