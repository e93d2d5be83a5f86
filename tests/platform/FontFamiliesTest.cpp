// Enumeration against the tests' own font configuration (DejaVu core and IPA).
#include "platform/FontFamilies.h"

#include <gtest/gtest.h>

using platform::FontFamilyRecord;

namespace {

const FontFamilyRecord* find(const std::vector<FontFamilyRecord>& records, const QString& name) {
    for (const FontFamilyRecord& record : records)
        if (record.FaceName == name)
            return &record;
    return nullptr;
}

} // namespace

TEST(FontFamilies, OneRecordPerFamilyInNameOrder) {
    const auto records = platform::EnumerateFontFamilies(QStringLiteral("en"));
    QStringList names;
    for (const auto& record : records)
        names.append(record.FaceName);
    EXPECT_EQ(names, QStringList({"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif", "IPAGothic",
                                  "IPAMincho", "IPAPGothic", "IPAPMincho"}));
    // Bold faces belong to their family; the record describes the regular face.
    EXPECT_EQ(find(records, "DejaVu Sans")->Style, QStringLiteral("Book"));
}

TEST(FontFamilies, ClassifiesCharacterSetPitchAndOutline) {
    const auto records = platform::EnumerateFontFamilies(QStringLiteral("en"));
    for (const auto& record : records)
        EXPECT_EQ(record.FontType, platform::TRUETYPE_FONTTYPE) << record.FaceName.toStdString();

    EXPECT_EQ(find(records, "IPAGothic")->CharSet, platform::SHIFTJIS_CHARSET);
    EXPECT_EQ(find(records, "IPAGothic")->PitchAndFamily, platform::FIXED_PITCH); // dual spacing
    EXPECT_EQ(find(records, "IPAPGothic")->CharSet, platform::SHIFTJIS_CHARSET);
    EXPECT_EQ(find(records, "IPAPGothic")->PitchAndFamily, platform::VARIABLE_PITCH);
    EXPECT_EQ(find(records, "DejaVu Sans")->CharSet, platform::ANSI_CHARSET);
    EXPECT_EQ(find(records, "DejaVu Sans Mono")->PitchAndFamily, platform::FIXED_PITCH);
    EXPECT_EQ(find(records, "DejaVu Serif")->PitchAndFamily, platform::VARIABLE_PITCH);
}

TEST(FontFamilies, NamesFollowTheUserLanguageAndKeepTheOthers) {
    const auto japanese = platform::EnumerateFontFamilies(QStringLiteral("ja"));
    const FontFamilyRecord* gothic = find(japanese, QStringLiteral("IPAゴシック"));
    ASSERT_NE(gothic, nullptr);
    EXPECT_TRUE(gothic->OtherNames.contains(QStringLiteral("IPAGothic")));
    // Families without a Japanese name keep their only one.
    EXPECT_NE(find(japanese, QStringLiteral("DejaVu Sans")), nullptr);

    const auto english = platform::EnumerateFontFamilies(QStringLiteral("en"));
    EXPECT_TRUE(find(english, QStringLiteral("IPAGothic"))
                    ->OtherNames.contains(QStringLiteral("IPAゴシック")));
}
