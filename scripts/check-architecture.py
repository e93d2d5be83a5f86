#!/usr/bin/env python3
"""Prints which folder includes which, and fails on an arrow the architecture forbids.

Usage: scripts/check-architecture.py [--arrows]
The rules are those of docs/architecture.md: the font engine is a leaf over platform/ and
libraries, without widgets; the catalogue knows nothing of the sample view's extensions, and
neither they nor the details window know the main window; nothing but ui/ wires the
extensions together.
"""
import pathlib
import re
import sys

ROOT = pathlib.Path(__file__).resolve().parent.parent
FOLDERS = ["platform", "fontengine", "app", "fonts", "sampleview", "details", "tags", "organise",
           "notice", "ui"]
# What each folder may include besides itself and libraries. A folder missing here has no rule.
ALLOWED = {
    "platform": set(),
    "fontengine": {"platform"},
    # The builder's Synchronize and the tiles' menu reach the window through the original
    # global; the sample view's extensions are never the catalogue's to know.
    "fonts": {"fontengine", "platform", "tags", "ui"},
    "sampleview": {"fonts", "fontengine", "platform", "app"},
    "details": {"fontengine", "platform"},
    # The organising steps work on the tag store; the window makes and wires them.
    "organise": {"tags", "fonts", "platform", "app"},
}
WIDGET_HEADERS = re.compile(r"#include\s*<(QtWidgets/|Q(Widget|Application|Label|Abstract\w*View|"
                            r"PushButton|ToolButton|LineEdit|Menu|Dialog|MessageBox|ScrollArea|"
                            r"Layout|HBoxLayout|VBoxLayout|GridLayout)\b)")
INCLUDE = re.compile(r'#include\s+"(\w+)/([\w.]+)"')
WIRING = "ui/SampleViewControls.h"


def sources(folder):
    return sorted(p for p in (ROOT / folder).glob("*") if p.suffix in (".cpp", ".h"))


def main():
    arrows = {}
    faults = []
    for folder in FOLDERS:
        for path in sources(folder):
            text = path.read_text(encoding="utf-8")
            name = f"{folder}/{path.name}"
            for match in INCLUDE.finditer(text):
                target, header = match.group(1), match.group(2)
                if target not in FOLDERS or target == folder:
                    continue
                arrows.setdefault((folder, target), set()).add(name)
                if folder in ALLOWED and target not in ALLOWED[folder]:
                    faults.append(f"{name} includes {target}/{header}")
                if f"{target}/{header}" == WIRING and folder != "ui":
                    faults.append(f"{name} includes the sample view's wiring ({WIRING})")
            if folder == "fontengine" and WIDGET_HEADERS.search(text):
                faults.append(f"{name} includes a Qt Widgets header")
    if "--arrows" in sys.argv:
        for (source, target), files in sorted(arrows.items()):
            print(f"{source} -> {target}: {len(files)} files")
    if faults:
        print("Arrows the architecture forbids:", file=sys.stderr)
        print("\n".join("  " + f for f in faults), file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
