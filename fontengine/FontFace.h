#pragma once

#include "platform/FileAccess.h"

#include <QPainterPath>
#include <QString>
#include <climits>
#include <cstdint>
#include <memory>
#include <unordered_map>
#include <vector>

struct hb_face_t;
struct hb_font_t;
struct FT_FaceRec_;
struct FT_LibraryRec_;
struct FT_StreamRec_;
class FontFileData;
class FontFileReader;

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
    double advance = 0; // the whole run's width; in a vertical run its height
    int missing = 0;    // characters (code points) the face lacks
    // Set top to bottom: the origin is the top of the line on its centre, each glyph's y is
    // below it (negative), and advances are heights.
    bool vertical = false;
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
    // Top to bottom, with the face's vertical alternates and vertical metrics.
    bool vertical = false;
};

// A layout feature the face's GSUB or GPOS table offers.
struct FaceFeature {
    uint32_t tag = 0;
    // The face's own name for it from its name table (stylistic sets, character variants),
    // or empty.
    QString name;
};

// One of a variable face's axes, in the axis's own units.
struct FaceAxis {
    uint32_t tag = 0;
    QString name; // the face's own name from its name table, or empty
    float minimum = 0;
    float defaultValue = 0;
    float maximum = 0;
    bool hidden = false; // the face asks not to offer it to users
};

// One face of a font file, read through HarfBuzz: shaping, coverage and glyph outlines come
// from this file alone, never from another font. The tables HarfBuzz asks for are read into
// memory while the face is in use, never mapped: a font file rewritten while the program runs
// must not take the program with it.
class FontFace {
public:
    // The face at index (a face of a collection; a named instance of a variable font in the
    // upper 16 bits). None when the file cannot be read or holds no such face. files: where
    // the file is read through, shared with the other faces of the same files; none reads
    // for this face alone.
    static std::unique_ptr<FontFace> Open(const QString& path, int index,
                                          std::shared_ptr<FontFileReader> files = {});
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
    // The layout features of GSUB and GPOS, each once, in tag order.
    std::vector<FaceFeature> Features() const;
    // The face's variation axes in the order of its fvar table; none for a static face.
    std::vector<FaceAxis> Axes() const;
    // The coordinates the face is drawn at on each axis, SetVariations included.
    std::vector<FontVariation> Coordinates() const;

    bool HasCharacter(char32_t c) const;
    // Every character the face maps to a glyph, in code point order.
    std::vector<char32_t> Characters() const;
    // The glyphs in the face, mapped to a character or not.
    int GlyphCount() const;
    // Up to count characters the face has, in code point order, leaving out spaces and
    // controls: a sample when nothing else fits.
    QString FirstCharacters(int count) const;
    // The glyph's outline in design units, y growing downwards. Kept once made, until the
    // face is lost (empty then).
    const QPainterPath& Outline(uint32_t glyph) const;

    // What a run looks like when no face can be read: every character a missing mark.
    static GlyphRun AllMissing(const QString& text, double missingAdvance);

    // Lets go of what reading the face took: what was read of the file and HarfBuzz's shaping
    // data (about 13 KB a face); outlines made stay. Both come back when next needed, the file read
    // again; with thousands of faces measured once and few of them drawn, this keeps them from
    // counting against the program. A file that has changed or gone by then is not read into
    // this face: it is lost, and every character missing from then on.
    void ReleaseMemory() const;

    // The version of the file the face was read from.
    const platform::FileVersion& Version() const { return version_; }
    // Whether the file had changed or gone when the face last read from it.
    bool Lost() const;
    // Tells faces apart for those who keep what a face gave: a face opened again, its file
    // changed, is another face. Never 0.
    quint64 Serial() const { return serial_; }

private:
    FontFace();
    // Takes up the file again after a ReleaseMemory(); false when it has changed or gone.
    bool acquire() const;
    // The HarfBuzz face and font, made again after a ReleaseMemory(): the empty font when
    // the face is lost.
    hb_font_t* shaper() const;
    void applyVariations(hb_font_t* font) const;
    // FreeType's face over the same file for outlines, made again after a ReleaseMemory().
    FT_FaceRec_* outliner() const;
    void dropOutliner() const;

    QString path_;
    platform::FileVersion version_;
    std::shared_ptr<FontFileReader> files_;
    quint64 serial_ = 0;
    mutable std::shared_ptr<const FontFileData> file_; // while in use
    mutable bool lost_ = false;
    unsigned faceIndex_ = 0;
    unsigned instance_ = 0;
    mutable hb_face_t* face_ = nullptr;
    mutable hb_font_t* font_ = nullptr;
    int unitsPerEm_ = 1000;
    double ascent_ = 800;
    double descent_ = 200;
    mutable std::unordered_map<uint32_t, QPainterPath> outlines_;
    std::vector<FontVariation> variations_;
    mutable FT_LibraryRec_* outlineLibrary_ = nullptr;
    mutable FT_FaceRec_* outlineFace_ = nullptr;
    mutable std::unique_ptr<FT_StreamRec_> outlineStream_;
};
