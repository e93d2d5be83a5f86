"""What the end-to-end tests read through AT-SPI, as a screen reader does, and the real keys
and clicks they drive the program with."""
import subprocess
import sys
import time

import pyatspi


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
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            if app is None:
                continue
            for i in range(app.childCount):
                frame = app.getChildAtIndex(i)
                if frame is not None and frame.name == "Glyphorama2":
                    return frame
        time.sleep(0.2)
    fail("the main window is not in the accessibility tree")


def nodes(frame):
    return [(n.getRoleName(), n.name, n) for n in walk(frame, [])]


def focused_tile(frame):
    for role, name, node in nodes(frame):
        if role == "list item" and node.getState().contains(pyatspi.STATE_FOCUSED):
            return name
    return None


def key(*keys):
    subprocess.run(["xdotool", "key", *keys], check=True)
    time.sleep(0.3)


def click(node, button="1", modifier=None):
    """Clicks the middle of the node, with the modifier key held."""
    box = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    xdotool = ["xdotool", "mousemove", str(box.x + box.width // 2), str(box.y + box.height // 2)]
    if modifier:
        xdotool += ["keydown", modifier]
    xdotool += ["click", button]
    if modifier:
        xdotool += ["keyup", modifier]
    subprocess.run(xdotool, check=True)
    time.sleep(0.4)


def wait_for(what, condition, seconds=10):
    """Fails with what was expected unless the condition holds within the time."""
    for _ in range(seconds * 5):
        if condition():
            return
        time.sleep(0.2)
    fail(what)
