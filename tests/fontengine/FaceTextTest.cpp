// Text laid out from one face's own file, never from glyphs borrowed elsewhere.
#include "fontengine/FaceText.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

namespace {

const QString DejaVuSans = QStringLiteral("/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf");
const QString IpaGothic = QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf");
// A private-use character no font maps: it shows the face's own missing-glyph shape.
const QString Unmapped = QStringLiteral("\U0010FFFD");

TEST(FaceTextTest, ACharacterTheFaceLacksShowsItsOwnMissingGlyph) {
    const auto dejaVu = OpenFaceText(DejaVuSans, 0);
    ASSERT_TRUE(dejaVu->IsValid());
    const FaceTextLine kana = dejaVu->Layout(QStringLiteral("あ"), 32);
    const FaceTextLine missing = dejaVu->Layout(Unmapped, 32);
    EXPECT_FALSE(missing.Outline.isEmpty());
    EXPECT_EQ(kana.Outline, missing.Outline); // not a kana drawn by some other font

    const auto ipa = OpenFaceText(IpaGothic, 0);
    ASSERT_TRUE(ipa->IsValid());
    const FaceTextLine ipaKana = ipa->Layout(QStringLiteral("あ"), 32);
    EXPECT_FALSE(ipaKana.Outline.isEmpty());
    EXPECT_NE(ipaKana.Outline, ipa->Layout(Unmapped, 32).Outline);
}

TEST(FaceTextTest, LayoutScalesWithThePixelSizeAndSitsOnTheBaseline) {
    const auto face = OpenFaceText(DejaVuSans, 0);
    const FaceTextLine small = face->Layout(QStringLiteral("Hamburg"), 16);
    const FaceTextLine large = face->Layout(QStringLiteral("Hamburg"), 64);
    ASSERT_GT(small.Advance, 40);
    EXPECT_NEAR(large.Advance, 4 * small.Advance, 0.01);
    EXPECT_NEAR(large.Ascent, 4 * small.Ascent, 0.01);
    // Capitals stand above the baseline, up to about the ascent; "g" goes below it.
    const QRectF box = large.Outline.boundingRect();
    EXPECT_LT(box.top(), -0.6 * large.Ascent);
    EXPECT_GT(box.top(), -large.Ascent - 1);
    EXPECT_GT(box.bottom(), 0);
    EXPECT_LE(box.bottom(), large.Descent + 1);
    EXPECT_LE(box.right(), large.Advance + 1);
}

TEST(FaceTextTest, UnreadableFilesGiveAnInvalidSourceThatLaysOutNothing) {
    testing_support::TempFolder folder;
    testing_support::WriteBytes(folder.file(QStringLiteral("garbage.ttf")),
                                QByteArray(4096, '\x5a'));
    QFile real(DejaVuSans);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    testing_support::WriteBytes(folder.file(QStringLiteral("truncated.ttf")), real.read(3000));

    for (const QString& file :
         {folder.file(QStringLiteral("missing.ttf")), folder.file(QStringLiteral("garbage.ttf"))}) {
        const auto face = OpenFaceText(file, 0);
        EXPECT_FALSE(face->IsValid()) << file.toStdString();
        EXPECT_TRUE(face->Layout(QStringLiteral("A"), 20).Outline.isEmpty());
    }
    // A cut-off file may open; whatever it gives, laying out must not crash.
    const auto truncated = OpenFaceText(folder.file(QStringLiteral("truncated.ttf")), 0);
    truncated->Layout(QStringLiteral("Hamburg あ"), 20);
    // A face index the file does not have.
    EXPECT_FALSE(OpenFaceText(DejaVuSans, 5)->IsValid());
}

} // namespace
