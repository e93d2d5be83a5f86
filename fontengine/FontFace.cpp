#include "fontengine/FontFace.h"

#include "fontengine/FontFileReader.h"

#include <algorithm>
#include <atomic>
#include <hb-ot.h>
#include <hb.h>

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
    std::shared_ptr<const FontFileBytes> bytes = files->Read(path);
    if (!bytes)
        return {};
    std::unique_ptr<FontFace> face(new FontFace);
    face->path_ = path;
    face->version_ = bytes->Version();
    face->files_ = std::move(files);
    face->faceIndex_ = static_cast<unsigned>(index) & 0xFFFFu;
    face->instance_ = static_cast<unsigned>(index) >> 16;
    if (face->faceIndex_ >= bytes->FaceCount())
        return {};
    face->face_ = bytes->CreateFace(face->faceIndex_);
    face->bytes_ = std::move(bytes);
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
}

hb_font_t* FontFace::shaper() const {
    if (font_)
        return font_;
    if (!face_) {
        if (!bytes_ && !lost_) {
            bytes_ = files_->Read(path_);
            if (!bytes_ || !(bytes_->Version() == version_)) {
                // Another file now, or none: its glyphs are not this face's, and outlines
                // made from the old one must not be drawn among them.
                bytes_.reset();
                lost_ = true;
                outlines_.clear();
            }
        }
        if (lost_) {
            face_ = hb_face_get_empty();
            font_ = hb_font_get_empty();
            return font_;
        }
        face_ = bytes_->CreateFace(faceIndex_);
    }
    font_ = hb_font_create(face_);
    hb_font_set_scale(font_, unitsPerEm_, unitsPerEm_);
    if (instance_ > 0)
        hb_font_set_var_named_instance(font_, instance_ - 1);
    return font_;
}

GlyphRun FontFace::Shape(const QString& text) const {
    // A face whose file has changed or gone has no glyph at all.
    if (shaper() == hb_font_get_empty())
        return AllMissing(text, MissingAdvance());
    GlyphRun run;
    const QList<uint> codePoints = text.toUcs4();
    const int count = static_cast<int>(codePoints.size());
    if (count == 0)
        return run;
    std::unique_ptr<hb_buffer_t, BufferDeleter> buffer(hb_buffer_create());
    // Each character keeps a cluster of its own unless shaping joins it to another, so that
    // missing characters can be counted one by one.
    hb_buffer_set_cluster_level(buffer.get(), HB_BUFFER_CLUSTER_LEVEL_MONOTONE_CHARACTERS);
    hb_buffer_add_utf32(buffer.get(), reinterpret_cast<const uint32_t*>(codePoints.constData()),
                        count, 0, count);
    hb_buffer_guess_segment_properties(buffer.get());
    hb_shape(shaper(), buffer.get(), nullptr, 0);

    unsigned length = 0;
    const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &length);
    const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &length);

    // The characters of a cluster run up to the next cluster's first one.
    std::vector<uint32_t> starts;
    starts.reserve(length);
    std::vector<uint32_t> missingClusters;
    for (unsigned i = 0; i < length; ++i) {
        starts.push_back(infos[i].cluster);
        if (infos[i].codepoint == 0)
            missingClusters.push_back(infos[i].cluster);
    }
    std::sort(starts.begin(), starts.end());
    starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
    std::sort(missingClusters.begin(), missingClusters.end());
    missingClusters.erase(std::unique(missingClusters.begin(), missingClusters.end()),
                          missingClusters.end());
    for (uint32_t cluster : missingClusters) {
        const auto next = std::upper_bound(starts.begin(), starts.end(), cluster);
        const uint32_t end = next == starts.end() ? static_cast<uint32_t>(count) : *next;
        run.missing += static_cast<int>(end - cluster);
    }

    run.glyphs.reserve(length);
    double pen = 0;
    for (unsigned i = 0; i < length; ++i) {
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
    bytes_.reset();
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
