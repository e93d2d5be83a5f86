#include "fontengine/TileText.h"

#include "fontengine/GlyphRunPainter.h"
#include "fontengine/OpenFaceCache.h"
#include "fontengine/Pixels.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

namespace {

// The line's metrics when the face cannot be read.
constexpr double NoFaceAscent = 0.8 * glyphrun::NoFaceUnitsPerEm;
constexpr double NoFaceDescent = 0.2 * glyphrun::NoFaceUnitsPerEm;

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
    const int unitsPerEm = face ? face->UnitsPerEm() : glyphrun::NoFaceUnitsPerEm;
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
    // Centred; in an area too narrow for it (a tile narrowed to the view), its start stays in
    // sight and the end is cut.
    const double originX = area.left() + std::max(0.0, (area.width() - run_->advance * scale) / 2);
    const double baseline =
        area.top() + (area.height() - (ascent + descent) * scale) / 2 + ascent * scale;
    glyphrun::Paint(painter, face, *run_, QPointF(originX, baseline), pixelSize_, textColor,
                    markColor);
    drawn_ = true;
    if (face)
        face->ReleaseMemory();
}
