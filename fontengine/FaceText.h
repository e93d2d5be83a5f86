#pragma once

#include <QPainterPath>
#include <QString>
#include <memory>

// Text laid out in one face with that face's own glyphs only, nothing borrowed from other
// fonts: a character the face lacks shows as the face's own missing-glyph shape.
struct FaceTextLine {
    QPainterPath Outline; // origin at the start of the baseline, y growing downwards
    qreal Advance = 0;
    qreal Ascent = 0;
    qreal Descent = 0;
};

// Lays out text in one face. The details window draws through this, so another source of
// glyphs can take the place of the file reader below.
class FaceTextSource {
public:
    virtual ~FaceTextSource() = default;
    // Whether the face could be read at all.
    virtual bool IsValid() const = 0;
    virtual FaceTextLine Layout(const QString& text, qreal pixelSize) const = 0;
};

// A source reading the face at the index of a font file with FreeType, shaped by HarfBuzz.
// A file that cannot be read gives a source that is not valid and lays out nothing.
std::unique_ptr<FaceTextSource> OpenFaceText(const QString& file, int faceIndex);
