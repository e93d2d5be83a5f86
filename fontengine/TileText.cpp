#include "fontengine/TileText.h"

#include "fontengine/OpenFaceCache.h"
#include "fontengine/Pixels.h"

#include <QPainter>
#include <cmath>

namespace {

// The metrics a run is drawn with when the face cannot be read.
constexpr int NoFaceUnitsPerEm = 1000;
constexpr double NoFaceAscent = 800;
constexpr double NoFaceDescent = 200;

} // namespace

TileText::TileText(std::shared_ptr<OpenFaceCache> store, QString path, int index, QString text,
                   double pixelSize, int width, int missing, std::optional<GlyphRun> run,
                   quint64 runFace)
    : store_(std::move(store)), path_(std::move(path)), index_(index), text_(std::move(text)),
      pixelSize_(pixelSize), width_(width), missing_(missing), run_(std::move(run)),
      runFace_(runFace) {}

int TileText::PixelWidth(double advance, int unitsPerEm, double pixelSize) {
    // A hair below a whole pixel still counts as that pixel: rounding errors of the scale
    // must not widen a tile by one.
    return CeilPixels(advance * pixelSize / unitsPerEm - 1e-3);
}

void TileText::Paint(QPainter& painter, const QRect& area, const QColor& textColor,
                     const QColor& markColor) const {
    const FontFace* face = store_ ? store_->Face(path_, index_) : nullptr;
    const int unitsPerEm = face ? face->UnitsPerEm() : NoFaceUnitsPerEm;
    // A run shaped in a face opened since again (its file changed, or was fixed) names the
    // glyphs of another file.
    const quint64 serial = face ? face->Serial() : 0;
    if (!run_ || runFace_ != serial) {
        run_ = face ? face->Shape(text_) : FontFace::AllMissing(text_, unitsPerEm / 2.0);
        runFace_ = serial;
    }
    const double ascent = face ? face->Ascent() : NoFaceAscent;
    const double descent = face ? face->Descent() : NoFaceDescent;

    const double scale = pixelSize_ / unitsPerEm;
    const double originX = area.left() + (area.width() - run_->advance * scale) / 2;
    const double baseline =
        area.top() + (area.height() - (ascent + descent) * scale) / 2 + ascent * scale;

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    for (const GlyphRun::Glyph& glyph : run_->glyphs) {
        if (glyph.missing || !face)
            continue;
        const QPainterPath& outline = face->Outline(glyph.id);
        if (outline.isEmpty())
            continue;
        painter.setTransform(
            QTransform(scale, 0, 0, scale, originX + glyph.x * scale, baseline - glyph.y * scale));
        painter.fillPath(outline, textColor);
    }
    painter.resetTransform();

    // A missing character: an outlined box of the mark's advance, from the baseline up to
    // about the height of a capital, a little narrower than its advance.
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(QPen(markColor, 1));
    painter.setBrush(Qt::NoBrush);
    const double em = pixelSize_;
    for (const GlyphRun::Glyph& glyph : run_->glyphs) {
        if (!glyph.missing)
            continue;
        const double left = originX + glyph.x * scale + em * 0.08;
        const double width = glyph.advance * scale - em * 0.16;
        const double height = em * 0.7;
        painter.drawRect(QRectF(std::round(left), std::round(baseline - height),
                                std::max(2.0, std::round(width)), std::round(height)));
    }
    painter.restore();
    drawn_ = true;
    if (face)
        face->ReleaseMemory();
}
