#pragma once

#include "fontengine/FontFace.h"

#include <QColor>
#include <QPointF>

class QPainter;

// Draws shaped text the same way wherever glyphs are shown: the face's own outlines, and for
// each character the face lacks a mark of ours, never a glyph borrowed from another font.
namespace glyphrun {

// The design units a run is measured in when no face could be read.
constexpr int NoFaceUnitsPerEm = 1000;

// The colour of the marks for missing characters on a light background.
QColor MissingMarkColor();

// Draws run with the start of its baseline at origin (a vertical run: the top of its centre
// line), at pixelSize pixels to the em: glyphs
// in textColor, missing marks in markColor. Without a face only the marks are drawn.
void Paint(QPainter& painter, const FontFace* face, const GlyphRun& run, QPointF origin,
           double pixelSize, const QColor& textColor, const QColor& markColor);

} // namespace glyphrun
