#pragma once

#include <QPainterPath>
#include <QString>
#include <climits>
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

// An OpenType tag ("liga", "wght") as HarfBuzz and the font's tables spell it.
constexpr uint32_t FontTag(const char (&tag)[5]) {
    return (uint32_t(uint8_t(tag[0])) << 24) | (uint32_t(uint8_t(tag[1])) << 16) |
           (uint32_t(uint8_t(tag[2])) << 8) | uint32_t(uint8_t(tag[3]));
}

// A feature setting as CSS's font-feature-settings has it: 0 turns the feature off, 1 on, a
// higher value picks that alternate. It applies to the characters of the text from start up
// to end (UTF-16 offsets), by default to all of them.
struct FontFeature {
    uint32_t tag = 0;
    uint32_t value = 1;
    unsigned start = 0;
    unsigned end = UINT_MAX;
    bool operator==(const FontFeature&) const = default;
};

// A coordinate on one of a variable font's axes, in the axis's own units (wght 100 to 900).
struct FontVariation {
    uint32_t tag = 0;
    float value = 0;
    bool operator==(const FontVariation&) const = default;
};

// How a text is shaped beyond the face's defaults.
struct ShapingOptions {
    std::vector<FontFeature> features;
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

    // The text laid out on one line: cut into runs of one direction and one script, each run
    // shaped on its own and placed in visual order.
    GlyphRun Shape(const QString& text, const ShapingOptions& options = {}) const;

    // The coordinates on the face's variation axes that shaping and outlines use from now on;
    // an axis not given keeps the face's own (the named instance's, else the default).
    // Coordinates change advances and outlines alike, so they belong to the face, not to a
    // shaping call. Ignored by a face without variations.
    void SetVariations(std::vector<FontVariation> variations);
    const std::vector<FontVariation>& Variations() const { return variations_; }
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
    void applyVariations(hb_font_t* font) const;

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
    std::vector<FontVariation> variations_;
};
