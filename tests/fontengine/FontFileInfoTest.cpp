// What FreeType reads from a font file's name table, and how damaged files are survived.
#include "fontengine/FontFileInfo.h"

#include "tests/support/TestSupport.h"

#include <QFile>
#include <gtest/gtest.h>

using platform::DecodeNameString;
using platform::ReadFontFile;

namespace {

const QString MarkupNamesFont =
    QStringLiteral(GLYPHORAMA_SOURCE_DIR "/tests/fonts/data/markup-names.ttf");

TEST(FontNameStringTest, DecodesEachPlatformsEncoding) {
    // Windows and Unicode platforms: UTF-16BE, characters beyond the BMP included.
    const QByteArray utf16("\x00"
                           "A"
                           "\x30\x42"
                           "\xD8\x3D\xDE\x00",
                           8);
    EXPECT_EQ(DecodeNameString(3, 1, utf16), QStringLiteral("Aあ\U0001F600"));
    EXPECT_EQ(DecodeNameString(0, 3, utf16), QStringLiteral("Aあ\U0001F600"));
    // A damaged length: the half character at the end is dropped, nothing is read past it.
    EXPECT_EQ(DecodeNameString(3, 1,
                               QByteArray("\x00"
                                          "A"
                                          "\x30",
                                          3)),
              QStringLiteral("A"));
    // Macintosh Roman: its upper half is not Latin-1.
    EXPECT_EQ(DecodeNameString(1, 0, QByteArray("Caf\x8E \xA9 \xD0", 8)),
              QStringLiteral("Café © –"));
    // Encodings we do not read give a null string, so another record is taken instead.
    EXPECT_TRUE(DecodeNameString(3, 2, QByteArray("abc")).isNull());
    EXPECT_TRUE(DecodeNameString(2, 0, QByteArray("abc")).isNull());
}

// Japanese Macintosh records are the only names some older Japanese fonts have.
TEST(FontNameStringTest, ReadsJapaneseMacintoshNames) {
    const QByteArray gothic("\x83\x53\x83\x56\x83\x62\x83\x4E", 8); // ゴシック
    EXPECT_EQ(DecodeNameString(1, 1, "IPA" + gothic), QStringLiteral("IPAゴシック"));
    // ASCII stays ASCII: no yen sign for a backslash, no overline for a tilde.
    EXPECT_EQ(DecodeNameString(1, 1, QByteArray("a\\b~")), QStringLiteral("a\\b~"));
    // A byte CP932 lacks (Apple put its own signs there) leaves the rest of the name readable.
    EXPECT_EQ(DecodeNameString(1, 1, gothic + "\xFD"), QStringLiteral("ゴシック\uFFFD"));
}

TEST(FontFileInfoTest, ReadsVersionCopyrightLicenceAndGlyphCount) {
    const auto dejaVu = ReadFontFile(testing_support::DejaVuSansFile, 0, QStringLiteral("en"));
    ASSERT_TRUE(dejaVu.Opened) << dejaVu.Error.toStdString();
    EXPECT_EQ(dejaVu.Format, QStringLiteral("TrueType"));
    EXPECT_GT(dejaVu.GlyphCount, 3000);
    EXPECT_TRUE(dejaVu.Version.startsWith(QStringLiteral("Version ")))
        << dejaVu.Version.toStdString();
    EXPECT_TRUE(dejaVu.Copyright.contains(QStringLiteral("Bitstream")));
    EXPECT_EQ(dejaVu.FullName, QStringLiteral("DejaVu Sans"));

    // The user's language is preferred where the font has it.
    const auto japanese = ReadFontFile(testing_support::IpaGothicFile, 0, QStringLiteral("ja"));
    const auto english = ReadFontFile(testing_support::IpaGothicFile, 0, QStringLiteral("en"));
    ASSERT_TRUE(japanese.Opened);
    EXPECT_EQ(japanese.FullName, QStringLiteral("IPAゴシック"));
    EXPECT_EQ(english.FullName, QStringLiteral("IPAGothic"));
    EXPECT_FALSE(english.Licence.isEmpty());
}

TEST(FontFileInfoTest, MarkupInNameStringsIsKeptAsItIs) {
    const auto info = ReadFontFile(MarkupNamesFont, 0);
    ASSERT_TRUE(info.Opened);
    EXPECT_EQ(info.Copyright,
              QStringLiteral("<b>x</b>&amp; <a href='http://example.invalid/'>link</a>"));
    EXPECT_EQ(info.Licence, QStringLiteral("<script>alert(1)</script> & <b>bold</b>\nsecond line"));
    EXPECT_EQ(info.LicenceUrl, QStringLiteral("http://example.invalid/<licence>"));
    EXPECT_EQ(info.GlyphCount, 4);
}

TEST(FontFileInfoTest, DamagedOrMissingFilesReportAnErrorInsteadOfCrashing) {
    testing_support::TempFolder folder;
    QFile real(testing_support::DejaVuSansFile);
    ASSERT_TRUE(real.open(QIODevice::ReadOnly));
    const QByteArray bytes = real.readAll();
    testing_support::WriteBytes(folder.file(QStringLiteral("garbage.ttf")),
                                QByteArray(5000, '\xff'));
    testing_support::WriteBytes(folder.file(QStringLiteral("empty.ttf")), QByteArray());
    for (const QString& name : {QStringLiteral("garbage.ttf"), QStringLiteral("empty.ttf"),
                                QStringLiteral("missing.ttf")}) {
        const auto info = ReadFontFile(folder.file(name), 0);
        EXPECT_FALSE(info.Opened) << name.toStdString();
        EXPECT_FALSE(info.Error.isEmpty()) << name.toStdString();
        EXPECT_EQ(info.GlyphCount, -1);
    }
    // Cut at several places: whatever opens gives what could be read.
    for (const int size : {12, 200, 1000, 20000, int(bytes.size()) - 1000}) {
        const QString path = folder.file(QStringLiteral("cut-%1.ttf").arg(size));
        testing_support::WriteBytes(path, bytes.left(size));
        const auto info = ReadFontFile(path, 0);
        EXPECT_TRUE(info.Opened || !info.Error.isEmpty()) << size;
    }
    EXPECT_FALSE(
        ReadFontFile(testing_support::DejaVuSansFile, 3).Opened); // no such face in the file
}

} // namespace
