// Qt is given the fonts the interface needs; the catalogue still sees every installed family,
// and nothing Qt draws loses a character some installed font has. Against the tests' own font
// set (DejaVu core and IPA); each test runs in a process of its own.
#include "platform/InterfaceFontConfig.h"
#include "platform/FontFamilies.h"
#include "platform/FontconfigHandles.h"
#include "platform/FormFonts.h"

#include <QFontDatabase>
#include <QGlyphRun>
#include <QRawFont>
#include <QSet>
#include <QTextLayout>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>
#include <memory>

namespace {

using platform::fc::FontSetDeleter;
using platform::fc::ObjectSetDeleter;
using platform::fc::PatternDeleter;

struct Listing {
    QSet<QString> families;
    std::unique_ptr<FcCharSet, decltype(&FcCharSetDestroy)> characters{FcCharSetCreate(),
                                                                       &FcCharSetDestroy};
};

Listing listing(FcConfig* config) {
    Listing result;
    std::unique_ptr<FcPattern, PatternDeleter> pattern(FcPatternCreate());
    std::unique_ptr<FcObjectSet, ObjectSetDeleter> objects(
        FcObjectSetBuild(FC_FAMILY, FC_CHARSET, nullptr));
    std::unique_ptr<FcFontSet, FontSetDeleter> fonts(
        FcFontList(config, pattern.get(), objects.get()));
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        result.families.insert(platform::fc::stringAt(fonts->fonts[i], FC_FAMILY, 0));
        FcCharSet* characters = nullptr;
        if (FcPatternGetCharSet(fonts->fonts[i], FC_CHARSET, 0, &characters) == FcResultMatch)
            FcCharSetMerge(result.characters.get(), characters, nullptr);
    }
    return result;
}

// How many characters of the text Qt draws with a font's .notdef glyph (a box).
int boxesIn(const QString& text, const QFont& font) {
    QTextLayout layout(text, font);
    layout.beginLayout();
    layout.createLine();
    layout.endLayout();
    int boxes = 0;
    for (const QGlyphRun& run : layout.glyphRuns())
        for (const quint32 glyph : run.glyphIndexes())
            boxes += glyph == 0 ? 1 : 0;
    return boxes;
}

} // namespace

TEST(InterfaceFontConfig, QtGetsSomeFontsTheCatalogueAll) {
    const Listing installed = listing(nullptr);
    ASSERT_EQ(installed.families.size(), 7);

    platform::InterfaceFontConfig fonts(platform::FormFontPattern());
    ASSERT_TRUE(fonts.Active());
    ASSERT_NE(platform::AllFontsConfig(), nullptr);
    // The interface's font comes first; the Mincho and proportional IPA fonts, the same
    // characters and languages as IPA Gothic, bring nothing.
    ASSERT_FALSE(fonts.Families().isEmpty());
    EXPECT_EQ(fonts.Families().first(), QStringLiteral("IPAGothic"));
    const QSet<QString> chosen(fonts.Families().cbegin(), fonts.Families().cend());
    EXPECT_FALSE(chosen.contains(QStringLiteral("IPAMincho")));
    EXPECT_TRUE(chosen.contains(QStringLiteral("DejaVu Sans")));

    // Qt's database is filled from the current configuration at its first use, after the
    // application object was made: it has the chosen families and no other.
    QSet<QString> qtFamilies;
    for (const QString& family : QFontDatabase::families())
        if (!QFontDatabase::isPrivateFamily(family))
            qtFamilies.insert(family);
    qtFamilies.remove(QStringLiteral("Sans Serif")); // Qt's own names for the generic families
    qtFamilies.remove(QStringLiteral("Serif"));
    qtFamilies.remove(QStringLiteral("Monospace"));
    EXPECT_EQ(qtFamilies, chosen);
    // Every face of a chosen family is there: bold stays a face of its own.
    EXPECT_TRUE(QFontDatabase::styles(QStringLiteral("DejaVu Sans")).contains("Bold"));

    // The catalogue and what reads families for it see every installed family.
    QSet<QString> catalogue;
    for (const auto& record : platform::EnumerateFontFamilies(QStringLiteral("en")))
        catalogue.insert(record.FaceName);
    EXPECT_EQ(catalogue, installed.families);
    EXPECT_EQ(listing(platform::AllFontsConfig()).families, installed.families);
    // The interface's font is chosen as before, among the fewer fonts.
    EXPECT_EQ(platform::PreferredFamily(platform::FormFontPattern()), QStringLiteral("IPAGothic"));
}

TEST(InterfaceFontConfig, EveryInstalledCharacterStaysReadable) {
    const Listing installed = listing(nullptr);
    platform::InterfaceFontConfig fonts(platform::FormFontPattern());
    ASSERT_TRUE(fonts.Active());
    const Listing forQt = listing(nullptr);
    EXPECT_TRUE(FcCharSetEqual(forQt.characters.get(), installed.characters.get()));

    // Names in the scripts the set has, drawn by Qt in the interface's font, which has only
    // the Japanese and Latin ones: the rest come from fallback fonts, with real glyphs.
    platform::UseFormFontEverywhere();
    const QFont font = platform::FormFont(9);
    for (const QString& name :
         {QStringLiteral("ゴシック体 Gothic"), QStringLiteral("Глиф"), QStringLiteral("Γλύφος"),
          QStringLiteral("שלום"), QStringLiteral("ქართული"), QStringLiteral("Ǳ ∮ ⌘ ☂")}) {
        SCOPED_TRACE(name.toStdString());
        EXPECT_EQ(boxesIn(name, font), 0);
    }
    // A script no installed font has shows as boxes: the check above can see them.
    EXPECT_EQ(boxesIn(QStringLiteral("กขค"), font), 3);
}
