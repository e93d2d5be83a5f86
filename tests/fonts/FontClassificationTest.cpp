// Classification of reported families into the five font classes, and the character set
// each family's own code pages give it.
#include "fonts/FontPool.h"

#include "fontengine/CodePages.h"

#include "tests/support/TestFontFolder.h"

#include <fontconfig/fontconfig.h>
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

TEST(FontClassification, CharacterSetFromTheOs2CodePagesElseFromFontconfig) {
    using namespace platform;
    const auto data = [](const char* name) {
        return QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fonts/data/") + QLatin1String(name);
    };
    // A Latin font that declares the JIS code page: fontconfig does not list "ja" for it.
    testing_support::TestFontFolder folder;
    folder.Add(data("code-page-jis.ttf"), QStringLiteral("jis.ttf"));
    FcPattern* any = FcPatternCreate();
    FcObjectSet* objects = FcObjectSetBuild(FC_LANG, nullptr);
    FcFontSet* listed = FcFontList(folder.Config(), any, objects);
    ASSERT_TRUE(listed && listed->nfont == 1);
    FcLangSet* languages = nullptr;
    ASSERT_EQ(FcPatternGetLangSet(listed->fonts[0], FC_LANG, 0, &languages), FcResultMatch);
    EXPECT_NE(FcLangSetHasLang(languages, reinterpret_cast<const FcChar8*>("ja")), FcLangEqual);
    FcFontSetDestroy(listed);
    FcObjectSetDestroy(objects);
    FcPatternDestroy(any);

    testing_support::TempFolder temp;
    const QString fifo = temp.file(QStringLiteral("fifo.ttf"));
    testing_support::MakeFifo(fifo);
    struct Case {
        QString file;
        int fontconfigSays;
        int expected;
    };
    const Case cases[] = {
        {data("code-page-jis.ttf"), ANSI_CHARSET, SHIFTJIS_CHARSET},
        // The code pages win over fontconfig's "ja" too.
        {data("code-page-latin.ttf"), SHIFTJIS_CHARSET, ANSI_CHARSET},
        // Without code pages, fontconfig decides.
        {data("code-page-v0.ttf"), SHIFTJIS_CHARSET, SHIFTJIS_CHARSET},
        {data("code-page-v0.ttf"), ANSI_CHARSET, ANSI_CHARSET},
        {data("code-page-none.ttf"), SHIFTJIS_CHARSET, SHIFTJIS_CHARSET},
        {data("missing.ttf"), SHIFTJIS_CHARSET, SHIFTJIS_CHARSET},
        {fifo, SHIFTJIS_CHARSET, SHIFTJIS_CHARSET},
    };
    std::vector<FontFamilyRecord> families;
    for (const Case& c : cases) {
        families.push_back(family("Family", c.fontconfigSays, VARIABLE_PITCH));
        families.back().FilePath = c.file;
        families.back().CharSetFromLanguages = true;
    }
    // A record of a source other than fontconfig's languages keeps its character set.
    families.push_back(family("Given", ANSI_CHARSET, VARIABLE_PITCH));
    families.back().FilePath = data("code-page-jis.ttf");
    const std::vector<FontFamilyRecord> records = families;

    const QString cachePath = temp.file(QStringLiteral("faces.cache"));
    {
        CaptionMetricsCache cache(cachePath);
        CatalogueScan::ReadCharacterSets(families, &cache);
        for (size_t i = 0; i < std::size(cases); ++i)
            EXPECT_EQ(families[i].CharSet, cases[i].expected) << cases[i].file.toStdString();
        EXPECT_EQ(families.back().CharSet, ANSI_CHARSET);
        EXPECT_EQ(TFontPool::ClassifyFont(families[0]), fcJapanese);
        ASSERT_TRUE(cache.Save());
    }
    // The next start takes the code pages from the cache, for the file as it was then.
    CaptionMetricsCache cache(cachePath);
    const auto jis = FileStamp::Of(data("code-page-jis.ttf"));
    const auto latin = FileStamp::Of(data("code-page-latin.ttf"));
    ASSERT_TRUE(jis && latin);
    EXPECT_EQ(cache.FindCodePages(*jis, 0), std::optional<quint32>((1u << 17) | 1u));
    // Known to declare none.
    const auto none = cache.FindCodePages(*FileStamp::Of(data("code-page-none.ttf")), 0);
    ASSERT_TRUE(none);
    EXPECT_FALSE(*none);
    FileStamp other = *jis;
    other.size += 1;
    EXPECT_FALSE(cache.FindCodePages(other, 0));
    cache.StoreCodePages(*latin, 0, codepages::Japanese);
    families = records;
    CatalogueScan::ReadCharacterSets(families, &cache);
    EXPECT_EQ(families[1].CharSet, SHIFTJIS_CHARSET);
}
