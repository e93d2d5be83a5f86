"""Opens a family's details window from the keyboard, reaches the 文字 tab by its accessible
name, moves in the character grid with the arrow keys and copies a character with Ctrl+C, as a
screen reader's user would. Exits non-zero on the first fault."""
import subprocess
import time

import pyatspi

from atspi_reader import click, fail, focused_tile, key, nodes, wait_for, walk, window


def details_frame():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is None:
            continue
        for i in range(app.childCount):
            frame = app.getChildAtIndex(i)
            if frame is not None and (frame.name or "").startswith("フォントの詳細 - "):
                return frame
    return None


def named(frame, role, name):
    for r, n, node in nodes(frame):
        if r == role and n == name:
            return node
    return None


def focused_cell(table):
    for node in walk(table, []):
        if node.getRoleName() == "table cell" and node.getState().contains(
                pyatspi.STATE_FOCUSED):
            return node.name
    return None


def clipboard():
    return subprocess.run(["xclip", "-o", "-selection", "clipboard"], capture_output=True,
                          text=True).stdout


frame = window()
for _ in range(40):
    if focused_tile(frame):
        break
    key("Tab")
family = focused_tile(frame)
if not family:
    fail("no tile took the focus")
key("Return")
wait_for("no details window after Enter on a tile", lambda: details_frame() is not None)
details = details_frame()

wait_for("no page tab named 文字 in %r" % [(r, n) for r, n, _ in nodes(details)],
         lambda: named(details, "page tab", "文字") is not None)
click(named(details, "page tab", "文字"))
wait_for("no character grid named 文字の一覧",
         lambda: named(details, "table", "文字の一覧") is not None)
grid = named(details, "table", "文字の一覧")
wait_for("the grid shows no cells",
         lambda: any(n.getRoleName() == "table cell" for n in walk(grid, [])))

# Into the grid by the keyboard: Tab from the tab bar.
for _ in range(10):
    # The current cell says it is focused whether or not the grid has the keys.
    if grid.getState().contains(pyatspi.STATE_FOCUSED):
        break
    key("Tab")
if not grid.getState().contains(pyatspi.STATE_FOCUSED):
    fail("Tab never reached the grid")
first = focused_cell(grid)
key("Right")
second = focused_cell(grid)
if not second or second == first:
    fail("Right moved from %r to %r" % (first, second))
key("ctrl+c")
copied = clipboard()
# A cell's name is the character, its code point and its Unicode name.
if not copied or not second.startswith(copied + " U+"):
    fail("Ctrl+C on %r copied %r" % (second, copied))
print("ok: %s, from %r to %r, copied %r" % (family, first, second, copied))
