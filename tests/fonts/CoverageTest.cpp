// Which families can show a text, from fontconfig's character sets of the tests' own fonts.
#include "fontengine/CoverageIndex.h"
#include "sampleview/CoverageFilter.h"

#include <gtest/gtest.h>

namespace {

const QString Kana = QStringLiteral("あいう");

TEST(CoverageIndexTest, KanaIsCoveredByTheJapaneseFamiliesOnly) {
    CoverageIndex index;
    EXPECT_FALSE(index.Covers(QStringLiteral("DejaVu Sans"), Kana));
    EXPECT_FALSE(index.Covers(QStringLiteral("DejaVu Serif"), Kana));
    EXPECT_TRUE(index.Covers(QStringLiteral("IPAGothic"), Kana));
    EXPECT_TRUE(index.Covers(QStringLiteral("IPAMincho"), Kana));
    // Latin is in both.
    EXPECT_TRUE(index.Covers(QStringLiteral("DejaVu Sans"), QStringLiteral("Hamburg")));
    EXPECT_TRUE(index.Covers(QStringLiteral("IPAGothic"), QStringLiteral("Hamburg")));
    // One missing character is enough to fail.
    EXPECT_FALSE(index.Covers(QStringLiteral("DejaVu Sans"), QStringLiteral("Hamburgあ")));
}

TEST(CoverageIndexTest, AFamilyIsFoundByAnyOfItsNamesAsFontconfigSpellsThem) {
    CoverageIndex index;
    EXPECT_TRUE(index.Covers(QStringLiteral("IPAゴシック"), Kana));
    EXPECT_TRUE(index.Covers(QStringLiteral("ipa gothic"), Kana));
    EXPECT_TRUE(index.Covers(QStringLiteral("dejavusans"), QStringLiteral("A")));
    EXPECT_GE(index.FamilyCount(), 8);
}

TEST(CoverageIndexTest, UnknownFamiliesCoverNothingButAnEmptyTextIsAlwaysCovered) {
    CoverageIndex index;
    EXPECT_FALSE(index.Covers(QStringLiteral("No Such Family"), QStringLiteral("A")));
    EXPECT_FALSE(index.Covers(QStringLiteral("No Such Family"), QStringLiteral("A")));
    EXPECT_TRUE(index.Covers(QStringLiteral("No Such Family"), QStringLiteral(" \t\n")));
    EXPECT_TRUE(index.Covers(QStringLiteral("DejaVu Sans"), QString()));
}

TEST(CoverageIndexTest, CharactersAreCodePointsWithoutSpacesControlsOrSelectors) {
    // U+1F600 is one character of two UTF-16 units; ZWJ and VS16 draw nothing of their own.
    const QString text = QStringLiteral("a\U0001F600 b\t\u200D\uFE0Fa\n\u3042");
    EXPECT_EQ(CoverageIndex::CharactersToCover(text),
              (std::vector<char32_t>{U'a', U'\U0001F600', U'b', U'\u3042'}));
    // No test font has the emoji; its surrogate halves must not be looked up on their own.
    CoverageIndex index;
    EXPECT_FALSE(index.Covers(QStringLiteral("IPAGothic"), QStringLiteral("\U0001F600")));
    // Text made only of what needs no glyph asks nothing of a family.
    EXPECT_TRUE(CoverageIndex::CharactersToCover(QStringLiteral(" \u200B\uFE0F\r")).empty());
}

TEST(CoverageFilterTest, NarrowsOnlyWhenOnAndGivenSomethingToDraw) {
    CoverageFilter filter;
    const QString dejaVu = QStringLiteral("DejaVu Sans");
    EXPECT_FALSE(filter.Narrows(Kana));
    EXPECT_TRUE(filter.Admits(dejaVu, Kana)); // off: everything stays

    filter.SetEnabled(true);
    EXPECT_FALSE(filter.Narrows(QString()));
    EXPECT_TRUE(filter.Admits(dejaVu, QString())); // no sample text: no effect
    EXPECT_TRUE(filter.Admits(dejaVu, QStringLiteral("   ")));
    EXPECT_TRUE(filter.Narrows(Kana));
    EXPECT_FALSE(filter.Admits(dejaVu, Kana));
    EXPECT_TRUE(filter.Admits(QStringLiteral("IPAMincho"), Kana));
    // A new text is taken, not the one remembered from the last question.
    EXPECT_TRUE(filter.Admits(dejaVu, QStringLiteral("Latin")));
    EXPECT_FALSE(filter.Admits(dejaVu, Kana));
}

} // namespace
