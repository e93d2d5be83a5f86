#!/usr/bin/python3
"""Writes the fonts the character-set tests read: Latin-only faces whose OS/2 table says
different things about the Japanese code page (bit 17 of ulCodePageRange1).

  code-page-jis.ttf   OS/2 version 4, bit 17 set: Japanese by its code pages although it has
                      no Japanese character, so fontconfig does not list "ja" for it
  code-page-latin.ttf OS/2 version 4, Latin 1 only
  code-page-v0.ttf    OS/2 version 0, which holds no code pages
  code-page-none.ttf  no OS/2 table at all
Run: /usr/bin/python3 make-code-page-fonts.py [folder]
"""
import os
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen


def build(family, code_pages, os2_version):
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder([".notdef", "A"])
    builder.setupCharacterMap({0x41: "A"})
    pen = TTGlyphPen(None)
    pen.moveTo((0, 0))
    pen.lineTo((300, 700))
    pen.lineTo((600, 0))
    pen.closePath()
    builder.setupGlyf({".notdef": TTGlyphPen(None).glyph(), "A": pen.glyph()})
    builder.setupHorizontalMetrics({".notdef": (500, 0), "A": (600, 0)})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable({"familyName": family, "styleName": "Regular"})
    builder.setupOS2(version=max(os2_version, 0), sTypoAscender=880, sTypoDescender=-120,
                     usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    os2 = builder.font["OS/2"]
    if os2_version >= 1:
        os2.ulCodePageRange1 = code_pages
        os2.ulCodePageRange2 = 0
    if os2_version < 0:
        del builder.font["OS/2"]
    return builder


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else "."
    fonts = {
        "code-page-jis.ttf": ("Code Page JIS", 1 << 0 | 1 << 17, 4),
        "code-page-latin.ttf": ("Code Page Latin", 1 << 0, 4),
        "code-page-v0.ttf": ("Code Page Zero", 0, 0),
        "code-page-none.ttf": ("Code Page None", 0, -1),
    }
    for name, (family, code_pages, version) in fonts.items():
        build(family, code_pages, version).save(os.path.join(folder, name))


if __name__ == "__main__":
    main()
