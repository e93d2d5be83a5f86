#include "fontengine/TileText.h"

#include "fontengine/GlyphRunPainter.h"
#include "fontengine/OpenFaceCache.h"

#include <QPainter>
#include <cmath>

namespace {

// The line's metrics when the face cannot be read.
constexpr double NoFaceAscent = 0.8 * glyphrun::NoFaceUnitsPerEm;
constexpr double NoFaceDescent = 0.2 * glyphrun::NoFaceUnitsPerEm;

} // namespace

TileText::TileText(std::shared_ptr<OpenFaceCache> store, QString path, int index, QString text,
                   double pixelSize, int width, int missing, std::optional<GlyphRun> run)
    : store_(std::move(store)), path_(std::move(path)), index_(index), text_(std::move(text)),
      pixelSize_(pixelSize), width_(width), missing_(missing), run_(std::move(run)) {}

int TileText::PixelWidth(double advance, int unitsPerEm, double pixelSize) {
    // A hair below a whole pixel still counts as that pixel: rounding errors of the scale
    // must not widen a tile by one.
    return static_cast<int>(std::ceil(advance * pixelSize / unitsPerEm - 1e-3));
}

void TileText::Paint(QPainter& painter, const QRect& area, const QColor& textColor,
                     const QColor& markColor) const {
    const FontFace* face = store_ ? store_->Face(path_, index_) : nullptr;
    const int unitsPerEm = face ? face->UnitsPerEm() : glyphrun::NoFaceUnitsPerEm;
    if (!run_)
        run_ = face ? face->Shape(text_) : FontFace::AllMissing(text_, unitsPerEm / 2.0);
    const double ascent = face ? face->Ascent() : NoFaceAscent;
    const double descent = face ? face->Descent() : NoFaceDescent;

    const double scale = pixelSize_ / unitsPerEm;
    const double originX = area.left() + (area.width() - run_->advance * scale) / 2;
    const double baseline =
        area.top() + (area.height() - (ascent + descent) * scale) / 2 + ascent * scale;
    glyphrun::Paint(painter, face, *run_, QPointF(originX, baseline), pixelSize_, textColor,
                    markColor);
    drawn_ = true;
    if (face)
        face->ReleaseMemory();
}
