// What the character map counts of a face: its characters and glyphs, the Japanese sets and
// the Unicode blocks, on a font whose characters are known (data/make-charmap-font.py).
#include "fontengine/CharacterCoverage.h"
#include "fontengine/FontFace.h"

#include "tests/support/TestSupport.h"

#include <QHash>
#include <gtest/gtest.h>

namespace {

const QString TestFont =
    QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fontengine/data/charmap-test.ttf");

QHash<QString, std::pair<int, int>> byName(const std::vector<charcoverage::Coverage>& list) {
    QHash<QString, std::pair<int, int>> map;
    for (const charcoverage::Coverage& entry : list)
        map.insert(entry.name, {entry.present, entry.total});
    return map;
}

TEST(CharacterCoverageTest, CountsTheCharactersAndGlyphsOfTheFace) {
    const auto face = FontFace::Open(TestFont, 0);
    ASSERT_NE(face, nullptr);
    const std::vector<char32_t> characters = face->Characters();
    // U+E000 is mapped to glyph 0, the face's missing mark: not a character it has. One glyph
    // no character maps to still counts among the glyphs.
    const std::u32string expected = U"ABCあいうえおア一丁丐丑\U00020B9F";
    EXPECT_EQ(std::u32string(characters.begin(), characters.end()), expected);
    EXPECT_EQ(face->GlyphCount(), 1 + 14 + 1);
}

TEST(CharacterCoverageTest, CountsEachJapaneseSetAgainstItsWholeList) {
    const auto face = FontFace::Open(TestFont, 0);
    ASSERT_NE(face, nullptr);
    const auto sets = byName(charcoverage::SetCoverage(face->Characters()));
    using Count = std::pair<int, int>;
    EXPECT_EQ(sets.value(QStringLiteral("kana")), Count(6, 174));
    // 𠮟, beyond the BMP, is one of the 2,136.
    EXPECT_EQ(sets.value(QStringLiteral("joyo-kanji")), Count(3, 2136));
    EXPECT_EQ(sets.value(QStringLiteral("jinmeiyo-kanji")), Count(1, 863));
    EXPECT_EQ(sets.value(QStringLiteral("jisx0208-level1")), Count(3, 2965));
    EXPECT_EQ(sets.value(QStringLiteral("jisx0208-level2")), Count(1, 3390));
    EXPECT_EQ(sets.value(QStringLiteral("jisx0213")), Count(11, 11208));
    EXPECT_EQ(sets.size(), 6);
}

TEST(CharacterCoverageTest, CountsEachBlockAgainstItsAssignedCharacters) {
    const auto face = FontFace::Open(TestFont, 0);
    ASSERT_NE(face, nullptr);
    const std::vector<charcoverage::Coverage> blocks =
        charcoverage::BlockCoverage(face->Characters());
    QStringList names;
    for (const charcoverage::Coverage& block : blocks)
        names.append(block.name);
    // In code point order; no Private Use Area, whose only character maps to glyph 0.
    EXPECT_EQ(names,
              (QStringList{QStringLiteral("Basic Latin"), QStringLiteral("Hiragana"),
                           QStringLiteral("Katakana"), QStringLiteral("CJK Unified Ideographs"),
                           QStringLiteral("CJK Unified Ideographs Extension B")}));
    const auto counts = byName(blocks);
    using Count = std::pair<int, int>;
    EXPECT_EQ(counts.value(QStringLiteral("Basic Latin")), Count(3, 128));
    // U+3040, U+3097 and U+3098 are unassigned.
    EXPECT_EQ(counts.value(QStringLiteral("Hiragana")), Count(5, 93));
    EXPECT_EQ(counts.value(QStringLiteral("Katakana")), Count(1, 96));
}

TEST(CharacterCoverageTest, NamesCharactersFromTheUnicodeDatabase) {
    using charcoverage::CharacterName;
    using charcoverage::CodePointText;
    EXPECT_EQ(CodePointText(U'あ'), QStringLiteral("U+3042"));
    EXPECT_EQ(CodePointText(U'\U00020B9F'), QStringLiteral("U+20B9F"));
    EXPECT_EQ(CodePointText(U'a'), QStringLiteral("U+0061"));
    EXPECT_EQ(CharacterName(U'あ'), QStringLiteral("HIRAGANA LETTER A"));
    EXPECT_EQ(CharacterName(U'一'), QStringLiteral("CJK UNIFIED IDEOGRAPH-4E00"));
    // A control has no name of its own, only a label.
    EXPECT_EQ(CharacterName(U'\n'), QStringLiteral("<control-000A>"));
}

} // namespace
