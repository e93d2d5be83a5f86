// Shaping through FontFace: mixed directions and scripts, feature settings, variation
// coordinates, and the one painter that draws the result.
#include "fontengine/FontFace.h"
#include "fontengine/GlyphRunPainter.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>
#include <hb.h>

namespace {

const QString VariableTest =
    QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/variable-test.ttf");
const QString Arabic = QStringLiteral("مرحبا");

// A glyph's number by its name in the file, read apart from FontFace.
uint32_t GlyphNamed(const QString& path, const char* name) {
    hb_blob_t* blob = hb_blob_create_from_file(QFile::encodeName(path).constData());
    hb_face_t* face = hb_face_create(blob, 0);
    hb_font_t* font = hb_font_create(face);
    hb_codepoint_t glyph = 0;
    EXPECT_TRUE(hb_font_get_glyph_from_name(font, name, -1, &glyph)) << name;
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
    return glyph;
}

std::vector<uint32_t> Ids(const GlyphRun& run, size_t from = 0) {
    std::vector<uint32_t> ids;
    for (size_t i = from; i < run.glyphs.size(); ++i)
        ids.push_back(run.glyphs[i].id);
    return ids;
}

double AdvanceOf(const FontFace& face, const QString& text) {
    return face.Shape(text).advance;
}

} // namespace

TEST(Shaping, MixedDirectionsComeOutInVisualOrder) {
    const auto sans = FontFace::Open(testing_support::DejaVuSansFile, 0);
    ASSERT_TRUE(sans);
    const GlyphRun run = sans->Shape(QStringLiteral("abc ") + Arabic);
    ASSERT_EQ(run.glyphs.size(), 9u);
    EXPECT_EQ(run.missing, 0);
    for (size_t i = 1; i < run.glyphs.size(); ++i)
        EXPECT_GT(run.glyphs[i].x, run.glyphs[i - 1].x) << i;
    // The Latin word first, then the Arabic one drawn from its end: the final alef leftmost,
    // the initial meem rightmost, the letters joined as Arabic is written.
    EXPECT_EQ(Ids(run, 4).front(), GlyphNamed(testing_support::DejaVuSansFile, "uniFE8E"));
    EXPECT_EQ(Ids(run, 4).back(), GlyphNamed(testing_support::DejaVuSansFile, "uniFEE3"));
    // The same glyphs as the Arabic word on its own.
    EXPECT_EQ(Ids(run, 4), Ids(sans->Shape(Arabic)));

    // In a right-to-left paragraph the Latin word stands left of the Arabic one it follows.
    const GlyphRun reversed = sans->Shape(Arabic + QStringLiteral(" abc"));
    ASSERT_EQ(reversed.glyphs.size(), 9u);
    EXPECT_EQ(Ids(reversed).front(), sans->Shape(QStringLiteral("a")).glyphs[0].id);
    EXPECT_EQ(Ids(reversed).back(), GlyphNamed(testing_support::DejaVuSansFile, "uniFEE3"));
}

TEST(Shaping, MissingCharactersAreCountedInEveryRun) {
    const auto sans = FontFace::Open(testing_support::DejaVuSansFile, 0);
    const auto gothic = FontFace::Open(testing_support::IpaGothicFile, 0);
    ASSERT_TRUE(sans && gothic);
    // Kana, a character beyond the first plane and Arabic, each in a run of its own.
    const QString mixed = QString::fromUcs4(U"aあ \U00020B9F b ") + Arabic;
    EXPECT_EQ(sans->Shape(mixed).missing, 2);
    EXPECT_EQ(gothic->Shape(mixed).missing, 5); // IPA has no Arabic
    const GlyphRun run = gothic->Shape(QStringLiteral("abc ") + Arabic);
    EXPECT_EQ(run.missing, 5);
    ASSERT_EQ(run.glyphs.size(), 9u);
    EXPECT_DOUBLE_EQ(run.advance,
                     AdvanceOf(*gothic, QStringLiteral("abc ")) + 5 * gothic->MissingAdvance());
}

TEST(Shaping, FeatureSettingsTurnSubstitutionsOnAndOff) {
    const auto sans = FontFace::Open(testing_support::DejaVuSansFile, 0);
    ASSERT_TRUE(sans);
    const uint32_t ligature = GlyphNamed(testing_support::DejaVuSansFile, "fi");
    // DejaVu's standard ligatures are on by default.
    EXPECT_EQ(Ids(sans->Shape(QStringLiteral("fi"))), std::vector<uint32_t>{ligature});
    ShapingOptions off;
    off.features.push_back({FontTag("liga"), 0});
    EXPECT_EQ(sans->Shape(QStringLiteral("fi"), off).glyphs.size(), 2u);
    // A setting for part of the text: the first pair apart, the second joined.
    ShapingOptions firstOff;
    firstOff.features.push_back({FontTag("liga"), 0, 0, 2});
    const GlyphRun partly = sans->Shape(QStringLiteral("fi fi"), firstOff);
    ASSERT_EQ(partly.glyphs.size(), 4u);
    EXPECT_NE(partly.glyphs[0].id, ligature);
    EXPECT_EQ(partly.glyphs[3].id, ligature);
}

// Set top to bottom, glyphs go down the line by the face's vertical advances (vmtx), the
// comma takes its vertical form; across the line it keeps its usual one.
TEST(Shaping, VerticalSettingAdvancesDownwardsWithVerticalAlternates) {
    const QString path =
        QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/features-test.ttf");
    const auto face = FontFace::Open(path, 0);
    ASSERT_TRUE(face);
    ShapingOptions vertical;
    vertical.vertical = true;
    const GlyphRun run = face->Shape(QStringLiteral("あ、aあ"), vertical);
    ASSERT_EQ(run.glyphs.size(), 4u);
    EXPECT_TRUE(run.vertical);
    EXPECT_EQ(run.glyphs[1].id, GlyphNamed(path, "uni3001.vert"));
    std::vector<double> advances;
    for (size_t i = 0; i < run.glyphs.size(); ++i) {
        advances.push_back(run.glyphs[i].advance);
        if (i > 0) {
            EXPECT_LT(run.glyphs[i].y, run.glyphs[i - 1].y) << i;
        }
    }
    EXPECT_EQ(advances, (std::vector<double>{1000, 1000, 800, 1000}));
    EXPECT_EQ(run.advance, 3800);
    EXPECT_EQ(face->Shape(QStringLiteral("、")).glyphs[0].id, GlyphNamed(path, "uni3001"));

    // The features the face lists, each once, with its own name for its stylistic set.
    std::vector<uint32_t> tags;
    QString ownName;
    for (const FaceFeature& feature : face->Features()) {
        tags.push_back(feature.tag);
        if (feature.tag == FontTag("ss01"))
            ownName = feature.name;
    }
    EXPECT_EQ(tags, (std::vector<uint32_t>{FontTag("liga"), FontTag("ss01"), FontTag("vert")}));
    EXPECT_EQ(ownName, QStringLiteral("Open Tails"));
}

TEST(Shaping, VariationCoordinatesChangeAdvancesAndOutlines) {
    const QString a = QStringLiteral("A");
    const auto face = FontFace::Open(VariableTest, 0);
    ASSERT_TRUE(face);
    EXPECT_EQ(AdvanceOf(*face, a), 600);
    const QRectF regular = face->Outline(face->Shape(a).glyphs[0].id).boundingRect();
    face->SetVariations({{FontTag("wght"), 900}});
    EXPECT_EQ(AdvanceOf(*face, a), 800);
    // The outline kept from before is not the one drawn now.
    EXPECT_NEAR(face->Outline(face->Shape(a).glyphs[0].id).boundingRect().width(),
                regular.width() + 200, 0.5);
    // Made again after letting go, the shaper keeps the coordinates.
    face->ReleaseMemory();
    EXPECT_EQ(AdvanceOf(*face, a), 800);
    face->SetVariations({});
    EXPECT_EQ(AdvanceOf(*face, a), 600);

    // The named instance "Wide" (the second): an axis not set keeps the instance's value.
    const auto wide = FontFace::Open(VariableTest, 2 << 16);
    ASSERT_TRUE(wide);
    EXPECT_EQ(AdvanceOf(*wide, a), 900);
    wide->SetVariations({{FontTag("wght"), 900}});
    EXPECT_EQ(AdvanceOf(*wide, a), 1100);
    wide->SetVariations({{FontTag("wdth"), 100}, {FontTag("wght"), 400}});
    EXPECT_EQ(AdvanceOf(*wide, a), 600);

    // A face without axes ignores coordinates.
    const auto sans = FontFace::Open(testing_support::DejaVuSansFile, 0);
    const double before = AdvanceOf(*sans, QStringLiteral("Hamburg"));
    sans->SetVariations({{FontTag("wght"), 900}});
    EXPECT_EQ(AdvanceOf(*sans, QStringLiteral("Hamburg")), before);
}

TEST(Shaping, UnreadableOrCutOffFilesNeverCrash) {
    testing_support::TempFolder folder;
    QFile real(testing_support::DejaVuSansFile);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    testing_support::WriteBytes(folder.file(QStringLiteral("truncated.ttf")), real.read(3000));
    // A cut-off file may open; whatever it gives, shaping and drawing must not crash.
    if (const auto truncated = FontFace::Open(folder.file(QStringLiteral("truncated.ttf")), 0)) {
        const GlyphRun run = truncated->Shape(QStringLiteral("Hamburg あ ") + Arabic);
        QImage image(200, 50, QImage::Format_RGB32);
        QPainter painter(&image);
        glyphrun::Paint(painter, truncated.get(), run, QPointF(0, 40), 20, Qt::black, Qt::red);
    }
    // A face index the file does not have.
    EXPECT_EQ(FontFace::Open(testing_support::DejaVuSansFile, 5), nullptr);
}

// The painter puts the baseline where it is told and scales with the pixel size.
TEST(GlyphRunPainter, GlyphsSitOnTheBaselineAtTheirSize) {
    const auto sans = FontFace::Open(testing_support::DejaVuSansFile, 0);
    ASSERT_TRUE(sans);
    const GlyphRun run = sans->Shape(QStringLiteral("Hamburg"));
    const auto inkBox = [&](double pixelSize) {
        QImage image(400, 120, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        glyphrun::Paint(painter, sans.get(), run, QPointF(10, 80), pixelSize, Qt::black, Qt::red);
        painter.end();
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (qGray(image.pixel(x, y)) < 0x80)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect small = inkBox(16);
    const QRect large = inkBox(64);
    // Ascenders ("b") stand 0.76 em above the baseline; "g" goes below it.
    EXPECT_NEAR(large.top(), 80 - 0.76 * 64, 2);
    EXPECT_GT(large.bottom(), 80 + 8);
    EXPECT_LT(large.bottom(), 80 + 0.25 * 64);
    EXPECT_NEAR(large.left(), 10 + 0.1 * 64, 3); // the "H"'s side bearing
    EXPECT_NEAR(large.width(), 4 * small.width(), 6);
    const double end = 10 + run.advance * 64 / sans->UnitsPerEm();
    EXPECT_LE(large.right(), end);
    EXPECT_GT(large.right(), end - 10); // the "g"'s side bearing
}
