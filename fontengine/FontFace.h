#pragma once

#include <QPainterPath>
#include <QString>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct hb_blob_t;
struct hb_face_t;
struct hb_font_t;

// A text shaped in one face, in the face's design units, left to right as drawn.
struct GlyphRun {
    struct Glyph {
        uint32_t id = 0;
        double x = 0; // pen position of the glyph's origin, offsets included
        double y = 0; // upwards
        double advance = 0;
        bool missing = false; // the face has no glyph for this character: draw a missing mark
    };
    std::vector<Glyph> glyphs;
    double advance = 0; // the whole run's width
    int missing = 0;    // characters (code points) the face lacks
};

// One face of a font file, read through HarfBuzz: shaping, coverage and glyph outlines come
// from this file alone, never from another font. The file is mapped, not read, and HarfBuzz
// loads its tables when first asked, so an open face costs little until it is used.
class FontFace {
public:
    // The face at index (a face of a collection; a named instance of a variable font in the
    // upper 16 bits). None when the file cannot be read or holds no such face.
    static std::unique_ptr<FontFace> Open(const QString& path, int index);
    ~FontFace();
    FontFace(const FontFace&) = delete;
    FontFace& operator=(const FontFace&) = delete;

    int UnitsPerEm() const { return unitsPerEm_; }
    double Ascent() const { return ascent_; }
    double Descent() const { return descent_; } // positive, below the baseline
    // The advance given to the mark of a missing character: half an em.
    double MissingAdvance() const { return unitsPerEm_ / 2.0; }

    GlyphRun Shape(const QString& text) const;
    bool HasCharacter(char32_t c) const;
    // Up to count characters the face has, in code point order, leaving out spaces and
    // controls: a sample when nothing else fits.
    QString FirstCharacters(int count) const;
    // The glyph's outline in design units, y growing downwards. Kept once made.
    const QPainterPath& Outline(uint32_t glyph) const;

    // What a run looks like when no face can be read: every character a missing mark.
    static GlyphRun AllMissing(const QString& text, double missingAdvance);

    // Lets go of what reading the face took: HarfBuzz's shaping data (about 13 KB a face) and
    // the file's pages mapped into the process. Both come back from the mapping when next
    // needed, without opening the file again; with thousands of faces measured once and few
    // of them drawn, this keeps them from counting against the program.
    void ReleaseMemory() const;

private:
    FontFace() = default;
    // The HarfBuzz face and font, made again after a ReleaseMemory().
    hb_font_t* shaper() const;

    void* map_ = nullptr;
    size_t mapSize_ = 0;
    hb_blob_t* blob_ = nullptr;
    unsigned faceIndex_ = 0;
    unsigned instance_ = 0;
    mutable hb_face_t* face_ = nullptr;
    mutable hb_font_t* font_ = nullptr;
    int unitsPerEm_ = 1000;
    double ascent_ = 800;
    double descent_ = 200;
    mutable std::unordered_map<uint32_t, QPainterPath> outlines_;
};
