#include "fontengine/FontFace.h"

#include "fontengine/FontFileReader.h"
#include "fontengine/TextItemizer.h"

#include <algorithm>
#include <atomic>
#include <ft2build.h>
#include <hb-ot.h>
#include <hb.h>
#include FT_FREETYPE_H
#include FT_MULTIPLE_MASTERS_H
#include FT_OUTLINE_H

namespace {

// Outlines come from FreeType in design units with y growing upwards; widgets grow downwards.
int moveTo(const FT_Vector* to, void* path) {
    static_cast<QPainterPath*>(path)->moveTo(to->x, -to->y);
    return 0;
}
int lineTo(const FT_Vector* to, void* path) {
    static_cast<QPainterPath*>(path)->lineTo(to->x, -to->y);
    return 0;
}
int conicTo(const FT_Vector* control, const FT_Vector* to, void* path) {
    static_cast<QPainterPath*>(path)->quadTo(control->x, -control->y, to->x, -to->y);
    return 0;
}
int cubicTo(const FT_Vector* control1, const FT_Vector* control2, const FT_Vector* to, void* path) {
    static_cast<QPainterPath*>(path)->cubicTo(control1->x, -control1->y, control2->x, -control2->y,
                                              to->x, -to->y);
    return 0;
}
const FT_Outline_Funcs PathFuncs{moveTo, lineTo, conicTo, cubicTo, 0, 0};

// FreeType reads the file through the face's file data: only what a glyph needs, each read
// checked to be of the face's version. A count of 0 asks whether the offset can be reached.
unsigned long readStream(FT_Stream stream, unsigned long offset, unsigned char* buffer,
                         unsigned long count) {
    if (count == 0)
        return offset <= stream->size ? 0 : 1;
    const auto* file = static_cast<const FontFileData*>(stream->descriptor.pointer);
    const qint64 read = file->ReadInto(offset, reinterpret_cast<char*>(buffer), count);
    return read < 0 ? 0 : static_cast<unsigned long>(read);
}

void closeStream(FT_Stream) {}

struct BufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
struct SetDeleter {
    void operator()(hb_set_t* set) const { hb_set_destroy(set); }
};

} // namespace

FontFace::FontFace() {
    static std::atomic<quint64> faces{0};
    serial_ = ++faces;
}

std::unique_ptr<FontFace> FontFace::Open(const QString& path, int index,
                                         std::shared_ptr<FontFileReader> files) {
    if (path.isEmpty() || index < 0)
        return {};
    if (!files)
        files = std::make_shared<FontFileReader>();
    std::shared_ptr<const FontFileData> file = files->Read(path);
    if (!file)
        return {};
    std::unique_ptr<FontFace> face(new FontFace);
    face->path_ = path;
    face->version_ = file->Version();
    face->files_ = std::move(files);
    face->faceIndex_ = static_cast<unsigned>(index) & 0xFFFFu;
    face->instance_ = static_cast<unsigned>(index) >> 16;
    if (face->faceIndex_ >= file->FaceCount())
        return {};
    face->face_ = file->CreateFace(face->faceIndex_);
    face->file_ = std::move(file);
    // A file that is no font at all, or a damaged one, yields an empty face.
    if (hb_face_get_glyph_count(face->face_) == 0)
        return {};
    face->unitsPerEm_ = static_cast<int>(std::max(16u, hb_face_get_upem(face->face_)));
    hb_font_extents_t extents{};
    if (hb_font_get_h_extents(face->shaper(), &extents) && extents.ascender > extents.descender) {
        face->ascent_ = extents.ascender;
        face->descent_ = -extents.descender;
    } else {
        face->ascent_ = face->unitsPerEm_ * 0.8;
        face->descent_ = face->unitsPerEm_ * 0.2;
    }
    // Kept for the use that follows at once; that user lets go of it (ReleaseMemory).
    return face;
}

FontFace::~FontFace() {
    ReleaseMemory();
}

bool FontFace::acquire() const {
    if (!file_ && !lost_) {
        file_ = files_->Read(path_);
        if (!file_ || !(file_->Version() == version_)) {
            // Another file now, or none: its glyphs are not this face's, and outlines made
            // from the old one must not be drawn among them.
            file_.reset();
            lost_ = true;
            outlines_.clear();
        }
    }
    return !lost_;
}

hb_font_t* FontFace::shaper() const {
    if (font_)
        return font_;
    if (!face_) {
        if (!acquire()) {
            face_ = hb_face_get_empty();
            font_ = hb_font_get_empty();
            return font_;
        }
        face_ = file_->CreateFace(faceIndex_);
    }
    font_ = hb_font_create(face_);
    hb_font_set_scale(font_, unitsPerEm_, unitsPerEm_);
    if (instance_ > 0)
        hb_font_set_var_named_instance(font_, instance_ - 1);
    if (!variations_.empty())
        applyVariations(font_);
    return font_;
}

void FontFace::applyVariations(hb_font_t* font) const {
    hb_face_t* face = hb_font_get_face(font);
    unsigned axisCount = hb_ot_var_get_axis_count(face);
    if (axisCount == 0)
        return;
    std::vector<hb_ot_var_axis_info_t> axes(axisCount);
    hb_ot_var_get_axis_infos(face, 0, &axisCount, axes.data());
    // Set one by one, HarfBuzz would put every axis not named back to its default, even
    // in a named instance.
    std::vector<float> coords(axisCount);
    for (unsigned i = 0; i < axisCount; ++i)
        coords[i] = axes[i].default_value;
    if (instance_ > 0) {
        unsigned count = axisCount;
        hb_ot_var_named_instance_get_design_coords(face, instance_ - 1, &count, coords.data());
    }
    for (const FontVariation& variation : variations_)
        for (unsigned i = 0; i < axisCount; ++i)
            if (axes[i].tag == variation.tag)
                coords[i] = variation.value;
    hb_font_set_var_coords_design(font, coords.data(), axisCount);
}

void FontFace::SetVariations(std::vector<FontVariation> variations) {
    if (variations == variations_)
        return;
    variations_ = std::move(variations);
    if (font_)
        applyVariations(font_);
    // FreeType's face took the old coordinates when it was made.
    dropOutliner();
    outlines_.clear();
}

namespace {

// Code points among the UTF-16 units [from, to): a pair of surrogates is one.
int codePoints(const char16_t* text, uint32_t from, uint32_t to) {
    int count = 0;
    for (uint32_t i = from; i < to; ++i)
        if (!QChar::isLowSurrogate(text[i]) || i == from || !QChar::isHighSurrogate(text[i - 1]))
            ++count;
    return count;
}

} // namespace

GlyphRun FontFace::Shape(const QString& text, const ShapingOptions& options) const {
    // A face whose file has changed or gone has no glyph at all.
    if (shaper() == hb_font_get_empty())
        return AllMissing(text, MissingAdvance());
    GlyphRun run;
    if (text.isEmpty())
        return run;
    const auto* units = reinterpret_cast<const char16_t*>(text.utf16());
    const int length = static_cast<int>(text.size());
    std::vector<hb_feature_t> features;
    features.reserve(options.features.size());
    for (const FontFeature& feature : options.features)
        features.push_back({feature.tag, feature.value, feature.start, feature.end});

    hb_font_t* font = shaper();
    std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    std::vector<uint32_t> starts;
    std::vector<uint32_t> missingClusters;
    double pen = 0;
    for (const TextItem& item : TextItemizer::Itemize(text)) {
        hb_buffer_clear_contents(buffer.get());
        // Each character keeps a cluster of its own unless shaping joins it to another, so
        // that missing characters can be counted one by one.
        hb_buffer_set_cluster_level(buffer.get(), HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
        // The whole text goes in as context: letters join across the edges of a run, and
        // clusters and features count in offsets of the whole text.
        hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const uint16_t*>(units), length,
                            static_cast<unsigned>(item.start), item.length);
        // Vertical setting turns the face's 'vert' and 'vrt2' on and takes the advances from
        // its vertical metrics (vhea and vmtx, else the ascent and descent).
        hb_buffer_set_direction(buffer.get(), options.vertical   ? HB_DIRECTION_TTB
                                              : item.rightToLeft ? HB_DIRECTION_RTL
                                                                 : HB_DIRECTION_LTR);
        hb_buffer_set_script(buffer.get(), static_cast<hb_script_t>(item.script));
        hb_buffer_guess_segment_properties(buffer.get()); // the language, from the locale
        hb_shape(font, buffer.get(), features.data(), static_cast<unsigned>(features.size()));

        unsigned count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);

        // The characters of a cluster run up to the next cluster's first one.
        starts.clear();
        missingClusters.clear();
        for (unsigned i = 0; i < count; ++i) {
            starts.push_back(infos[i].cluster);
            if (infos[i].codepoint == 0)
                missingClusters.push_back(infos[i].cluster);
        }
        std::sort(starts.begin(), starts.end());
        starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
        std::sort(missingClusters.begin(), missingClusters.end());
        missingClusters.erase(std::unique(missingClusters.begin(), missingClusters.end()),
                              missingClusters.end());
        const auto itemEnd = static_cast<uint32_t>(item.start + item.length);
        for (uint32_t cluster : missingClusters) {
            const auto next = std::upper_bound(starts.begin(), starts.end(), cluster);
            run.missing += codePoints(units, cluster, next == starts.end() ? itemEnd : *next);
        }

        run.glyphs.reserve(run.glyphs.size() + count);
        for (unsigned i = 0; i < count; ++i) {
            GlyphRun::Glyph glyph;
            glyph.id = infos[i].codepoint;
            glyph.missing = glyph.id == 0;
            if (glyph.missing) {
                // The face's own .notdef may be empty or as wide as anything: a mark of ours
                // shows the gap the same way in every tile.
                glyph.x = options.vertical ? 0 : pen;
                glyph.y = options.vertical ? -pen : 0;
                glyph.advance = MissingAdvance();
            } else if (options.vertical) {
                // HarfBuzz gives the offsets from the glyph's horizontal origin and advances
                // downwards as negative.
                glyph.x = positions[i].x_offset;
                glyph.y = -pen + positions[i].y_offset;
                glyph.advance = -positions[i].y_advance;
            } else {
                glyph.x = pen + positions[i].x_offset;
                glyph.y = positions[i].y_offset;
                glyph.advance = positions[i].x_advance;
            }
            pen += glyph.advance;
            run.glyphs.push_back(glyph);
        }
    }
    run.advance = pen;
    run.vertical = options.vertical;
    return run;
}

GlyphRun FontFace::AllMissing(const QString& text, double missingAdvance) {
    GlyphRun run;
    for (uint c : text.toUcs4()) {
        Q_UNUSED(c);
        GlyphRun::Glyph glyph;
        glyph.x = run.advance;
        glyph.advance = missingAdvance;
        glyph.missing = true;
        run.glyphs.push_back(glyph);
        run.advance += missingAdvance;
        ++run.missing;
    }
    return run;
}

void FontFace::dropOutliner() const {
    if (outlineFace_)
        FT_Done_Face(outlineFace_);
    outlineFace_ = nullptr;
    if (outlineLibrary_)
        FT_Done_FreeType(outlineLibrary_);
    outlineLibrary_ = nullptr;
    outlineStream_.reset();
}

void FontFace::ReleaseMemory() const {
    dropOutliner();
    hb_font_destroy(font_);
    font_ = nullptr;
    hb_face_destroy(face_);
    face_ = nullptr;
    // A read that found the file changed leaves the face lost, as a changed file found
    // before reading would.
    lost_ = Lost();
    if (lost_)
        outlines_.clear();
    if (file_)
        file_->Close();
    file_.reset();
}

bool FontFace::Lost() const {
    return lost_ || (file_ && file_->Lost());
}

namespace {

// A string of the face's name table, in the user's language where the face has it.
QString nameOf(hb_face_t* face, hb_ot_name_id_t id) {
    if (id == HB_OT_NAME_ID_INVALID)
        return {};
    // A face that has no string in the user's language has one in English, if any.
    hb_language_t language = hb_language_get_default();
    unsigned length = hb_ot_name_get_utf16(face, id, language, nullptr, nullptr);
    if (length == 0) {
        language = hb_language_from_string("en", 2);
        length = hb_ot_name_get_utf16(face, id, language, nullptr, nullptr);
    }
    if (length == 0)
        return {};
    std::vector<uint16_t> units(length + 1);
    ++length;
    hb_ot_name_get_utf16(face, id, language, &length, units.data());
    return QString::fromUtf16(reinterpret_cast<const char16_t*>(units.data()),
                              static_cast<qsizetype>(length));
}

} // namespace

std::vector<FaceFeature> FontFace::Features() const {
    hb_face_t* face = hb_font_get_face(shaper());
    std::vector<FaceFeature> features;
    for (const hb_tag_t table : {HB_OT_TAG_GSUB, HB_OT_TAG_GPOS}) {
        unsigned count = hb_ot_layout_table_get_feature_tags(face, table, 0, nullptr, nullptr);
        std::vector<hb_tag_t> tags(count);
        hb_ot_layout_table_get_feature_tags(face, table, 0, &count, tags.data());
        for (unsigned i = 0; i < count; ++i) {
            // A feature is listed again for each script and language that uses it; the
            // first with a name of its own gives the name.
            auto known = std::find_if(features.begin(), features.end(),
                                      [&](const FaceFeature& f) { return f.tag == tags[i]; });
            if (known == features.end())
                known = features.insert(features.end(), FaceFeature{tags[i], {}});
            hb_ot_name_id_t label = HB_OT_NAME_ID_INVALID;
            if (known->name.isEmpty() &&
                hb_ot_layout_feature_get_name_ids(face, table, i, &label, nullptr, nullptr, nullptr,
                                                  nullptr))
                known->name = nameOf(face, label);
        }
    }
    std::sort(features.begin(), features.end(),
              [](const FaceFeature& a, const FaceFeature& b) { return a.tag < b.tag; });
    return features;
}

std::vector<FaceAxis> FontFace::Axes() const {
    hb_face_t* face = hb_font_get_face(shaper());
    unsigned count = hb_ot_var_get_axis_count(face);
    std::vector<hb_ot_var_axis_info_t> infos(count);
    hb_ot_var_get_axis_infos(face, 0, &count, infos.data());
    std::vector<FaceAxis> axes;
    for (unsigned i = 0; i < count; ++i) {
        const hb_ot_var_axis_info_t& info = infos[i];
        axes.push_back({info.tag, nameOf(face, info.name_id), info.min_value, info.default_value,
                        info.max_value, (info.flags & HB_OT_VAR_AXIS_FLAG_HIDDEN) != 0});
    }
    return axes;
}

std::vector<FontVariation> FontFace::Coordinates() const {
    const std::vector<FaceAxis> axes = Axes();
    unsigned length = 0;
    const float* coordinates = hb_font_get_var_coords_design(shaper(), &length);
    std::vector<FontVariation> values;
    for (size_t i = 0; i < axes.size(); ++i)
        values.push_back(
            {axes[i].tag, i < length && coordinates ? coordinates[i] : axes[i].defaultValue});
    return values;
}

bool FontFace::HasCharacter(char32_t c) const {
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(shaper(), c, &glyph) && glyph != 0;
}

std::vector<char32_t> FontFace::Characters() const {
    hb_font_t* font = shaper();
    std::unique_ptr<hb_set_t, SetDeleter> set(hb_set_create());
    hb_face_collect_unicodes(hb_font_get_face(font), set.get());
    std::vector<char32_t> characters;
    characters.reserve(hb_set_get_population(set.get()));
    hb_codepoint_t c = HB_SET_VALUE_INVALID;
    while (hb_set_next(set.get(), &c)) {
        // A cmap may map a character to glyph 0, the face's own missing mark: not a
        // character it has.
        hb_codepoint_t glyph = 0;
        if (hb_font_get_nominal_glyph(font, c, &glyph) && glyph != 0)
            characters.push_back(c);
    }
    return characters;
}

int FontFace::GlyphCount() const {
    return static_cast<int>(hb_face_get_glyph_count(hb_font_get_face(shaper())));
}

QString FontFace::FirstCharacters(int count) const {
    std::unique_ptr<hb_set_t, SetDeleter> set(hb_set_create());
    hb_face_collect_unicodes(hb_font_get_face(shaper()), set.get());
    QString text;
    hb_codepoint_t c = HB_SET_VALUE_INVALID;
    int taken = 0;
    while (taken < count && hb_set_next(set.get(), &c)) {
        const char32_t ch = c;
        if (QChar::isSpace(ch) || QChar::category(ch) == QChar::Other_Control ||
            QChar::category(ch) == QChar::Other_Format ||
            QChar::category(ch) == QChar::Mark_NonSpacing ||
            QChar::category(ch) == QChar::Other_Surrogate || !HasCharacter(ch))
            continue;
        text += QString::fromUcs4(&ch, 1);
        ++taken;
    }
    return text;
}

FT_FaceRec_* FontFace::outliner() const {
    // Tried once a use: a face FreeType cannot open has no outlines until it is used again.
    if (outlineStream_)
        return outlineFace_;
    // The variations the shaper uses (a named instance, or any other), so that the outlines
    // are those of the glyphs shaped.
    hb_font_t* font = shaper();
    if (lost_ || (!outlineLibrary_ && FT_Init_FreeType(&outlineLibrary_) != 0))
        return nullptr;
    outlineStream_ = std::make_unique<FT_StreamRec>();
    outlineStream_->size = static_cast<unsigned long>(version_.size);
    outlineStream_->descriptor.pointer = const_cast<FontFileData*>(file_.get());
    outlineStream_->read = readStream;
    outlineStream_->close = closeStream;
    FT_Open_Args args{};
    args.flags = FT_OPEN_STREAM;
    args.stream = outlineStream_.get();
    if (FT_Open_Face(outlineLibrary_, &args, static_cast<FT_Long>(faceIndex_ | instance_ << 16),
                     &outlineFace_) != 0) {
        outlineFace_ = nullptr;
        return nullptr;
    }
    unsigned length = 0;
    const int* coordinates = hb_font_get_var_coords_normalized(font, &length);
    if (length > 0 && FT_HAS_MULTIPLE_MASTERS(outlineFace_)) {
        // HarfBuzz's normalized coordinates are 2.14, FreeType's 16.16.
        std::vector<FT_Fixed> blend(coordinates, coordinates + length);
        for (FT_Fixed& c : blend)
            c *= 4;
        FT_Set_Var_Blend_Coordinates(outlineFace_, length, blend.data());
    }
    return outlineFace_;
}

const QPainterPath& FontFace::Outline(uint32_t glyph) const {
    static const QPainterPath none;
    auto it = outlines_.find(glyph);
    if (it != outlines_.end())
        return it->second;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    // FreeType rather than HarfBuzz: HarfBuzz would read the whole glyph table (megabytes in
    // a CJK font) for a few glyphs; FreeType reads the bytes of the glyphs drawn.
    if (FT_Face face = outliner();
        face &&
        FT_Load_Glyph(face, glyph,
                      FT_LOAD_NO_SCALE | FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP |
                          FT_LOAD_IGNORE_TRANSFORM) == 0 &&
        face->glyph->format == FT_GLYPH_FORMAT_OUTLINE)
        FT_Outline_Decompose(&face->glyph->outline, &PathFuncs, &path);
    // Nothing read from a file that changed meanwhile is kept.
    if (Lost())
        return none;
    return outlines_.emplace(glyph, std::move(path)).first->second;
}
