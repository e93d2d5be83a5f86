// The waterfall of the details window: drawn through the same engine and painter as the
// tiles, and bounded by what it can show however long its text.
#include "details/FontWaterfall.h"
#include "details/FontDetailsForm.h"
#include "fontengine/GlyphRunPainter.h"
#include "fontengine/TileTextFactory.h"

#include "tests/support/TestSupport.h"

#include <QImage>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString DejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
// The sample field's longest text.
constexpr int LongestSample = 32767;

// Pixels of exactly the given colour, and pixels darker than mid-grey.
struct Inks {
    int colour = 0;
    int dark = 0;
};

Inks Count(const QImage& image, QRgb colour) {
    Inks inks;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QRgb pixel = image.pixel(x, y) & 0xFFFFFF;
            inks.colour += pixel == (colour & 0xFFFFFF);
            inks.dark += qGray(pixel) < 0x60;
        }
    return inks;
}

QImage Rendered(QWidget& widget) {
    QImage image(widget.size(), QImage::Format_RGB32);
    widget.render(&image);
    return image;
}

} // namespace

// Missing characters are marked as a tile marks them, in the same grey; the space between
// them is no missing character and gets no mark.
TEST(FontWaterfall, MissingCharactersGetTheTilesMarksAndASpaceNone) {
    const QString text = QStringLiteral("あい あ");
    const QRgb mark = glyphrun::MissingMarkColor().rgb();
    FontWaterfall waterfall;
    waterfall.SetFace(FontFace::Open(DejaVuSans, 0));
    waterfall.SetText(QString());
    const Inks labels = Count(Rendered(waterfall), mark);
    waterfall.SetText(text);
    const Inks drawn = Count(Rendered(waterfall), mark);
    EXPECT_EQ(drawn.dark, labels.dark) << "a glyph was drawn for a character DejaVu Sans lacks";

    TileTextFactory tiles(QString(), waterfall.logicalDpiY());
    int tileMarks = 0;
    for (int points : FontWaterfall::PointSizes()) {
        const GlyphRun* run = waterfall.ShapedRun(points);
        ASSERT_NE(run, nullptr) << points;
        EXPECT_EQ(run->missing, 3);
        ASSERT_EQ(run->glyphs.size(), 4u);
        EXPECT_FALSE(run->glyphs[2].missing);

        const auto tile = tiles.Make(DejaVuSans, 0, QStringLiteral("DejaVu Sans"), text, points);
        QImage image(tile->Width() + 20, int(points * 2.5), QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        tile->Paint(painter, image.rect(), Qt::black, glyphrun::MissingMarkColor());
        painter.end();
        tileMarks += Count(image, mark).colour;
    }
    EXPECT_GT(tileMarks, 0);
    EXPECT_EQ(drawn.colour - labels.colour, tileMarks);
}

// A text as long as the sample field takes is shaped only as far as each line can show it,
// and only for rows in view; the window opens as quickly as with a short one.
TEST(FontWaterfall, ALongSampleIsShapedOnlyAsFarAsItShows) {
    const QString unit = QStringLiteral("Hamburg あ مرحبا 永 fi ");
    QString text;
    while (text.size() < LongestSample)
        text += unit;
    text.truncate(LongestSample);

    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("DejaVu Sans")), text);
    form.resize(600, 300);
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    auto* waterfall = form.findChild<FontWaterfall*>(QStringLiteral("Waterfall"));
    ASSERT_NE(waterfall, nullptr);
    ASSERT_TRUE(waterfall->HasFace());
    EXPECT_EQ(waterfall->Text(), text);
    ASSERT_TRUE(testing_support::WaitUntil([&] { return waterfall->ShapedRun(8) != nullptr; }));
    // The lines are as wide as the view: no scrolling sideways through a text that long.
    auto* scroll = qobject_cast<QScrollArea*>(waterfall->parentWidget()->parentWidget());
    ASSERT_NE(scroll, nullptr);
    EXPECT_LE(waterfall->width(), scroll->viewport()->width());

    const double unitsPerEm = waterfall->Face()->UnitsPerEm();
    const auto pixels = [&](int points) { return points * waterfall->logicalDpiY() / 72.0; };
    // Rows below the view are not shaped until scrolled to.
    EXPECT_EQ(waterfall->ShapedRun(72), nullptr);
    scroll->verticalScrollBar()->setValue(scroll->verticalScrollBar()->maximum());
    ASSERT_TRUE(testing_support::WaitUntil([&] { return waterfall->ShapedRun(72) != nullptr; }));

    size_t glyphs = 0;
    for (int points : {8, 72}) {
        const GlyphRun* run = waterfall->ShapedRun(points);
        ASSERT_NE(run, nullptr);
        glyphs += run->glyphs.size();
        // A start of the text, enough to reach the right edge and not much more.
        EXPECT_LT(waterfall->ShapedLength(points), 1000) << points;
        EXPECT_GT(run->advance * pixels(points) / unitsPerEm, waterfall->width() - 100) << points;
    }
    EXPECT_LT(glyphs, 1500u);

    // A wider window shows more of the text.
    const int narrow = waterfall->ShapedLength(8);
    scroll->verticalScrollBar()->setValue(0);
    form.resize(1000, 300);
    EXPECT_TRUE(testing_support::WaitUntil([&] { return waterfall->ShapedLength(8) > narrow; }));
    EXPECT_LT(waterfall->ShapedLength(8), 2000);
}
