#!/usr/bin/python3
"""Writes charmap-test.ttf: a tiny TrueType font whose characters fall into known parts of the
Japanese sets and Unicode blocks the character map counts, with a character mapped to glyph 0
(which the face does not have) and a glyph no character maps to.

Also, with --characters N, a face of N characters (CJK and beyond) for the benchmark.
Run: /usr/bin/python3 make-charmap-font.py [output.ttf] [--characters N]
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

# かな 6, 常用漢字 一 丁 and 𠮟 (beyond the BMP), 人名用漢字 丑, JIS X 0208 level 2 丐, Latin.
CHARACTERS = "あいうえおア一丁丑丐\U00020B9FABC"
NOT_A_CHARACTER = 0xE000  # mapped to .notdef


def box():
    pen = TTGlyphPen(None)
    pen.moveTo((100, -50))
    pen.lineTo((100, 750))
    pen.lineTo((900, 750))
    pen.lineTo((900, -50))
    pen.closePath()
    return pen.glyph()


def build(output, codes, family):
    names = ["g%05X" % c for c in codes]
    order = [".notdef"] + names + ["unmapped"]
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder(order)
    cmap = dict(zip(codes, names))
    if family == "Charmap Test":
        cmap[NOT_A_CHARACTER] = ".notdef"
    builder.setupCharacterMap(cmap)
    glyph = box()
    builder.setupGlyf({name: glyph for name in order})
    builder.setupHorizontalMetrics({name: (1000, 100) for name in order})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable({"familyName": family, "styleName": "Regular"}, mac=False)
    builder.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    builder.save(output)


def main():
    args = sys.argv[1:]
    count = 0
    if "--characters" in args:
        at = args.index("--characters")
        count = int(args[at + 1])
        del args[at:at + 2]
    output = args[0] if args else "charmap-test.ttf"
    if count:
        # The unified ideographs first, then the extension B ones: 45,000 fits in both.
        codes = list(range(0x4E00, 0xA000)) + list(range(0x20000, 0x2A6E0))
        build(output, codes[:count], "Charmap Large")
    else:
        build(output, [ord(c) for c in CHARACTERS], "Charmap Test")


if __name__ == "__main__":
    main()
