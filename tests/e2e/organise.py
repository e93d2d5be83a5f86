"""Organises fonts with the real keys and takes every step back with Ctrl+Z, reading the window
through AT-SPI and the tag files from the disk. Usage: organise.py TAGS_FOLDER. Prints what it
did; exits non-zero on the first fault."""
import os
import subprocess
import sys
import time

import pyatspi

from atspi_reader import click, fail, key, wait_for, window
from atspi_reader import focused_tile as reader_focused_tile
from atspi_reader import nodes as reader_nodes

FAMILIES = ["DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"]
TAGS = sys.argv[1]
TRASH = os.path.join(TAGS, "ゴミ箱.tag")
FAVOURITES = os.path.join(TAGS, "お気に入り.tag")
B_TAG = os.path.join(TAGS, "b.tag")


def nodes():
    return reader_nodes(FRAME)


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def tiles():
    return [name for role, name, node in nodes() if role == "list item" and showing(node)]


def focused_tile():
    return reader_focused_tile(FRAME)


def tag_buttons():
    """The tag bar's buttons, left to right."""
    found = []
    for role, name, node in nodes():
        if role == "push button" and name.endswith(")") and showing(node):
            found.append((node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS).x, name, node))
    return [(name, node) for _, name, node in sorted(found)]


def notice():
    for role, name, node in nodes():
        if role == "label" and "Ctrl+" in name and showing(node):
            return name
    return ""


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def wait(what, condition, seconds=15):
    wait_for(what, condition, seconds)


def focus_first_tile():
    for _ in range(30):
        tile = focused_tile()
        if tile is not None and tile == tiles()[0]:
            return
        key("Home" if tile else "Tab")
    fail("the keyboard reached %r, not the first tile" % focused_tile())


FRAME = window()
wait("tiles read %r, expected %r" % (tiles(), FAMILIES), lambda: tiles() == FAMILIES, 30)

# Delete sends the focused font to the trash, a UTF-16 file another program wrote; Ctrl+Z
# leaves it byte for byte as it was.
trash_before = read(TRASH)
focus_first_tile()
key("Delete")
wait("the trash holds %r after Delete" % read(TRASH),
     lambda: read(TRASH) == trash_before + "DejaVu Sans\r\n".encode("utf-16-le"))
wait("the view shows %r after Delete" % tiles(), lambda: tiles() == FAMILIES[1:])
wait("no notice names the step and Ctrl+Z", lambda: "Ctrl+Z" in notice() and "DejaVu Sans" in notice())
labels = [name for role, name, _ in nodes() if role == "label"]
if not any(name.startswith("2 ") for name in labels):
    fail("status panel 0 did not follow the Delete: %r" % labels)

# A text field with the focus keeps Ctrl+Z for its own text.
field = [node for role, name, node in nodes() if role in ("text", "entry") and name == "サンプルテキスト"][0]
field.queryComponent().grabFocus()
time.sleep(0.3)
key("x", "y")
key("ctrl+z")
text = field.queryText().getText(0, -1)
if "xy" in text or read(TRASH) == trash_before:
    fail("Ctrl+Z in the sample text left %r there and the trash %r" % (text, read(TRASH)))
focus_first_tile()
key("ctrl+z")
wait("the trash is %r after Ctrl+Z, expected %r" % (read(TRASH), trash_before),
     lambda: read(TRASH) == trash_before)
wait("the view shows %r after Ctrl+Z" % tiles(), lambda: tiles() == FAMILIES)
print("trash ok: Delete, then Ctrl+Z left the trash file's bytes and the font back in its place")

# Ctrl+D twice: a favourite, then none; two Ctrl+Z leave no file, where there was none;
# Ctrl+Shift+Z redoes.
focus_first_tile()
key("ctrl+d")
wait("favourites hold %r after Ctrl+D" % read(FAVOURITES), lambda: read(FAVOURITES) == b"DejaVu Sans\r\n")
wait("the button reads %r" % [n for n, _ in tag_buttons()],
     lambda: "お気に入り (1)" in [n for n, _ in tag_buttons()])
key("ctrl+d")
wait("favourites hold %r after Ctrl+D again" % read(FAVOURITES), lambda: read(FAVOURITES) == b"")
key("ctrl+z")
wait("favourites hold %r after one Ctrl+Z" % read(FAVOURITES), lambda: read(FAVOURITES) == b"DejaVu Sans\r\n")
key("ctrl+z")
wait("favourites are %r after two Ctrl+Z" % read(FAVOURITES), lambda: read(FAVOURITES) is None)
key("ctrl+shift+z")
wait("favourites hold %r after Ctrl+Shift+Z" % read(FAVOURITES), lambda: read(FAVOURITES) == b"DejaVu Sans\r\n")
print("favourite ok: Ctrl+D twice, undone twice and redone once")

# A tag deleted from its menu comes back with its file's bytes and its place in the bar.
before = read(B_TAG)
names = [name for name, _ in tag_buttons()]
order = [n for n in names if n[0] in "abc"]
if order != ["a (0)", "b (2)", "c (0)"]:
    fail("the user tags read %r" % names)
button = dict(tag_buttons())["b (2)"]
click(button, button="3")
time.sleep(0.2)
key("d")
wait("b.tag is still there after 削除", lambda: read(B_TAG) is None)
wait("the bar still shows b", lambda: "b (2)" not in [n for n, _ in tag_buttons()])
focus_first_tile()
key("ctrl+z")
wait("b.tag holds %r after Ctrl+Z" % read(B_TAG), lambda: read(B_TAG) == before)
wait("the user tags read %r after Ctrl+Z" % [n for n, _ in tag_buttons()],
     lambda: [n for n, _ in tag_buttons() if n[0] in "abc"] == order)
print("tag ok: deleted and undone, back with its bytes in its place")

# Three tiles selected and one of them dragged onto a tag: the tag gets all three, and one
# Ctrl+Z takes the whole group back (the tag had no file).
A_TAG = os.path.join(TAGS, "a.tag")
focus_first_tile()
key("ctrl+a")
target = dict(tag_buttons())["a (0)"]
tile = [node for role, name, node in nodes() if role == "list item" and name == FAMILIES[1]][0]
start = tile.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
end = target.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
x, y = start.x + start.width // 2, start.y + start.height // 2
to_x, to_y = end.x + end.width // 2, end.y + end.height // 2
subprocess.run(["xdotool", "mousemove", str(x), str(y)], check=True)
time.sleep(0.2)
subprocess.run(["xdotool", "mousedown", "1"], check=True)
time.sleep(0.2)
for step in range(1, 9):
    subprocess.run(["xdotool", "mousemove", str(x + (to_x - x) * step // 8),
                    str(y + (to_y - y) * step // 8)], check=True)
    time.sleep(0.1)
time.sleep(0.2)
subprocess.run(["xdotool", "mouseup", "1"], check=True)
wait("a.tag holds %r after the drag" % read(A_TAG),
     lambda: read(A_TAG) == "".join(f + "\r\n" for f in FAMILIES).encode())
wait("the bar reads %r" % [n for n, _ in tag_buttons()],
     lambda: "a (3)" in [n for n, _ in tag_buttons()])
focus_first_tile()
key("ctrl+z")
wait("a.tag is %r after one Ctrl+Z" % read(A_TAG), lambda: read(A_TAG) is None)
wait("the bar reads %r after Ctrl+Z" % [n for n, _ in tag_buttons()],
     lambda: "a (0)" in [n for n, _ in tag_buttons()])
print("selection ok: three tiles dragged onto a tag, taken back with one Ctrl+Z")
