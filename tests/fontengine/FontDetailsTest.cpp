// A family's faces and names from fontconfig, and what each face's file says.
#include "fontengine/FontDetails.h"
#include "fontengine/OpenFaceCache.h"

#include "tests/support/TestFontFolder.h"
#include "tests/support/TestSupport.h"

#include <QFile>
#include <fontconfig/fontconfig.h>
#include <gtest/gtest.h>

namespace {

const QString DejaVuDir = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
const QString MarkupFont =
    QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fonts/data/markup-names.ttf");
const QString MarkupFamily = QStringLiteral("Markup <b>x</b>&amp;");

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

// A FIFO, a device or a folder where a font file was: each reader of font files answers at
// once that there is nothing to read, where opening the path would wait for a writer for ever.
TEST(FontDetailsTest, AFifoOrDeviceInPlaceOfAFontFileGivesAnErrorAtOnce) {
    testing_support::TestFontFolder fonts;
    fonts.Add(MarkupFont, QStringLiteral("markup.ttf"));
    FcConfig* config = fonts.Config();
    const QString fifo = fonts.File(QStringLiteral("markup.ttf"));
    // A face read while the file was a font, then let go of.
    const auto earlier = FontFace::Open(fifo, 0);
    ASSERT_TRUE(earlier);
    EXPECT_EQ(earlier->Shape(QStringLiteral("AA")).missing, 0);
    earlier->ReleaseMemory();
    ASSERT_TRUE(QFile::remove(fifo));
    testing_support::MakeFifo(fifo);
    testing_support::TempFolder other;
    const QString zero = other.file(QStringLiteral("zero.ttf"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));

    testing_support::FifoWatchdog watchdog(fifo);
    const FamilyDetails details = ReadFamilyDetails(MarkupFamily, config);
    ASSERT_EQ(details.Faces.size(), 1u);
    EXPECT_FALSE(details.Faces[0].FileInfo.Opened);
    EXPECT_TRUE(details.Faces[0].FileInfo.Error.contains(fifo))
        << details.Faces[0].FileInfo.Error.toStdString();
    for (const QString& path : {fifo, zero, other.path()}) {
        EXPECT_EQ(FontFace::Open(path, 0), nullptr) << path.toStdString();
        const platform::FontFileInfo info = platform::ReadFontFile(path, 0);
        EXPECT_FALSE(info.Opened);
        EXPECT_FALSE(info.Error.isEmpty());
    }
    OpenFaceCache cache;
    EXPECT_EQ(cache.Face(fifo, 0), nullptr);
    // The face read before has every character missing now: nothing is read from the FIFO.
    EXPECT_EQ(earlier->Shape(QStringLiteral("AA")).missing, 2);
    EXPECT_TRUE(earlier->Lost());
    EXPECT_FALSE(watchdog.Fired()) << "a reader blocked on the FIFO";
}

} // namespace
