// Text files kept in the encoding, mark and line break they came with, saved atomically, and
// never rewritten with characters they cannot hold.
#include "platform/TextFileList.h"

#include "platform/Exceptions.h"
#include "platform/FileAccess.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using platform::EFileError;
using platform::TextEncoding;
using platform::TextFileList;
using platform::TextFormat;
using testing_support::ReadBytes;
using testing_support::WriteBytes;

namespace {

const QStringList Names{QStringLiteral("Arial"), QStringLiteral("ＭＳ ゴシック"), QString(),
                        QStringLiteral("メイリオ")};

struct StoredFile {
    const char* label;
    TextFormat format;
    const char* lineBreak;
};

class TextFileRoundTrip : public testing::TestWithParam<StoredFile> {};

QByteArray Encoded(const QStringList& lines, const TextFormat& format, const QString& lineBreak) {
    QString text;
    for (const QString& line : lines)
        text += line + lineBreak;
    return *platform::EncodeText(text, format);
}

} // namespace

TEST_P(TextFileRoundTrip, ReadAndSavedUnchangedKeepsEveryByte) {
    const StoredFile stored = GetParam();
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("お気に入り.tag"));
    const QByteArray original = Encoded(Names, stored.format, stored.lineBreak);
    WriteBytes(path, original);

    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Strings, Names);
    EXPECT_EQ(list.Count(), 4); // the empty line counts
    EXPECT_EQ(list.Format, stored.format);
    EXPECT_EQ(list.LineBreak, QString::fromLatin1(stored.lineBreak));

    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), original);

    // What is appended goes in the same encoding, mark and line break.
    list.Strings.append(QStringLiteral("游ゴシック"));
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path),
              Encoded(Names + QStringList{"游ゴシック"}, stored.format, stored.lineBreak));
}

INSTANTIATE_TEST_SUITE_P(
    Formats, TextFileRoundTrip,
    testing::Values(StoredFile{"Utf8", {TextEncoding::Utf8, false}, "\r\n"},
                    StoredFile{"Utf8Mark", {TextEncoding::Utf8, true}, "\r\n"},
                    StoredFile{"Utf16LE", {TextEncoding::Utf16LE, true}, "\r\n"},
                    StoredFile{"Utf16BE", {TextEncoding::Utf16BE, true}, "\r\n"},
                    StoredFile{"Cp932", {TextEncoding::Cp932, false}, "\r\n"},
                    StoredFile{"Utf8LineFeeds", {TextEncoding::Utf8, false}, "\n"},
                    StoredFile{"Cp932LineFeeds", {TextEncoding::Cp932, false}, "\n"}),
    [](const testing::TestParamInfo<StoredFile>& info) { return info.param.label; });

TEST(TextFileList, LinesEndAtAnyBreakAndTheFirstBreakIsKept) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("mixed.tag"));
    WriteBytes(path, "a\nb\r\nc\rd");

    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Strings, (QStringList{"a", "b", "c", "d"}));
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), QByteArray("a\nb\nc\nd\n"));

    WriteBytes(path, "");
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ(list.LineBreak, QStringLiteral("\r\n"));
}

TEST(TextFileList, NewListIsUtf8WithoutMarkAndCrLf) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("新しいタグ.tag"));
    TextFileList list;
    list.Strings = {QStringLiteral("IPAゴシック"), QStringLiteral("DejaVu Sans")};
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), QStringLiteral("IPAゴシック\r\nDejaVu Sans\r\n").toUtf8());
}

TEST(TextFileList, MissingFileLeavesTheListAsItWas) {
    testing_support::TempFolder temp;
    TextFileList list;
    list.Strings = {QStringLiteral("kept")};
    list.Format = {TextEncoding::Utf16BE, true};
    EXPECT_FALSE(list.LoadFromFile(temp.file(QStringLiteral("none.tag"))));
    EXPECT_EQ(list.Strings, QStringList{"kept"});
    EXPECT_EQ(list.Format, (TextFormat{TextEncoding::Utf16BE, true}));

    // Something that exists but is no readable file is an error, not an empty tag.
    EXPECT_THROW(list.LoadFromFile(temp.path()), EFileError);
}

TEST(TextFileList, NameTheCodePageCannotHoldIsRefusedAndTheFileKept) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("sjis.tag"));
    const QByteArray original("\x83\x81\x83\x43\x83\x8A\x83\x49\r\n", 10); // メイリオ
    WriteBytes(path, original);

    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    ASSERT_EQ(list.Format.Encoding, TextEncoding::Cp932);
    const QString korean = QStringLiteral("맑은 고딕");
    EXPECT_FALSE(list.CanHold(korean));
    EXPECT_TRUE(list.CanHold(QStringLiteral("ＭＳ 明朝")));
    list.Strings.append(korean);
    EXPECT_THROW(list.SaveToFile(path), EFileError);
    EXPECT_EQ(ReadBytes(path), original);

    // A line break inside a name would turn it into two lines on the next read.
    EXPECT_FALSE(list.CanHold(QStringLiteral("a\nb")));
    list.Strings = {QStringLiteral("a\nb")};
    EXPECT_THROW(list.SaveToFile(path), EFileError);
    EXPECT_EQ(ReadBytes(path), original);
}

TEST(TextFileList, FileWithUndecodableBytesIsNeverRewritten) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("broken.tag"));
    const QByteArray original("Arial\r\nbad \x80 name\r\n", 20);
    WriteBytes(path, original);

    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Strings.value(0), QStringLiteral("Arial"));
    EXPECT_EQ(list.IndexOf(QStringLiteral("arial")), 0);
    list.Strings.append(QStringLiteral("Verdana"));
    EXPECT_THROW(list.SaveToFile(path), EFileError);
    EXPECT_EQ(ReadBytes(path), original);
}

// CP932 has codes with twins (NEC and IBM rows): iconv reads 0x879A as U+2235 and writes it
// back as 0x81E6. A drop appends a name; it must not change the lines already there.
TEST(TextFileList, UntouchedLinesOfACp932FileKeepTheirBytes) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("sjis.tag"));
    const QByteArray original("\x87\x9A\x83\x81\x83\x43\x83\x8A\x83\x49\r\n\xED\x40\r\n", 16);
    WriteBytes(path, original);
    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    ASSERT_EQ(list.Format.Encoding, TextEncoding::Cp932);
    EXPECT_EQ(list.Strings.value(0), QStringLiteral("∵メイリオ"));
    list.Strings.append(QStringLiteral("ＭＳ 明朝"));
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path), original + *platform::EncodeCp932(QStringLiteral("ＭＳ 明朝\r\n")));
}

TEST(TextFileList, Utf16WithoutMarkKeepsItsEncoding) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("utf16.tag"));
    const TextFormat noMark{TextEncoding::Utf16LE, false};
    WriteBytes(path, *platform::EncodeText(QStringLiteral("Arial\nメイリオ\n"), noMark));
    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    EXPECT_EQ(list.Strings, (QStringList{"Arial", "メイリオ"}));
    list.Strings.append(QStringLiteral("IPAゴシック"));
    list.SaveToFile(path);
    EXPECT_EQ(ReadBytes(path),
              *platform::EncodeText(QStringLiteral("Arial\nメイリオ\nIPAゴシック\n"), noMark));
}

TEST(TextFileList, FilesThatAreNotReadAreAnErrorAtOnce) {
    testing_support::TempFolder temp;
    const QString fifo = temp.file(QStringLiteral("fifo.tag"));
    testing_support::MakeFifo(fifo);
    const QString zero = temp.file(QStringLiteral("zero.tag"));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), zero));
    const QString huge = temp.file(QStringLiteral("huge.tag"));
    WriteBytes(huge, QByteArray(platform::MaxTagFileSize + 1, 'a'));
    for (const QString& path : {fifo, zero, huge}) {
        TextFileList list;
        list.Strings = {QStringLiteral("kept")};
        EXPECT_THROW(list.LoadFromFile(path), EFileError) << path.toStdString();
        EXPECT_EQ(list.Strings, QStringList{"kept"});
    }
}

TEST(TextFileList, AFullDiskRaisesAndKeepsTheFile) {
    testing_support::TempFolder temp;
    const QString path = temp.file(QStringLiteral("お気に入り.tag"));
    const QByteArray original = "Arial\r\n";
    WriteBytes(path, original);
    TextFileList list;
    ASSERT_TRUE(list.LoadFromFile(path));
    list.Strings.append(QStringLiteral("DejaVu Sans"));
    {
        const testing_support::FileSizeLimit full(4);
        try {
            list.SaveToFile(path);
            FAIL() << "the save reported success";
        } catch (const EFileError& error) {
            EXPECT_EQ(error.Message(), path + QStringLiteral(" に書き込めません"));
        }
    }
    EXPECT_EQ(ReadBytes(path), original);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"お気に入り.tag"});
}

TEST(TextFileList, FailedSaveRaisesWithThePath) {
    testing_support::TempFolder temp;
    TextFileList list;
    list.Strings = {QStringLiteral("Arial")};
    const QString inMissingFolder = temp.file(QStringLiteral("missing/a.tag"));
    try {
        list.SaveToFile(inMissingFolder);
        FAIL() << "saved into a missing folder";
    } catch (const EFileError& error) {
        EXPECT_EQ(error.Message(), inMissingFolder + QStringLiteral(" に書き込めません"));
    }
    const QString regularFile = temp.file(QStringLiteral("file"));
    WriteBytes(regularFile, "x");
    EXPECT_THROW(list.SaveToFile(regularFile + QStringLiteral("/a.tag")), EFileError);
    EXPECT_EQ(QDir(temp.path()).entryList(QDir::Files), QStringList{"file"}); // no leftovers
}

TEST(TextFileList, IndexOfIgnoresLetterCase) {
    TextFileList list;
    list.Strings = {QStringLiteral("Arial"), QStringLiteral("ＭＳ ゴシック"),
                    QStringLiteral("メイリオ"), QStringLiteral("ARIAL")};
    EXPECT_EQ(list.IndexOf(QStringLiteral("aRIAL")), 0);
    EXPECT_EQ(list.IndexOf(QStringLiteral("ｍｓ ゴシック")), 1); // full-width letters too
    EXPECT_EQ(list.IndexOf(QStringLiteral("メイリオ")), 2);
    EXPECT_EQ(list.IndexOf(QStringLiteral("ﾒｲﾘｵ")), -1); // half-width kana are other letters
    EXPECT_EQ(list.IndexOf(QStringLiteral("Arial ")), -1);
    EXPECT_EQ(list.IndexOf(QString()), -1);
}
