#!/usr/bin/python3
"""Writes markup-names.ttf: a tiny TrueType font whose name strings look like markup.

The details window must show such strings as they are, never as rich text. The font has
outlines for "A" and "あ" only, so tests can also tell its own glyphs from borrowed ones.
Run: /usr/bin/python3 make-markup-font.py [output.ttf]
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen

FAMILY = "Markup <b>x</b>&amp;"
NAMES = {
    "copyright": "<b>x</b>&amp; <a href='http://example.invalid/'>link</a>",
    "familyName": FAMILY,
    "styleName": "Regular",
    "uniqueFontIdentifier": "Markup-Regular",
    "fullName": FAMILY + " Regular",
    "psName": "Markup-Regular",
    "version": "Version 1.000 <i>beta</i>",
    "licenseDescription": "<script>alert(1)</script> & <b>bold</b>\nsecond line",
    "licenseInfoURL": "http://example.invalid/<licence>",
}


def box(pen, x0, y0, x1, y1):
    pen.moveTo((x0, y0))
    pen.lineTo((x0, y1))
    pen.lineTo((x1, y1))
    pen.lineTo((x1, y0))
    pen.closePath()


def glyph(draw):
    pen = TTGlyphPen(None)
    draw(pen)
    return pen.glyph()


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "markup-names.ttf"
    builder = FontBuilder(1000, isTTF=True)
    order = [".notdef", "space", "A", "a-hiragana"]
    builder.setupGlyphOrder(order)
    builder.setupCharacterMap({0x20: "space", 0x41: "A", 0x3042: "a-hiragana"})

    def notdef(pen):
        box(pen, 50, 0, 450, 700)
        box(pen, 100, 650, 400, 50)  # the inner contour runs the other way: a hollow box

    def letter_a(pen):
        pen.moveTo((0, 0))
        pen.lineTo((300, 700))
        pen.lineTo((600, 0))
        pen.closePath()

    def hiragana_a(pen):
        box(pen, 100, -100, 900, 800)

    builder.setupGlyf({
        ".notdef": glyph(notdef),
        "space": glyph(lambda pen: None),
        "A": glyph(letter_a),
        "a-hiragana": glyph(hiragana_a),
    })
    builder.setupHorizontalMetrics(
        {".notdef": (500, 50), "space": (250, 0), "A": (600, 0), "a-hiragana": (1000, 100)})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable(NAMES, mac=True)
    builder.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    builder.save(output)


if __name__ == "__main__":
    main()
