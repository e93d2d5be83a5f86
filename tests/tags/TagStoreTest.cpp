// The tag list and the tag files: counts, membership, encodings kept byte for byte, renames
// and removals, and names that must never reach outside the tags folder.
#include "TagFixture.h"

#include "platform/Exceptions.h"
#include "platform/TextCodec.h"
#include "platform/TextFileList.h"
#include "tests/support/TestSupport.h"

#include <QDir>
#include <QFileInfo>
#include <sys/stat.h>

using namespace tag_test;
using platform::TextEncoding;
using platform::TextFormat;

namespace {

QByteArray Encoded(const QStringList& lines, const TextFormat& format) {
    QString text;
    for (const QString& line : lines)
        text += line + QStringLiteral("\r\n");
    return *platform::EncodeText(text, format);
}

// Spelled out: the catalogue's own constants may not be made yet while these are.
const QString Trash = QStringLiteral("ゴミ箱");
const QString Favorites = QStringLiteral("お気に入り");

ino_t Inode(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

TEST_F(TagTest, FreshStartHasTheFixedEntriesOnly) {
    Create();
    EXPECT_TRUE(Pool().TagList.empty());
    Pool().LoadTags({});
    ASSERT_EQ(Pool().TagList.size(), 3u);
    const TFontTag& trash = Pool().TagList[0];
    EXPECT_EQ(trash.Name, "ゴミ箱");
    EXPECT_EQ(trash.Hint, "ゴミ箱にあるフォントはリストに表示されません");
    EXPECT_EQ(trash.ImageIndex, 3);
    const TFontTag& favorites = Pool().TagList[1];
    EXPECT_EQ(favorites.Name, "お気に入り");
    EXPECT_EQ(favorites.Hint, "お気に入りにあるフォントは強調表示されます");
    EXPECT_EQ(favorites.ImageIndex, 2);
    const TFontTag& separator = Pool().TagList[2];
    EXPECT_EQ(separator.Name, "/-/");
    EXPECT_EQ(separator.Hint, "");
    EXPECT_EQ(separator.ImageIndex, -1);
    EXPECT_EQ(Counts(), (QStringList{"ゴミ箱=0", "お気に入り=0", "/-/=0"}));
    EXPECT_TRUE(Pool().SaveTagNames().isEmpty());
}

TEST_F(TagTest, LoadTagsCountsLinesAndTakesUserNamesVerbatim) {
    Create();
    WriteTag(Trash, "A\r\nB\r\n");
    WriteTag(QStringLiteral("work"), "A\r\n\r\nC"); // the empty line counts, no final break
    const QStringList names{"work", "empty", "work", "", "ゴミ箱"};
    Pool().LoadTags(names);
    EXPECT_EQ(Counts(), (QStringList{"ゴミ箱=2", "お気に入り=0", "/-/=0", "work=3", "empty=0",
                                     "work=3", "=0", "ゴミ箱=2"}));
    EXPECT_EQ(Pool().TagList[3].Hint, "work");
    EXPECT_EQ(Pool().TagList[3].ImageIndex, -1);
    // A user tag that took a reserved name is still a user tag by its position, but the
    // saved list leaves every reserved name out.
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"work", "empty", "work", ""}));
    EXPECT_EQ(Pool().FindTag(QStringLiteral("work")), 3);
    EXPECT_EQ(Pool().FindTag(QStringLiteral("Work")), -1);
    EXPECT_TRUE(Pool().TagExists(QStringLiteral("empty")));
    EXPECT_FALSE(Pool().TagExists(QStringLiteral("EMPTY")));
}

TEST_F(TagTest, LoadTagFileFillsTheListOnlyWhenTheFileExists) {
    Create();
    platform::TextFileList list;
    list.Strings = QStringList{"kept"};
    EXPECT_FALSE(Pool().LoadTagFile(QStringLiteral("none"), list));
    EXPECT_EQ(list.Strings, QStringList{"kept"});
    WriteTag(QStringLiteral("none"), "X\nY\n");
    EXPECT_TRUE(Pool().LoadTagFile(QStringLiteral("none"), list));
    EXPECT_EQ(list.Strings, (QStringList{"X", "Y"}));
}

TEST_F(TagTest, AddingFontsCreatesAndExtendsTheFileOnce) {
    Create();
    Pool().LoadTags({QStringLiteral("work")});

    EXPECT_TRUE(Pool().AddFontToTag(QStringLiteral("work"), DejaVu));
    // A new file: UTF-8 without a mark, CR LF after every line.
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\n");
    EXPECT_TRUE(Pool().AddFontToTag(QStringLiteral("work"), Gothic));
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\nIPAGothic\r\n");
    EXPECT_EQ(Pool().TagList[3].FontCount, 2);

    // Listed already, in any letter case or under another of the family's names: the file
    // keeps its bytes, and is not even written (a save would replace the file's inode).
    const ino_t written = Inode(TagPath(QStringLiteral("work")));
    EXPECT_FALSE(Pool().AddFontToTag(QStringLiteral("work"), DejaVu));
    EXPECT_FALSE(Pool().AddFontToTag(QStringLiteral("work"), QStringLiteral("dejavu SANS")));
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\nIPAGothic\r\n");
    EXPECT_EQ(Inode(TagPath(QStringLiteral("work"))), written);

    WriteTag(Favorites, Encoded({"IPAゴシック"}, {TextEncoding::Utf8, false}));
    EXPECT_FALSE(Pool().AddFontToTag(Favorites, Gothic));
    EXPECT_EQ(Pool().TagList[1].FontCount, 1);

    // A tag that is not in the list still gets its file; no entry changes.
    EXPECT_TRUE(Pool().AddFontToTag(QStringLiteral("elsewhere"), Serif));
    EXPECT_EQ(TagBytes(QStringLiteral("elsewhere")), "DejaVu Serif\r\n");
    EXPECT_EQ(Counts(), (QStringList{"ゴミ箱=0", "お気に入り=1", "/-/=0", "work=2"}));
}

TEST_F(TagTest, AddingRefreshesACountThatTheFileChangedBehindOurBack) {
    Create();
    Pool().LoadTags({QStringLiteral("work")});
    WriteTag(QStringLiteral("work"), "DejaVu Sans\r\nA\r\nB\r\n");
    EXPECT_FALSE(Pool().AddFontToTag(QStringLiteral("work"), DejaVu));
    EXPECT_EQ(Pool().TagList[3].FontCount, 3);
}

TEST_F(TagTest, FilesKeepTheirEncodingMarkAndBytesWhenAFontIsAdded) {
    Create();
    Pool().LoadTags({});
    const QStringList lines{"ＭＳ ゴシック", "", "メイリオ"};
    const TextFormat formats[] = {{TextEncoding::Utf8, true},
                                  {TextEncoding::Utf8, false},
                                  {TextEncoding::Utf16LE, true},
                                  {TextEncoding::Utf16BE, true},
                                  {TextEncoding::Cp932, false}};
    for (const TextFormat& format : formats) {
        SCOPED_TRACE(int(format.Encoding) * 2 + format.ByteOrderMark);
        const QByteArray original = Encoded(lines, format);
        WriteTag(Favorites, original);
        Pool().LoadTags({});
        EXPECT_EQ(Pool().TagList[1].FontCount, 3); // the empty line counts

        EXPECT_TRUE(Pool().AddFontToTag(Favorites, Gothic));
        const QByteArray added = TagBytes(Favorites);
        EXPECT_TRUE(added.startsWith(original));
        EXPECT_EQ(added, Encoded(lines + QStringList{Gothic}, format));
        EXPECT_EQ(Pool().TagList[1].FontCount, 4);
    }
}

TEST_F(TagTest, ANameTheLegacyCodePageCannotHoldMovesTheFileToMarkedUtf8) {
    Create();
    Pool().LoadTags({});
    const QStringList lines{"ＭＳ ゴシック", "メイリオ"};
    WriteTag(Favorites, Encoded(lines, {TextEncoding::Cp932, false}));

    EXPECT_TRUE(Pool().AddFontToTag(Favorites, Hangul));
    // Nothing replaced, nothing lost: every name reads back exactly.
    EXPECT_EQ(TagBytes(Favorites),
              Encoded(lines + QStringList{Hangul}, {TextEncoding::Utf8, true}));
    platform::TextFileList list;
    ASSERT_TRUE(Pool().LoadTagFile(Favorites, list));
    EXPECT_EQ(list.Strings, lines + QStringList{Hangul});
    EXPECT_FALSE(Pool().AddFontToTag(Favorites, Hangul));
    EXPECT_EQ(Pool().TagList[1].FontCount, 3);
}

TEST_F(TagTest, AFileThatCannotBeReadAsTextIsNeverRewritten) {
    Create();
    Pool().LoadTags({});
    // Neither UTF-8 nor CP932: rewriting it would put replacement characters in for good.
    const QByteArray garbage("Arial\r\n\x85\xFF\xFE\x80\r\n", 11);
    WriteTag(Favorites, garbage);
    Pool().LoadTags({});
    const int count = Pool().TagList[1].FontCount;
    EXPECT_THROW(Pool().AddFontToTag(Favorites, DejaVu), platform::EFileError);
    EXPECT_EQ(TagBytes(Favorites), garbage);
    EXPECT_EQ(Pool().TagList[1].FontCount, count);
}

TEST_F(TagTest, AddingAndRemovingUserTags) {
    Create();
    WriteTag(QStringLiteral("b"), "DejaVu Sans\r\n");
    Pool().LoadTags({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Pool().AddTag(QStringLiteral("d"));
    EXPECT_EQ(Pool().TagList.back().Name, "d");
    EXPECT_EQ(Pool().TagList.back().Hint, "d");
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("d")))); // the first font makes it

    // With a file; the name handed in is the entry's own, which the removal erases.
    Pool().RemoveTag(Pool().TagList[4].Name);
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("b"))));
    Pool().RemoveTag(QStringLiteral("a")); // without one
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"c", "d"}));
    EXPECT_EQ(QDir(TagDir()).entryList(QDir::Files), QStringList());
}

TEST_F(TagTest, RenamingMovesTheFileWhenThereIsOneAndNeverOverwrites) {
    Create();
    WriteTag(QStringLiteral("old"), "DejaVu Sans\r\nIPAGothic\r\n");
    WriteTag(QStringLiteral("taken"), "X\r\n");
    Pool().LoadTags({QStringLiteral("old"), QStringLiteral("unused"), QStringLiteral("other")});

    Pool().RenameTag(Pool().TagList[3].Name, QStringLiteral("new")); // the entry's own name
    EXPECT_EQ(Counts(),
              (QStringList{"ゴミ箱=0", "お気に入り=0", "/-/=0", "new=2", "unused=0", "other=0"}));
    EXPECT_EQ(Pool().TagList[3].Hint, "new");
    EXPECT_EQ(TagBytes(QStringLiteral("new")), "DejaVu Sans\r\nIPAGothic\r\n");
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("old"))));

    Pool().RenameTag(QStringLiteral("unused"), QStringLiteral("still unused"));
    EXPECT_EQ(Pool().TagList[4].Name, "still unused");
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("still unused"))));

    // A file of the new name exists already: both files stay, the entry is renamed anyway.
    Pool().RenameTag(QStringLiteral("new"), QStringLiteral("taken"));
    EXPECT_EQ(Pool().TagList[3].Name, "taken");
    EXPECT_EQ(TagBytes(QStringLiteral("taken")), "X\r\n");
    EXPECT_EQ(TagBytes(QStringLiteral("new")), "DejaVu Sans\r\nIPAGothic\r\n");

    // To the same name or to nothing: no change at all.
    Pool().RenameTag(QStringLiteral("other"), QStringLiteral("other"));
    Pool().RenameTag(QStringLiteral("other"), QString());
    EXPECT_EQ(Pool().TagList[5].Name, "other");
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"taken", "still unused", "other"}));
}

TEST_F(TagTest, HostileNamesFromTheSettingsFileNeverReachOutsideTheTagsFolder) {
    Create();
    const QString documents = QDir::homePath() + QStringLiteral("/Documents");
    const QString outside = documents + QStringLiteral("/evil.tag");
    testing_support::WriteBytes(outside, "A\r\nB\r\n");
    const QString escape = QStringLiteral("../../evil");
    const QString cut = QStringLiteral("../../evil.tag") + QChar(u'\0') + QStringLiteral("x");
    Pool().LoadTags({escape, cut, QStringLiteral("a/b")});
    EXPECT_EQ(Counts().mid(3), (QStringList{escape + "=0", cut + "=0", "a/b=0"}));
    EXPECT_TRUE(Pool().TagFilePath(escape).isEmpty());
    EXPECT_TRUE(Pool().TagFilePath(cut).isEmpty());
    EXPECT_TRUE(Pool().TagFilePath(TFontPool::SeparatorTagName).isEmpty());

    EXPECT_FALSE(Pool().AddFontToTag(escape, DejaVu));
    EXPECT_FALSE(Pool().AddFontToTag(cut, DejaVu));
    EXPECT_FALSE(Pool().AddFontToTag(QStringLiteral("a/b"), DejaVu));
    Pool().RenameTag(escape, QStringLiteral("safe"));
    Pool().RemoveTag(cut);
    EXPECT_EQ(testing_support::ReadBytes(outside), "A\r\nB\r\n");
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("safe"))));
    EXPECT_EQ(QDir(TagDir()).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(QDir(documents).entryList(QDir::Files), QStringList{"evil.tag"});
    // The user's list itself is kept: the names are only refused a file.
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"safe", "a/b"}));

    // Names that are odd but harmless stay inside the folder.
    for (const QString& name :
         {QStringLiteral(".."), QStringLiteral("."), QString(), QStringLiteral("..\\..\\x")}) {
        EXPECT_EQ(QFileInfo(Pool().TagFilePath(name)).absolutePath(), TagDir())
            << name.toStdString();
        EXPECT_TRUE(Pool().AddFontToTag(name, DejaVu)) << name.toStdString();
    }
    EXPECT_EQ(QDir(TagDir()).entryList(QDir::Files | QDir::Hidden).size(), 4);
}
