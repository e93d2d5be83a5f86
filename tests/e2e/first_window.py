"""Reads the first window at its first-start size through AT-SPI: the sample text field shows a
short mixed text whole, and the search field is on screen with room for its placeholder.
Exits non-zero on the first fault."""
import time

import pyatspi

from atspi_reader import fail, walk, window

REFERENCE = "永あア漢 Hamburg 123"


def field(frame, name):
    for node in walk(frame, []):
        if node.getRoleName() in ("text", "entry") and node.name == name:
            return node
    fail("no text field named %r" % name)


def extents(node):
    return node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)


frame = window()
win = extents(frame)
sample = field(frame, "サンプルテキスト")
search = field(frame, "フォント名で検索")

# The search field lies inside the window, wide enough for its placeholder.
box = extents(search)
if box.x < win.x or box.x + box.width > win.x + win.width or box.width < 120:
    fail("search field at %r in a window at %r" % ((box.x, box.y, box.width, box.height),
                                                   (win.x, win.y, win.width, win.height)))

# The reference text, put into the sample field, is shown whole: its first and its last
# character both lie inside the field, with the text at its start and at its end.
sample.queryEditableText().setTextContents(REFERENCE)
time.sleep(0.5)
text = sample.queryText()
if text.getText(0, -1) != REFERENCE:
    fail("the sample field holds %r" % text.getText(0, -1))
box = extents(sample)
for caret in (0, len(REFERENCE)):
    text.setCaretOffset(caret)
    time.sleep(0.3)
    for offset in (0, len(REFERENCE) - 1):
        x, y, w, h = text.getCharacterExtents(offset, pyatspi.DESKTOP_COORDS)
        if w <= 0 or x < box.x or x + w > box.x + box.width:
            fail("character %d at x %d..%d, the field spans %d..%d (caret at %d)"
                 % (offset, x, x + w, box.x, box.x + box.width, caret))
print("first window ok: sample field %d px, search field %d px, window %d px"
      % (box.width, extents(search).width, win.width))
