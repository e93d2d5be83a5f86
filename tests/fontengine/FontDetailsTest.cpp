// A family's faces and names from fontconfig, and what each face's file says.
#include "fontengine/FontDetails.h"

#include "tests/support/TestFontFolder.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

const QString DejaVuDir = QStringLiteral("/usr/share/fonts/truetype/dejavu/");

QStringList styles(const FamilyDetails& details) {
    QStringList list;
    for (const FaceDetails& face : details.Faces)
        list.append(face.Style);
    return list;
}

TEST(FontDetailsTest, ListsEachFaceWithItsFileFormatAndLanguages) {
    // The tests' own configuration holds DejaVu Sans in Book and Bold.
    const FamilyDetails details = ReadFamilyDetails(QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(styles(details), (QStringList{QStringLiteral("Book"), QStringLiteral("Bold")}));
    ASSERT_EQ(details.RegularFace, 0);
    const FaceDetails& book = details.Faces[0];
    EXPECT_TRUE(book.File.endsWith(QStringLiteral("/DejaVuSans.ttf"))) << book.File.toStdString();
    EXPECT_TRUE(details.Faces[1].File.endsWith(QStringLiteral("/DejaVuSans-Bold.ttf")));
    EXPECT_EQ(book.Format, QStringLiteral("TrueType"));
    EXPECT_TRUE(book.FileInfo.Opened);
    EXPECT_TRUE(book.Languages.contains(QStringLiteral("en")));
    EXPECT_FALSE(book.Languages.contains(QStringLiteral("ja")));
    ASSERT_FALSE(details.Names.empty());
    EXPECT_EQ(details.Names[0].Name, QStringLiteral("DejaVu Sans"));
    EXPECT_EQ(details.Names[0].Language, QStringLiteral("en"));
}

TEST(FontDetailsTest, GivesTheFamilysNamesInEveryLanguageAndTheJapaneseLanguages) {
    const FamilyDetails details = ReadFamilyDetails(QStringLiteral("IPAゴシック"));
    ASSERT_EQ(details.Faces.size(), 1u);
    bool english = false;
    bool japanese = false;
    for (const FamilyName& name : details.Names) {
        english = english || (name.Language == QLatin1String("en") && name.Name == "IPAGothic");
        japanese = japanese || (name.Language == QLatin1String("ja") &&
                                name.Name == QStringLiteral("IPAゴシック"));
    }
    EXPECT_TRUE(english);
    EXPECT_TRUE(japanese);
    EXPECT_TRUE(details.Faces[0].Languages.contains(QStringLiteral("ja")));
}

TEST(FontDetailsTest, UnknownFamiliesHaveNoFaces) {
    const FamilyDetails details = ReadFamilyDetails(QStringLiteral("No Such Family"));
    EXPECT_TRUE(details.Faces.empty());
    EXPECT_EQ(details.RegularFace, -1);
}

TEST(FontDetailsTest, FilesDamagedAfterFontconfigReadThemStillShowWhatFontconfigKnows) {
    testing_support::TestFontFolder fonts;
    fonts.Add(DejaVuDir + QStringLiteral("DejaVuSans.ttf"), QStringLiteral("sans.ttf"));
    fonts.Add(DejaVuDir + QStringLiteral("DejaVuSerif.ttf"), QStringLiteral("serif.ttf"));
    FcConfig* config = fonts.Config();
    // Overwritten with garbage, and cut short, after the font list was built.
    testing_support::WriteBytes(fonts.File(QStringLiteral("sans.ttf")), QByteArray(3000, '\x7f'));
    const QByteArray serif = testing_support::ReadBytes(fonts.File(QStringLiteral("serif.ttf")));
    testing_support::WriteBytes(fonts.File(QStringLiteral("serif.ttf")), serif.left(600));

    const FamilyDetails sans = ReadFamilyDetails(QStringLiteral("DejaVu Sans"), config);
    ASSERT_EQ(sans.Faces.size(), 1u);
    EXPECT_EQ(sans.Faces[0].Style, QStringLiteral("Book"));
    EXPECT_EQ(sans.Faces[0].Format, QStringLiteral("TrueType"));
    EXPECT_FALSE(sans.Faces[0].Languages.isEmpty());
    EXPECT_FALSE(sans.Faces[0].FileInfo.Opened);
    EXPECT_FALSE(sans.Faces[0].FileInfo.Error.isEmpty());

    const FamilyDetails cut = ReadFamilyDetails(QStringLiteral("DejaVu Serif"), config);
    ASSERT_EQ(cut.Faces.size(), 1u);
    EXPECT_TRUE(cut.Faces[0].FileInfo.Opened || !cut.Faces[0].FileInfo.Error.isEmpty());
    // The current configuration was not touched.
    EXPECT_EQ(ReadFamilyDetails(QStringLiteral("DejaVu Serif")).Faces.size(), 2u);
}

} // namespace
