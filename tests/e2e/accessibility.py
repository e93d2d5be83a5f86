"""Reads the program's accessibility tree through AT-SPI, as a screen reader does, and walks
the tiles with the keyboard. Prints what it finds; exits non-zero on the first fault."""
import time

from atspi_reader import fail, focused_tile, key, nodes, window

TOP_BAR = ["描画モードを切替える", "欧文フォントを表示", "日本語フォントを表示", "全て表示",
           "ツールメニュー", "サンプルテキストを適用", "サンプルテキストを消去"]
TAG_BAR = ["新しいタグ", "ゴミ箱 (0)", "お気に入り (0)"]
FAMILIES = ["DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"]


frame = window()
tiles = []
for _ in range(100):
    tiles = [name for role, name, _ in nodes(frame) if role == "list item"]
    if tiles == FAMILIES:
        break
    time.sleep(0.2)
if tiles != FAMILIES:
    fail("tiles read %r, expected %r" % (tiles, FAMILIES))

BUTTON_ROLES = ("push button", "toggle button", "check box", "radio button")
buttons = [name for role, name, _ in nodes(frame) if role in BUTTON_ROLES]
for name in TOP_BAR + TAG_BAR:
    if name not in buttons:
        fail("no button named %r among %r" % (name, [(r, n) for r, n, _ in nodes(frame)]))
if "" in buttons:
    fail("a button without a name among %r" % buttons)
entries = [name for role, name, _ in nodes(frame) if role in ("text", "entry")]
if "フォント名で検索" not in entries:
    fail("no search field among the text fields %r" % entries)
print("names ok: %d buttons, tiles %r" % (len(buttons), tiles))

# Tab until the flow has the focus; it hands it on to the first tile.
for _ in range(20):
    if focused_tile(frame):
        break
    key("Tab")
walked = [focused_tile(frame)]
# The first two tiles share the first row at any width of the window; Left stops at its start.
for k in ["Right", "End", "Home", "Left"]:
    key(k)
    walked.append(focused_tile(frame))
expected = [FAMILIES[0], FAMILIES[1], FAMILIES[2], FAMILIES[0], FAMILIES[0]]
if walked != expected:
    fail("the arrow keys went %r, expected %r" % (walked, expected))
print("keys ok: %r" % walked)
