#pragma once

#include "fontengine/FontFace.h"

#include <QColor>
#include <QString>
#include <memory>
#include <optional>

class OpenFaceCache;
class QPainter;
class QRect;

// The text a font tile draws, in its family's own face at a point size: every glyph comes
// from that face, and a character the face lacks is drawn as a missing mark. The width can
// come from the cache without the face; the face is then opened when the tile is first
// painted, so tiles never scrolled into view never read their file.
class TileText {
public:
    // pixelSize: the point size in pixels on this screen. run: the text already shaped in the
    // face whose Serial() is runFace (0: no face), when the caller had to shape it to measure it.
    TileText(std::shared_ptr<OpenFaceCache> store, QString path, int index, QString text,
             double pixelSize, int width, int missing, std::optional<GlyphRun> run = {},
             quint64 runFace = 0);

    const QString& Text() const { return text_; }
    // What the drawn text takes, in whole pixels.
    int Width() const { return width_; }
    // Characters of the text the face lacks.
    int Missing() const { return missing_; }

    // Draws the text centred in area: glyphs in textColor, missing marks in markColor.
    void Paint(QPainter& painter, const QRect& area, const QColor& textColor,
               const QColor& markColor) const;

    // Whole pixels taken by a run of the given advance (design units) at the pixel size,
    // capped at MaxTextPixels.
    static int PixelWidth(double advance, int unitsPerEm, double pixelSize);
    // Whether the text has been painted at least once (the first paint is the dear one).
    bool Drawn() const { return drawn_; }
    // The glyphs as painted, for tests: empty until the first paint.
    const GlyphRun* PaintedRun() const { return run_ ? &*run_ : nullptr; }

private:
    std::shared_ptr<OpenFaceCache> store_;
    QString path_;
    int index_ = 0;
    QString text_;
    double pixelSize_ = 16;
    int width_ = 0;
    int missing_ = 0;
    mutable std::optional<GlyphRun> run_;
    mutable quint64 runFace_ = 0; // the face run_ was shaped in
    mutable bool drawn_ = false;
};
