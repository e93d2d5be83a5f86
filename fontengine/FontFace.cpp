#include "fontengine/FontFace.h"

#include "fontengine/TextItemizer.h"

#include <QFile>
#include <algorithm>
#include <fcntl.h>
#include <hb-ot.h>
#include <hb.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Outlines come from HarfBuzz in design units with y growing upwards; widgets grow downwards.
void moveTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
    static_cast<QPainterPath*>(data)->moveTo(x, -y);
}
void lineTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float x, float y, void*) {
    static_cast<QPainterPath*>(data)->lineTo(x, -y);
}
void quadraticTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float cx, float cy, float x,
                 float y, void*) {
    static_cast<QPainterPath*>(data)->quadTo(cx, -cy, x, -y);
}
void cubicTo(hb_draw_funcs_t*, void* data, hb_draw_state_t*, float c1x, float c1y, float c2x,
             float c2y, float x, float y, void*) {
    static_cast<QPainterPath*>(data)->cubicTo(c1x, -c1y, c2x, -c2y, x, -y);
}
void closePath(hb_draw_funcs_t*, void* data, hb_draw_state_t*, void*) {
    static_cast<QPainterPath*>(data)->closeSubpath();
}

hb_draw_funcs_t* pathFuncs() {
    static hb_draw_funcs_t* const funcs = [] {
        hb_draw_funcs_t* f = hb_draw_funcs_create();
        hb_draw_funcs_set_move_to_func(f, moveTo, nullptr, nullptr);
        hb_draw_funcs_set_line_to_func(f, lineTo, nullptr, nullptr);
        hb_draw_funcs_set_quadratic_to_func(f, quadraticTo, nullptr, nullptr);
        hb_draw_funcs_set_cubic_to_func(f, cubicTo, nullptr, nullptr);
        hb_draw_funcs_set_close_path_func(f, closePath, nullptr, nullptr);
        hb_draw_funcs_make_immutable(f);
        return f;
    }();
    return funcs;
}

void unmap(void* data) {
    const auto* mapping = static_cast<std::pair<void*, size_t>*>(data);
    munmap(mapping->first, mapping->second);
    delete mapping;
}

struct BufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};
struct SetDeleter {
    void operator()(hb_set_t* set) const { hb_set_destroy(set); }
};

} // namespace

std::unique_ptr<FontFace> FontFace::Open(const QString& path, int index) {
    if (path.isEmpty() || index < 0)
        return {};
    // Mapped rather than read: a face needs a few of its tables, and outlines only of the
    // glyphs drawn.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return {};
    struct stat status {};
    void* map = MAP_FAILED;
    if (fstat(fd, &status) == 0 && S_ISREG(status.st_mode) && status.st_size > 0 &&
        status.st_size < 0xFFFFFFFF)
        map = mmap(nullptr, static_cast<size_t>(status.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
    ::close(fd);
    if (map == MAP_FAILED)
        return {};
    const auto size = static_cast<size_t>(status.st_size);
    // Read-only, never made writable in place: a table HarfBuzz has to mend is copied, so
    // that letting go of the pages (ReleaseMemory) can never undo a mend.
    hb_blob_t* blob =
        hb_blob_create(static_cast<const char*>(map), static_cast<unsigned>(size),
                       HB_MEMORY_MODE_READONLY, new std::pair<void*, size_t>(map, size), unmap);
    std::unique_ptr<FontFace> face(new FontFace);
    face->map_ = map;
    face->mapSize_ = size;
    face->blob_ = blob;
    face->faceIndex_ = static_cast<unsigned>(index) & 0xFFFFu;
    face->instance_ = static_cast<unsigned>(index) >> 16;
    if (face->faceIndex_ >= hb_face_count(blob))
        return {};
    face->face_ = hb_face_create(blob, face->faceIndex_);
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
    hb_font_destroy(font_);
    hb_face_destroy(face_);
    hb_blob_destroy(blob_);
}

hb_font_t* FontFace::shaper() const {
    if (font_)
        return font_;
    if (!face_)
        face_ = hb_face_create(blob_, faceIndex_);
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
        hb_buffer_set_direction(buffer.get(),
                                item.rightToLeft ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
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
                glyph.x = pen;
                glyph.advance = MissingAdvance();
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

void FontFace::ReleaseMemory() const {
    hb_font_destroy(font_);
    font_ = nullptr;
    hb_face_destroy(face_);
    face_ = nullptr;
    if (map_)
        madvise(map_, mapSize_, MADV_DONTNEED);
}

bool FontFace::HasCharacter(char32_t c) const {
    hb_codepoint_t glyph = 0;
    return hb_font_get_nominal_glyph(shaper(), c, &glyph) && glyph != 0;
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

const QPainterPath& FontFace::Outline(uint32_t glyph) const {
    auto it = outlines_.find(glyph);
    if (it != outlines_.end())
        return it->second;
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    hb_font_get_glyph_shape(shaper(), glyph, pathFuncs(), &path);
    return outlines_.emplace(glyph, std::move(path)).first->second;
}
