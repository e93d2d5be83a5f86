// The rules of the name search, on the families of the tests' own font configuration, and the
// preview size steps.
#include "sampleview/NameSearch.h"
#include "platform/FontFamilies.h"
#include "sampleview/PreviewSize.h"

#include <gtest/gtest.h>

namespace {

// The families whose names match, as the catalogue lists them.
QStringList Found(const QString& text, const QString& language = QStringLiteral("en")) {
    NameSearch search;
    search.SetText(text);
    QStringList found;
    for (const platform::FontFamilyRecord& record : platform::EnumerateFontFamilies(language))
        if (search.Matches(record.FaceName, record.OtherNames))
            found.append(record.FaceName);
    return found;
}

} // namespace

TEST(NameSearch, FindsFamiliesByAnyOfTheirNamesIgnoringCaseAndWidth) {
    const QStringList ipaGothic{QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")};
    EXPECT_EQ(Found(QStringLiteral("gothic")), ipaGothic);
    // The Japanese names, from a desktop in English and in Japanese.
    EXPECT_EQ(Found(QStringLiteral("ゴシック")), ipaGothic);
    EXPECT_EQ(Found(QStringLiteral("Gothic"), QStringLiteral("ja")),
              QStringList({QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAゴシック")}));
    // Full-width letters, and half-width katakana, find the same families.
    EXPECT_EQ(Found(QStringLiteral("ＩＰＡゴシック")), QStringList{QStringLiteral("IPAGothic")});
    EXPECT_EQ(Found(QStringLiteral("ｺﾞｼｯｸ")), ipaGothic);
    EXPECT_EQ(Found(QStringLiteral("ｉｐａ")).size(), 4);
    EXPECT_EQ(Found(QStringLiteral("  dejavu SANS  ")),
              QStringList({QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Sans Mono")}));
    // Nothing typed shows everything; nothing that matches shows nothing.
    EXPECT_EQ(Found(QString()).size(), 7);
    EXPECT_EQ(Found(QStringLiteral("   ")).size(), 7);
    EXPECT_TRUE(Found(QStringLiteral("Helvetica")).isEmpty());
}

TEST(NameSearch, EveryWordMustMatchInAnyOrderAndInAnyOfTheNames) {
    NameSearch search;
    search.SetText(QStringLiteral("Noto Sans JP"));
    EXPECT_TRUE(search.Matches(QStringLiteral("Noto Sans CJK JP")));
    EXPECT_FALSE(search.Matches(QStringLiteral("Noto Serif CJK JP")));
    search.SetText(QStringLiteral("jp\u3000noto")); // an ideographic space parts words too
    EXPECT_TRUE(search.Matches(QStringLiteral("Noto Sans CJK JP")));
    // Each word in a name of its own: the Latin name and the Japanese one.
    EXPECT_EQ(Found(QStringLiteral("IPA ゴシック")),
              QStringList({QStringLiteral("IPAGothic"), QStringLiteral("IPAPGothic")}));
    EXPECT_EQ(Found(QStringLiteral("mono DEJAVU")),
              QStringList{QStringLiteral("DejaVu Sans Mono")});
}

TEST(NameSearch, FoldingOutsideAsciiAndTheCompatibilityForms) {
    NameSearch search;
    search.SetText(QStringLiteral("ǅ")); // a title-case digraph
    EXPECT_TRUE(search.Matches(QStringLiteral("Ǆ Sans")));
    search.SetText(QStringLiteral("Ⅳ")); // the roman numeral is "IV" once normalised
    EXPECT_TRUE(search.Matches(QStringLiteral("Font iv")));
    search.SetText(QStringLiteral("ＫＡＴＡ")); // ASCII names are folded the quick way
    EXPECT_TRUE(search.Matches(QStringLiteral("Kata Sans")));
    EXPECT_FALSE(search.Matches(QStringLiteral("Kat Sans")));
    search.SetText(QStringLiteral("é")); // composed or not, the same letter
    EXPECT_TRUE(search.Matches(QStringLiteral("Cafe\u0301 Serif")));
}

TEST(PreviewSize, StepsStopAtBothEndsAndAnySavedSizeIsTakenAsTheNearestStep) {
    PreviewSize size;
    QList<int> emitted;
    QObject::connect(&size, &PreviewSize::sizeChanged, [&](int pt) { emitted.append(pt); });
    for (int i = 0; i < 8; ++i)
        size.ZoomIn();
    EXPECT_EQ(emitted, QList<int>({20, 24, 32, 48, 64, 96}));
    emitted.clear();
    size.Reset();
    for (int i = 0; i < 6; ++i)
        size.ZoomOut();
    EXPECT_EQ(emitted, QList<int>({16, 14, 12, 10, 8}));
    EXPECT_EQ(PreviewSize::NearestStep(-5), 8);
    EXPECT_EQ(PreviewSize::NearestStep(18), 16); // halfway: the smaller
    EXPECT_EQ(PreviewSize::NearestStep(40), 32);
    EXPECT_EQ(PreviewSize::NearestStep(1000000), 96);
}
