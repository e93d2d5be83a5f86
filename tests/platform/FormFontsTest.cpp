// The forms' Windows fonts stand for an installed Japanese family, made the application's font
// before any window is built.
#include "platform/FormFonts.h"

#include <QFont>
#include <QFontInfo>
#include <QGuiApplication>
#include <QStringList>
#include <gtest/gtest.h>

TEST(FormFonts, TheApplicationDrawsInAnInstalledJapaneseFamily) {
    // In the tests' own font set, fontconfig's Japanese sans-serif is an IPA Gothic.
    const QString japanese = platform::PreferredFamily(QStringLiteral("sans-serif:lang=ja"));
    EXPECT_TRUE(japanese.startsWith(QLatin1String("IPA"))) << japanese.toStdString();
    EXPECT_TRUE(japanese.contains(QLatin1String("Gothic"))) << japanese.toStdString();

    const qreal desktopSize = QGuiApplication::font().pointSizeF();
    platform::UseFormFontEverywhere();
    EXPECT_EQ(platform::FormFamily(), japanese);
    EXPECT_EQ(QGuiApplication::font().family(), japanese);
    EXPECT_EQ(QGuiApplication::font().pointSizeF(), desktopSize);
    EXPECT_EQ(platform::FormFont(7).family(), japanese);
    EXPECT_EQ(platform::FormFont(7).pointSize(), 7);
    // A family with Japanese keeps Qt's fallback for the odd character it lacks.
    EXPECT_TRUE(platform::FormFamilyHasJapanese());
    EXPECT_FALSE(platform::FormFont(7).styleStrategy() & QFont::NoFontMerging);
    // Whatever still names a designed font is drawn in the same family.
    for (const QString& family : {QStringLiteral("Tahoma"), QStringLiteral("メイリオ")}) {
        SCOPED_TRACE(family.toStdString());
        EXPECT_EQ(QFontInfo(QFont(family, 9)).family().compare(japanese, Qt::CaseInsensitive), 0);
    }
}
