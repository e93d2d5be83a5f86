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
    return *platform::EncodeText(lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n"),
                                 format);
}

// A save replaces the file, and with it the inode.
ino_t Inode(const QString& path) {
    struct stat status {};
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 ? status.st_ino : 0;
}

} // namespace

TEST_F(TagTest, LoadTagsPutsTheFixedEntriesFirstAndTakesUserNamesVerbatim) {
    Create();
    Pool().LoadTags({});
    EXPECT_EQ(Counts(), (QStringList{"ゴミ箱=0", "お気に入り=0", "/-/=0"}));
    EXPECT_EQ(Pool().TagList[0].Hint, "ゴミ箱にあるフォントはリストに表示されません");
    EXPECT_EQ(Pool().TagList[1].Hint, "お気に入りにあるフォントは強調表示されます");
    EXPECT_EQ(Pool().TagList[0].ImageIndex, 3);
    EXPECT_EQ(Pool().TagList[1].ImageIndex, 2);
    EXPECT_EQ(Pool().TagList[2].ImageIndex, -1);
    EXPECT_TRUE(Pool().SaveTagNames().isEmpty());

    WriteTag(Trash, "A\r\nB\r\n");
    WriteTag(QStringLiteral("work"), "A\n\nC"); // an empty line counts; no final break
    Pool().LoadTags({"work", "empty", "work", "", "ゴミ箱"});
    EXPECT_EQ(Counts(), (QStringList{"ゴミ箱=2", "お気に入り=0", "/-/=0", "work=3", "empty=0",
                                     "work=3", "=0", "ゴミ箱=2"}));
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"work", "empty", "work", ""}));
    EXPECT_EQ(Pool().FindTag(QStringLiteral("Work")), -1); // names are compared exactly

    platform::TextFileList list;
    list.Strings = QStringList{"kept"};
    EXPECT_FALSE(Pool().LoadTagFile(QStringLiteral("empty"), list));
    EXPECT_EQ(list.Strings, QStringList{"kept"});
}

TEST_F(TagTest, AFontIsAddedOnceWhateverItsLetterCaseOrLanguage) {
    Create();
    Pool().LoadTags({QStringLiteral("work")});
    EXPECT_TRUE(Pool().AddFontToTag(QStringLiteral("work"), DejaVu));
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\n"); // UTF-8, no mark
    EXPECT_TRUE(Pool().AddFontToTag(QStringLiteral("work"), Serif));

    const ino_t written = Inode(TagPath(QStringLiteral("work")));
    EXPECT_FALSE(Pool().AddFontToTag(QStringLiteral("work"), QStringLiteral("dejavu SANS")));
    EXPECT_EQ(Inode(TagPath(QStringLiteral("work"))), written);
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\nDejaVu Serif\r\n");
    // A file written on a Japanese desktop names the family in Japanese.
    WriteTag(Favorites, "IPAゴシック\r\n");
    EXPECT_FALSE(Pool().AddFontToTag(Favorites, Gothic));
    EXPECT_EQ(Counts().mid(1), (QStringList{"お気に入り=1", "/-/=0", "work=2"}));
}

TEST_F(TagTest, FilesKeepTheirEncodingAndBytesAndNeverLoseAName) {
    Create();
    const QStringList lines{"ＭＳ ゴシック", "", "メイリオ"};
    for (const TextFormat& format :
         {TextFormat{TextEncoding::Utf8, true}, TextFormat{TextEncoding::Utf16LE, true},
          TextFormat{TextEncoding::Utf16BE, true}, TextFormat{TextEncoding::Cp932, false}}) {
        SCOPED_TRACE(static_cast<int>(format.Encoding));
        WriteTag(Favorites, Encoded(lines, format));
        Pool().LoadTags({});
        EXPECT_EQ(Pool().TagList[1].FontCount, 3);
        EXPECT_TRUE(Pool().AddFontToTag(Favorites, Gothic));
        EXPECT_EQ(TagBytes(Favorites), Encoded(lines + QStringList{Gothic}, format));
        EXPECT_EQ(Pool().TagList[1].FontCount, 4);
    }
    // A name the legacy code page cannot hold: the whole file moves to UTF-8 with a mark.
    WriteTag(Favorites, Encoded(lines, {TextEncoding::Cp932, false}));
    EXPECT_TRUE(Pool().AddFontToTag(Favorites, Hangul));
    EXPECT_EQ(TagBytes(Favorites),
              Encoded(lines + QStringList{Hangul}, {TextEncoding::Utf8, true}));
    EXPECT_FALSE(Pool().AddFontToTag(Favorites, Hangul));
}

TEST_F(TagTest, RenamingAndRemovingTouchOnlyFilesThatExist) {
    Create();
    WriteTag(QStringLiteral("old"), "DejaVu Sans\r\n");
    WriteTag(QStringLiteral("taken"), "X\r\n");
    Pool().LoadTags({"old", "unused", "other", "doomed"});
    WriteTag(QStringLiteral("doomed"), "Y\r\n");

    // The names handed in are the entries' own, which the operations change.
    Pool().RenameTag(Pool().TagList[3].Name, QStringLiteral("new"));
    EXPECT_EQ(TagBytes(QStringLiteral("new")), "DejaVu Sans\r\n");
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("old"))));
    Pool().RenameTag(QStringLiteral("unused"), QStringLiteral("still unused"));
    Pool().RenameTag(QStringLiteral("other"), QStringLiteral("other"));
    Pool().RenameTag(QStringLiteral("other"), QString());
    // A file of the new name exists already, listed or not: the rename is refused and changes
    // nothing, also for an entry without a file, which would show the other file's fonts.
    EXPECT_THROW(Pool().RenameTag(QStringLiteral("new"), QStringLiteral("taken")),
                 platform::EFileError);
    EXPECT_THROW(Pool().RenameTag(QStringLiteral("still unused"), QStringLiteral("taken")),
                 platform::EFileError);
    EXPECT_EQ(TagBytes(QStringLiteral("taken")), "X\r\n");
    EXPECT_EQ(TagBytes(QStringLiteral("new")), "DejaVu Sans\r\n");
    EXPECT_EQ(Counts().mid(3), (QStringList{"new=1", "still unused=0", "other=0", "doomed=0"}));
    EXPECT_EQ(Pool().TagList[3].Hint, "new");

    Pool().RemoveTag(Pool().TagList[5].Name); // "other" has no file; "doomed" keeps its own
    Pool().RemoveTag(QStringLiteral("taken"));
    Pool().AddTag(QStringLiteral("added")); // no file until its first font
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"new", "still unused", "doomed", "added"}));
    EXPECT_EQ(QDir(tagDir).entryList(QDir::Files), (QStringList{"doomed.tag", "new.tag"}));
}

// The list written at close when another writer saved its own meanwhile: the tags it added
// follow ours when their files exist; names without a file, the fixed entries, and tags
// removed or renamed away here do not come back.
TEST_F(TagTest, TheListSavedAtCloseKeepsTagsAnotherWriterAdded) {
    Create();
    Pool().LoadTags({"a", "b", "c"});
    WriteTag(QStringLiteral("b"), "X\r\n");
    WriteTag(QStringLiteral("c"), "Y\r\n");
    Pool().RemoveTag(QStringLiteral("b"));
    Pool().RenameTag(QStringLiteral("c"), QStringLiteral("d"));
    Pool().AddTag(QStringLiteral("e"));
    // The other writer's files, some under names dropped here.
    for (const QString& name : {QStringLiteral("x"), QStringLiteral("b"), QStringLiteral("c"),
                                QStringLiteral("z"), Trash})
        WriteTag(name, "DejaVu Sans\r\n");
    EXPECT_EQ(Pool().MergedTagNames({"x", "a", "ghost", "b", "c", "z", "x", Trash, "/-/"}),
              (QStringList{"a", "d", "e", "x", "z"}));
    // Made again here, a removed tag is ours again, in our order.
    Pool().AddTag(QStringLiteral("b"));
    EXPECT_EQ(Pool().MergedTagNames({"b", "x"}), (QStringList{"a", "d", "e", "b", "x"}));
}

TEST_F(TagTest, NamesFromTheSettingsFileNeverReachOutsideTheTagsFolder) {
    Create();
    const QString outside = tagDir + QStringLiteral("/../../evil.tag");
    testing_support::WriteBytes(outside, "A\r\n");
    const QString escape = QStringLiteral("../../evil");
    const QString cut = QStringLiteral("../../evil.tag") + QChar(u'\0') + QStringLiteral("x");
    Pool().LoadTags({escape, cut});
    EXPECT_EQ(Counts().mid(3), (QStringList{escape + "=0", cut + "=0"}));
    EXPECT_FALSE(Pool().AddFontToTag(escape, DejaVu));
    EXPECT_FALSE(Pool().AddFontToTag(cut, DejaVu));
    Pool().RenameTag(escape, QStringLiteral("safe"));
    Pool().RemoveTag(cut);
    EXPECT_EQ(testing_support::ReadBytes(outside), "A\r\n");
    EXPECT_EQ(QDir(tagDir).entryList(QDir::Files | QDir::Hidden), QStringList());
    EXPECT_EQ(Pool().SaveTagNames(), QStringList{"safe"}); // only the file is refused

    // Odd but harmless names stay inside the folder.
    for (const QString& name : {QStringLiteral(".."), QString(), QStringLiteral("..\\x")})
        EXPECT_EQ(QFileInfo(Pool().TagFilePath(name)).absolutePath(), tagDir);
}
