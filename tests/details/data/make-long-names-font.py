#!/usr/bin/python3
"""Writes long-names.ttf: a tiny TrueType font with a 15,000-character family name and a long
version and copyright, as a name table allows.

No window showing such a font may grow wider than the screen. The name strings are stored for
Windows only (UTF-16), which keeps the table under its 64 KB of string storage.
Run: /usr/bin/python3 make-long-names-font.py [output.ttf]
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FAMILY = ("Long" + "name" * 3749)[:15000]
NAMES = {
    "copyright": "Copyright " + "c" * 6000,
    "familyName": FAMILY,
    "styleName": "Regular",
    "uniqueFontIdentifier": "LongNames-Regular",
    "fullName": "Long Names Regular",
    "psName": "LongNames-Regular",
    "version": "Version 1.000;" + "v" * 3000,
}


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "long-names.ttf"
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder([".notdef", "space", "L"])
    builder.setupCharacterMap({0x20: "space", 0x4C: "L"})
    pen = TTGlyphPen(None)
    pen.moveTo((100, 0))
    pen.lineTo((100, 700))
    pen.lineTo((500, 0))
    pen.closePath()
    letter = pen.glyph()
    builder.setupGlyf({".notdef": letter, "space": TTGlyphPen(None).glyph(), "L": letter})
    builder.setupHorizontalMetrics({".notdef": (600, 100), "space": (250, 0), "L": (600, 100)})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable(NAMES, mac=False)
    builder.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    builder.save(output)


if __name__ == "__main__":
    main()
