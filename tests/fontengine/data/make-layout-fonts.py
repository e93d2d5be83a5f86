#!/usr/bin/python3
"""Writes the fonts the layout tests read:

features-test.ttf, family "Features Test": a standard ligature f+i (liga), a stylistic set
that names itself "Open Tails" in the name table (ss01: a), and vertical setting: the
ideographic comma U+3001 has a vertical alternate (vert), and the kana and the comma advance
1000 units downwards by the vertical metrics (vhea, vmtx), Latin letters 800.

style-order-test.ttf, family "Style Order Test": a variable font (wght 300-700, wdth 75-100)
whose named instances come in no useful order: Bold, Condensed Bold, Regular, Light,
Condensed. Its outline of "A" widens with weight, so that a move along the axis shows.
Run: /usr/bin/python3 make-layout-fonts.py [folder]
"""
import os
import sys

from fontTools.feaLib.builder import addOpenTypeFeaturesFromString
from fontTools.fontBuilder import FontBuilder
from fontTools.pens.ttGlyphPen import TTGlyphPen
from fontTools.ttLib.tables.TupleVariation import TupleVariation


def glyph(*contours):
    pen = TTGlyphPen(None)
    for points in contours:
        pen.moveTo(points[0])
        for point in points[1:]:
            pen.lineTo(point)
        pen.closePath()
    return pen.glyph()


def box(left, bottom, right, top):
    return [(left, bottom), (left, top), (right, top), (right, bottom)]


FEATURES = """
languagesystem DFLT dflt;
languagesystem latn dflt;
languagesystem kana dflt;
feature liga { sub f i by f_i; } liga;
feature ss01 { featureNames { name "Open Tails"; }; sub a by a.ss01; } ss01;
feature vert { sub uni3001 by uni3001.vert; } vert;
"""


def features_font(path):
    builder = FontBuilder(1000, isTTF=True)
    order = [".notdef", "space", "a", "a.ss01", "f", "i", "f_i", "uni3001", "uni3001.vert",
             "uni3042"]
    builder.setupGlyphOrder(order)
    builder.setupCharacterMap({0x20: "space", 0x61: "a", 0x66: "f", 0x69: "i",
                               0x3001: "uni3001", 0x3042: "uni3042"})
    builder.setupGlyf({
        ".notdef": glyph(box(50, 0, 450, 700)),
        "space": glyph(),
        "a": glyph(box(50, 0, 450, 500)),
        "a.ss01": glyph(box(50, 0, 450, 500), box(450, 0, 550, 100)),
        "f": glyph(box(50, 0, 150, 700)),
        "i": glyph(box(50, 0, 150, 500)),
        "f_i": glyph(box(50, 0, 150, 700), box(250, 0, 350, 500)),
        # The comma sits low and left across a line, high and right down one.
        "uni3001": glyph(box(100, -50, 300, 150)),
        "uni3001.vert": glyph(box(650, 600, 850, 800)),
        "uni3042": glyph(box(100, -100, 900, 800)),
    })
    advances = {".notdef": 500, "space": 250, "a": 600, "a.ss01": 600, "f": 200, "i": 200,
                "f_i": 400, "uni3001": 1000, "uni3001.vert": 1000, "uni3042": 1000}
    builder.setupHorizontalMetrics({name: (width, 0) for name, width in advances.items()})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    vertical = {name: (1000 if name.startswith("uni") else 800, 0) for name in order}
    builder.setupVerticalMetrics(vertical)
    builder.setupVerticalHeader(ascent=500, descent=-500)
    builder.setupNameTable({"familyName": "Features Test", "styleName": "Regular"})
    builder.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    addOpenTypeFeaturesFromString(builder.font, FEATURES)
    builder.save(path)


def style_order_font(path):
    builder = FontBuilder(1000, isTTF=True)
    builder.setupGlyphOrder([".notdef", "space", "A"])
    builder.setupCharacterMap({0x20: "space", 0x41: "A"})
    builder.setupGlyf({
        ".notdef": glyph(box(50, 0, 450, 700)),
        "space": glyph(),
        "A": glyph([(0, 0), (300, 700), (600, 0)]),
    })
    builder.setupHorizontalMetrics({".notdef": (500, 50), "space": (250, 0), "A": (600, 0)})
    builder.setupHorizontalHeader(ascent=880, descent=-120)
    builder.setupNameTable({"familyName": "Style Order Test", "styleName": "Regular"})
    builder.setupOS2(sTypoAscender=880, sTypoDescender=-120, usWinAscent=880, usWinDescent=120)
    builder.setupPost()
    builder.setupFvar(
        axes=[("wght", 300, 400, 700, "Weight"), ("wdth", 75, 100, 100, "Width")],
        instances=[
            {"stylename": "Bold", "location": {"wght": 700, "wdth": 100}},
            {"stylename": "Condensed Bold", "location": {"wght": 700, "wdth": 75}},
            {"stylename": "Regular", "location": {"wght": 400, "wdth": 100}},
            {"stylename": "Light", "location": {"wght": 300, "wdth": 100}},
            {"stylename": "Condensed", "location": {"wght": 400, "wdth": 75}},
        ])
    # Three outline points, then the phantom points: origin, advance, top, bottom.
    heavy = [(0, 0), (100, 0), (200, 0), (0, 0), (200, 0), (0, 0), (0, 0)]
    builder.setupGvar({"A": [TupleVariation({"wght": (0.0, 1.0, 1.0)}, heavy)]})
    builder.save(path)


def main():
    folder = sys.argv[1] if len(sys.argv) > 1 else os.path.dirname(os.path.abspath(__file__))
    features_font(os.path.join(folder, "features-test.ttf"))
    style_order_font(os.path.join(folder, "style-order-test.ttf"))


if __name__ == "__main__":
    main()
