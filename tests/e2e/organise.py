"""Organises fonts with the real keys and takes every step back with Ctrl+Z, reading the window
through AT-SPI and the tag files from the disk. Usage: organise.py TAGS_FOLDER. Prints what it
did; exits non-zero on the first fault."""
import os
import subprocess
import sys
import time

import pyatspi

FAMILIES = ["DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"]
TAGS = sys.argv[1]
TRASH = os.path.join(TAGS, "ゴミ箱.tag")
FAVOURITES = os.path.join(TAGS, "お気に入り.tag")
B_TAG = os.path.join(TAGS, "b.tag")


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def walk(node, found):
    found.append(node)
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            walk(child, found)
    return found


def window():
    for _ in range(150):
        for app in pyatspi.Registry.getDesktop(0):
            if app is None:
                continue
            for i in range(app.childCount):
                frame = app.getChildAtIndex(i)
                if frame is not None and frame.name == "Glyphorama2":
                    return frame
        time.sleep(0.2)
    fail("the main window is not in the accessibility tree")


def nodes():
    return [(n.getRoleName(), n.name, n) for n in walk(FRAME, [])]


def showing(node):
    return node.getState().contains(pyatspi.STATE_SHOWING)


def tiles():
    return [name for role, name, node in nodes() if role == "list item" and showing(node)]


def focused_tile():
    for role, name, node in nodes():
        if role == "list item" and node.getState().contains(pyatspi.STATE_FOCUSED):
            return name
    return None


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


def key(*keys):
    subprocess.run(["xdotool", "key", *keys], check=True)
    time.sleep(0.3)


def read(path):
    try:
        with open(path, "rb") as f:
            return f.read()
    except FileNotFoundError:
        return None


def wait(what, condition, seconds=15):
    for _ in range(seconds * 5):
        if condition():
            return
        time.sleep(0.2)
    fail(what)


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
box = button.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
subprocess.run(["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2),
                "click", "3"], check=True)
time.sleep(0.6)
key("d")
wait("b.tag is still there after 削除", lambda: read(B_TAG) is None)
wait("the bar still shows b", lambda: "b (2)" not in [n for n, _ in tag_buttons()])
focus_first_tile()
key("ctrl+z")
wait("b.tag holds %r after Ctrl+Z" % read(B_TAG), lambda: read(B_TAG) == before)
wait("the user tags read %r after Ctrl+Z" % [n for n, _ in tag_buttons()],
     lambda: [n for n, _ in tag_buttons() if n[0] in "abc"] == order)
print("tag ok: deleted and undone, back with its bytes in its place")
