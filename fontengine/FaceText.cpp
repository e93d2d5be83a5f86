#include "fontengine/FaceText.h"

#include <QFile>
#include <QTransform>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include <harfbuzz/hb-ft.h>
#include <harfbuzz/hb.h>
#include <unordered_map>

namespace {

struct LibraryDeleter {
    void operator()(FT_Library library) const { FT_Done_FreeType(library); }
};
struct FaceDeleter {
    void operator()(FT_Face face) const { FT_Done_Face(face); }
};
struct HbFontDeleter {
    void operator()(hb_font_t* font) const { hb_font_destroy(font); }
};
struct HbBufferDeleter {
    void operator()(hb_buffer_t* buffer) const { hb_buffer_destroy(buffer); }
};

// Outlines are read in font units (unscaled) and scaled when laid out, so one shaping and
// one outline per glyph serve every size of the waterfall.
class FreeTypeFaceText final : public FaceTextSource {
public:
    FreeTypeFaceText(const QString& file, int faceIndex) {
        FT_Library library = nullptr;
        if (FT_Init_FreeType(&library))
            return;
        library_.reset(library);
        FT_Face face = nullptr;
        const QByteArray path = QFile::encodeName(file);
        if (FT_New_Face(library_.get(), path.constData(), faceIndex, &face))
            return;
        face_.reset(face);
        if (!FT_IS_SCALABLE(face_.get()) || face_->units_per_EM == 0) {
            face_.reset();
            return;
        }
        // HarfBuzz's own OpenType functions over the face's tables; positions in font units,
        // like the outlines.
        hb_face_t* tables = hb_ft_face_create_referenced(face_.get());
        font_.reset(hb_font_create(tables));
        hb_face_destroy(tables);
        hb_font_set_scale(font_.get(), face_->units_per_EM, face_->units_per_EM);
    }

    bool IsValid() const override { return font_ != nullptr; }

    FaceTextLine Layout(const QString& text, qreal pixelSize) const override {
        FaceTextLine line;
        if (!IsValid())
            return line;
        const qreal scale = pixelSize / face_->units_per_EM;
        line.Ascent = face_->ascender * scale;
        line.Descent = -face_->descender * scale;

        std::unique_ptr<hb_buffer_t, HbBufferDeleter> buffer(hb_buffer_create());
        hb_buffer_add_utf16(buffer.get(), reinterpret_cast<const uint16_t*>(text.utf16()),
                            static_cast<int>(text.size()), 0, static_cast<int>(text.size()));
        hb_buffer_guess_segment_properties(buffer.get());
        hb_shape(font_.get(), buffer.get(), nullptr, 0);
        unsigned int count = 0;
        const hb_glyph_info_t* infos = hb_buffer_get_glyph_infos(buffer.get(), &count);
        const hb_glyph_position_t* positions = hb_buffer_get_glyph_positions(buffer.get(), &count);

        qreal x = 0;
        qreal y = 0;
        for (unsigned int i = 0; i < count; ++i) {
            const QPainterPath& glyph = outline(infos[i].codepoint);
            if (!glyph.isEmpty()) {
                QTransform place;
                place.translate((x + positions[i].x_offset) * scale,
                                -(y + positions[i].y_offset) * scale);
                place.scale(scale, -scale);
                line.Outline.addPath(place.map(glyph));
            }
            x += positions[i].x_advance;
            y += positions[i].y_advance;
        }
        line.Advance = x * scale;
        return line;
    }

private:
    // The glyph's outline in font units, y growing upwards; empty for a glyph without one.
    const QPainterPath& outline(unsigned int glyph) const {
        const auto cached = outlines_.find(glyph);
        if (cached != outlines_.end())
            return cached->second;
        QPainterPath& path = outlines_[glyph];
        if (FT_Load_Glyph(face_.get(), glyph, FT_LOAD_NO_SCALE | FT_LOAD_NO_BITMAP) != 0 ||
            face_->glyph->format != FT_GLYPH_FORMAT_OUTLINE)
            return path;
        FT_Outline_Funcs funcs{};
        funcs.move_to = [](const FT_Vector* to, void* user) {
            auto* p = static_cast<QPainterPath*>(user);
            p->closeSubpath();
            p->moveTo(to->x, to->y);
            return 0;
        };
        funcs.line_to = [](const FT_Vector* to, void* user) {
            static_cast<QPainterPath*>(user)->lineTo(to->x, to->y);
            return 0;
        };
        funcs.conic_to = [](const FT_Vector* control, const FT_Vector* to, void* user) {
            static_cast<QPainterPath*>(user)->quadTo(control->x, control->y, to->x, to->y);
            return 0;
        };
        funcs.cubic_to = [](const FT_Vector* c1, const FT_Vector* c2, const FT_Vector* to,
                            void* user) {
            static_cast<QPainterPath*>(user)->cubicTo(c1->x, c1->y, c2->x, c2->y, to->x, to->y);
            return 0;
        };
        FT_Outline_Decompose(&face_->glyph->outline, &funcs, &path);
        path.closeSubpath();
        path.setFillRule(Qt::WindingFill);
        return path;
    }

    std::unique_ptr<FT_LibraryRec_, LibraryDeleter> library_;
    std::unique_ptr<FT_FaceRec_, FaceDeleter> face_;
    std::unique_ptr<hb_font_t, HbFontDeleter> font_;
    mutable std::unordered_map<unsigned int, QPainterPath> outlines_;
};

} // namespace

std::unique_ptr<FaceTextSource> OpenFaceText(const QString& file, int faceIndex) {
    return std::make_unique<FreeTypeFaceText>(file, faceIndex);
}
