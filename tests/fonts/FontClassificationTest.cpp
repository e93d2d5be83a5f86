// Classification of reported families into the five font classes.
#include "fonts/FontPool.h"

#include <gtest/gtest.h>

using platform::FontFamilyRecord;

namespace {

FontFamilyRecord family(const QString& name, int charSet, int pitch,
                        int type = platform::TRUETYPE_FONTTYPE) {
    FontFamilyRecord record;
    record.FaceName = name;
    record.Style = QStringLiteral("Regular");
    record.CharSet = charSet;
    record.PitchAndFamily = pitch;
    record.FontType = type;
    return record;
}

} // namespace

TEST(FontClassification, FollowsTheRulesInOrder) {
    using namespace platform;
    struct Case {
        FontFamilyRecord record;
        int expected;
    };
    const Case cases[] = {
        {family("IPAGothic", SHIFTJIS_CHARSET, FIXED_PITCH), fcJapaneseFixed},
        {family("IPAPGothic", SHIFTJIS_CHARSET, VARIABLE_PITCH), fcJapanese},
        {family("Default", SHIFTJIS_CHARSET, DEFAULT_PITCH), fcJapanese},
        // Only the low nibble tells the pitch, and only a plain 1 is fixed.
        {family("Family bits", SHIFTJIS_CHARSET, 0x30 | FIXED_PITCH), fcJapaneseFixed},
        {family("Both bits", SHIFTJIS_CHARSET, 0x03), fcJapanese},
        {family("DejaVu Sans Mono", ANSI_CHARSET, FIXED_PITCH), fcWestern},
        {family("@IPAGothic", SHIFTJIS_CHARSET, FIXED_PITCH), fcVertical},
        {family("@Western", ANSI_CHARSET, VARIABLE_PITCH), fcVertical},
        {family("At@Name", ANSI_CHARSET, VARIABLE_PITCH), fcAtInName},
        {family("Gothic@", SHIFTJIS_CHARSET, FIXED_PITCH), fcAtInName},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TFontPool::ClassifyFont(c.record), c.expected) << c.record.FaceName.toStdString();
}

TEST(FontClassification, RecordsTrueTypeFamiliesOnlyKeepingOrderAndDuplicates) {
    std::vector<std::unique_ptr<TFontUnit>> list;
    EXPECT_EQ(TFontPool::FontFamilyCallback(family("B", 0, 2), list), 1);
    EXPECT_EQ(
        TFontPool::FontFamilyCallback(family("Raster", 0, 2, platform::RASTER_FONTTYPE), list), 1);
    EXPECT_EQ(TFontPool::FontFamilyCallback(family("Device", 0, 2, 6), list), 1);
    TFontPool::FontFamilyCallback(family("A", 128, 1), list);
    TFontPool::FontFamilyCallback(family("B", 0, 2), list);
    ASSERT_EQ(list.size(), 3u);
    EXPECT_EQ(list[0]->Name, "B");
    EXPECT_EQ(list[1]->Name, "A");
    EXPECT_EQ(list[1]->FontClass, fcJapaneseFixed);
    EXPECT_EQ(list[2]->Name, "B");
    EXPECT_EQ(list[2]->Style, "Regular");
    EXPECT_EQ(list[2]->Tile, nullptr);
}
