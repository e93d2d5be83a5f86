#include "fontengine/GlyphRunPainter.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace glyphrun {

QColor MissingMarkColor() {
    return QColor(0x80, 0x80, 0x80);
}

void Paint(QPainter& painter, const FontFace* face, const GlyphRun& run, QPointF origin,
           double pixelSize, const QColor& textColor, const QColor& markColor) {
    const int unitsPerEm = face ? face->UnitsPerEm() : NoFaceUnitsPerEm;
    const double scale = pixelSize / unitsPerEm;

    painter.save();
    const QTransform base = painter.transform();
    painter.setRenderHint(QPainter::Antialiasing);
    if (face)
        for (const GlyphRun::Glyph& glyph : run.glyphs) {
            if (glyph.missing)
                continue;
            const QPainterPath& outline = face->Outline(glyph.id);
            if (outline.isEmpty())
                continue;
            painter.setTransform(QTransform(scale, 0, 0, scale, origin.x() + glyph.x * scale,
                                            origin.y() - glyph.y * scale) *
                                 base);
            painter.fillPath(outline, textColor);
        }
    painter.setTransform(base);

    // A missing character: an outlined box of the mark's advance, from the baseline up to
    // about the height of a capital, a little narrower than its advance. Whole pixels keep its
    // one-pixel lines sharp.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(markColor, 1));
    painter.setBrush(Qt::NoBrush);
    const double em = pixelSize;
    for (const GlyphRun::Glyph& glyph : run.glyphs) {
        if (!glyph.missing)
            continue;
        if (run.vertical) {
            // Across the line's centre, from the top of the mark's advance down.
            const double side = em * 0.7;
            const double top = origin.y() - glyph.y * scale + em * 0.08;
            const double height = glyph.advance * scale - em * 0.16;
            painter.drawRect(QRectF(std::round(origin.x() + glyph.x * scale - side / 2),
                                    std::round(top), std::round(side),
                                    std::max(2.0, std::round(height))));
            continue;
        }
        const double left = origin.x() + glyph.x * scale + em * 0.08;
        const double width = glyph.advance * scale - em * 0.16;
        const double height = em * 0.7;
        painter.drawRect(QRectF(std::round(left), std::round(origin.y() - height),
                                std::max(2.0, std::round(width)), std::round(height)));
    }
    painter.restore();
}

} // namespace glyphrun
