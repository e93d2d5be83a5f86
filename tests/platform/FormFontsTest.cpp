// The forms' Windows fonts are mapped to installed families before any window is built.
#include "platform/FormFonts.h"

#include <QFont>
#include <QFontInfo>
#include <QStringList>
#include <gtest/gtest.h>

TEST(FormFonts, TheFormsFontsResolveToAnInstalledJapaneseFamily) {
    // In the tests' own font set, fontconfig's Japanese sans-serif is an IPA Gothic.
    const QString japanese = platform::PreferredFamily(QStringLiteral("sans-serif:lang=ja"));
    EXPECT_TRUE(japanese.startsWith(QLatin1String("IPA"))) << japanese.toStdString();
    EXPECT_TRUE(japanese.contains(QLatin1String("Gothic"))) << japanese.toStdString();

    platform::SubstituteFormFonts();
    for (const QString& family : {QStringLiteral("Tahoma"), QStringLiteral("メイリオ")}) {
        SCOPED_TRACE(family.toStdString());
        // Qt keeps substitutes in lower case.
        EXPECT_EQ(QFont::substitutes(family).value(0).compare(japanese, Qt::CaseInsensitive), 0);
        EXPECT_EQ(QFontInfo(QFont(family, 9)).family().compare(japanese, Qt::CaseInsensitive), 0);
    }
}
