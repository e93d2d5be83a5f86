#!/usr/bin/python3
"""Writes variable-test.ttf: a tiny variable TrueType font for the engine's tests.

None of the fonts the tests use (DejaVu, IPA) has variation axes. This one has two, weight
(wght 100-400-900) and width (wdth 50-100-200), and named instances "Regular" (400, 100) and
"Wide" (400, 200). Only "A" varies: its advance, 600 units at the default, grows by 200 at
wght 900 and by 300 at wdth 200, through the deltas of its advance point (there is no HVAR,
so readers take advances from the glyph variations as HarfBuzz does).
Run: /usr/bin/python3 make-variable-font.py [output.ttf]
"""
import sys

from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables.TupleVariation import TupleVariation


def glyph(points):
    pen = TTGlyphPen(None)
    if points:
        pen.moveTo(points[0])
        for point in points[1:]:
            pen.lineTo(point)
        pen.closePath()
    return pen.glyph()


def main():
    output = sys.argv[1] if len(sys.argv) > 1 else "variable-test.ttf"
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder([".notdef", "space", "A"])
    builder.setupCharacterMap({0x20: "space", 0x41: "A"})
    builder.setupGlyf({
        ".notdef": glyph([(50, 0), (50, 700), (450, 700), (450, 0)]),
        "space": glyph([]),
        "A": glyph([(0, 0), (300, 700), (600, 0)]),
    })
    builder.setupHorizontalMetrics({".notdef": (500, 50), "space": (250, 0), "A": (600, 0)})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable({"familyName": "Variable Test", "styleName": "Regular"})
    builder.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    builder.setupFvar(
        axes=[("wght", 100, 400, 900, "Weight"), ("wdth", 50, 100, 200, "Width")],
        instances=[
            {"stylename": "Regular", "location": {"wght": 400, "wdth": 100}},
            {"stylename": "Wide", "location": {"wght": 400, "wdth": 200}},
        ])
    # Three outline points, then the phantom points: origin, advance, top, bottom.
    heavy = [(0, 0), (100, 0), (200, 0), (0, 0), (200, 0), (0, 0), (0, 0)]
    wide = [(0, 0), (150, 0), (300, 0), (0, 0), (300, 0), (0, 0), (0, 0)]
    builder.setupGvar({
        "A": [
            TupleVariation({"wght": (0.0, 1.0, 1.0)}, heavy),
            TupleVariation({"wdth": (0.0, 1.0, 1.0)}, wide),
        ],
    })
    builder.save(output)


if __name__ == "__main__":
    main()
