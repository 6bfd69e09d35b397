#!/usr/bin/python3
"""git difftool -d with Vantrel as its tool, as a user and a screen reader meet it.

Run inside scripts/atspi-session: a copy of the program is already running
when git starts another on its two temporary folders (a changed, an added
and a removed file, and a symbolic link whose target changed; git's right
folder links to the working tree). The folder window's tree is read over
AT-SPI (each entry's name with its state in words), F7 and Enter are real
key presses, the file view comes and goes, and git may only go on (and
remove its folders) once the folder window is closed, which closes the
file view it opened as well.

    atspi_difftool.py PROGRAM
"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from atspi_client import Atspi, check, failures, key, pump, report, search, wait_for  # noqa: E402

FOLDERS = "Vantrel - Folder Difference Viewer"
FILES = "Vantrel - File Difference Viewer"










def frames(title):
    """The frames of that title in every copy of the program."""
    desktop = Atspi.get_desktop(0)
    found = []
    for i in range(desktop.get_child_count()):
        app = desktop.get_child_at_index(i)
        if app and app.get_name() == "Vantrel":
            frame = search(app, lambda n: n.get_role() == Atspi.Role.FRAME and n.get_name() == title)
            if frame:
                found.append((app, frame))
    return found


def showing(node):
    return node.get_state_set().contains(Atspi.StateType.SHOWING)




def git(repo, *args):
    subprocess.run(["git", "-C", repo, *args], check=True, capture_output=True)


def make_repository():
    repo = tempfile.mkdtemp()
    git(repo, "init", "-q")
    for name, text in (("changed.txt", "v1\n"), ("removed.txt", "gone\n"), ("same.txt", "same\n")):
        with open(os.path.join(repo, name), "w") as f:
            f.write(text)
    os.symlink("same.txt", os.path.join(repo, "link"))
    git(repo, "add", ".")
    git(repo, "-c", "user.name=t", "-c", "user.email=t@t", "commit", "-qm", "one")
    with open(os.path.join(repo, "changed.txt"), "w") as f:
        f.write("v2\n")
    with open(os.path.join(repo, "added.txt"), "w") as f:
        f.write("new\n")
    git(repo, "rm", "-q", "removed.txt")
    git(repo, "add", "added.txt")
    os.remove(os.path.join(repo, "link"))
    os.symlink("changed.txt", os.path.join(repo, "link"))
    return repo


def rows(tree):
    """Each row's name (with its state) and its state column."""
    return [(Atspi.Table.get_accessible_at(tree, r, 0).get_name(), Atspi.Table.get_accessible_at(tree, r, 1).get_name())
            for r in range(Atspi.Table.get_n_rows(tree))]


def main():
    program = os.path.abspath(sys.argv[1])
    repo = make_repository()
    env = dict(os.environ, QT_QPA_PLATFORM="xcb", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    first = subprocess.Popen([program], env=env)
    try:
        wait_for("the copy already running", lambda: frames(FILES))
        tool = f'"{program}" --compare "$LOCAL" "$REMOTE"'
        difftool = subprocess.Popen(["git", "-C", repo, "-c", f"difftool.vantrel.cmd={tool}", "difftool", "-d", "-y",
                                     "-t", "vantrel", "HEAD"], env=env)
        app, frame = wait_for("the folder window", lambda: frames(FOLDERS))[0]
        tree = wait_for("the tree", lambda: search(frame, lambda n: n.get_role() == Atspi.Role.TREE))
        check("the tree's name", tree.get_name(), "Folder One and Folder Two")
        wait_for("the compared tree", lambda: Atspi.Table.get_n_rows(tree) == 4 and rows(tree)[0][1] != "")
        check("the entries", rows(tree), [("added.txt, only in Folder Two", "only in Folder Two"),
                                          ("changed.txt, different", "different"),
                                          ("link, different", "different"),
                                          ("removed.txt, only in Folder One", "only in Folder One")])
        left = search(frame, lambda n: n.get_role() == Atspi.Role.TEXT and n.get_name() == "Folder One")
        folder = Atspi.Text.get_text(left, 0, -1)
        check("git waits while the window is open", difftool.poll(), None)
        check("git's folder is there", os.path.isdir(folder), True)

        # F7 from the first entry to the next difference, Enter opens it.
        window = subprocess.run(["xdotool", "search", "--name", f"^{FOLDERS}$"], capture_output=True, text=True,
                                check=True).stdout.split()[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        pump(0.5)
        key("F7")
        focused = [name for r, (name, _) in enumerate(rows(tree))
                   if Atspi.Table.get_accessible_at(tree, r, 0).get_state_set().contains(Atspi.StateType.FOCUSED)]
        check("F7's entry", focused, ["changed.txt, different"])
        key("Return")
        files = wait_for("the file view", lambda: [f for a, f in frames(FILES) if a.get_process_id() == app.get_process_id()
                                                    and showing(f)])[0]
        grid = wait_for("grid one", lambda: search(files, lambda n: n.get_role() == Atspi.Role.TABLE
                                                   and n.get_name() == "File One"))
        wait_for("the pair compared", lambda: Atspi.Table.get_n_rows(grid) >= 1
                 and Atspi.Table.get_accessible_at(grid, 0, 0).get_name() == "Line 1: v1")
        key("ctrl+q")  # closing the file view goes back to the folders
        pump(1.0)
        check("the file view is gone", showing(files), False)
        check("git still waits", difftool.poll(), None)

        # The pair shown again, closing the folder window ends that copy, the
        # file view with it, and shows its farewell window.
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        key("Return")
        wait_for("the file view again", lambda: showing(files))
        subprocess.run(["xdotool", "windowfocus", "--sync", window], check=True)
        key("ctrl+w")
        wait_for("the other-products window",
                 lambda: [f for a, f in frames("Other Products from Quellan Software")
                          if a.get_process_id() == app.get_process_id()] or difftool.poll() is not None, 20)
        if difftool.poll() is None:
            key("Return")
        check("git's exit status", difftool.wait(30), 0)
        check("git removed its folder", os.path.isdir(folder), False)
        check("the first copy still runs", first.poll(), None)
    finally:
        first.terminate()
        first.wait(30)
    return report()


if __name__ == "__main__":
    sys.exit(main())
