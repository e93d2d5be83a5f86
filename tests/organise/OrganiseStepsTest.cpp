// Organising steps and their undo: each step, however many fonts it names, is undone and redone
// whole, and leaves the tag files and the tag list byte for byte as they were; the bar, the
// hearts and the view follow.
#include "tests/tags/TagFixture.h"

#include "fonts/Panel.h"
#include "organise/OrganiseSteps.h"
#include "platform/Exceptions.h"
#include "platform/TextCodec.h"
#include "sampleview/FavouriteMarks.h"
#include "tests/support/TestSupport.h"

#include <QAction>
#include <QFileInfo>
#include <QMenu>
#include <sys/stat.h>

using namespace tag_test;

namespace {

class OrganiseTest : public TagTest {
protected:
    OrganiseSteps& Steps() const { return *Pool().findChild<OrganiseSteps*>(); }
    QStringList ViewNames() const {
        QStringList names;
        for (const TFontUnit* unit : Pool().ViewList)
            names.append(unit->Name);
        return names;
    }
    bool Shows(const QString& name) {
        Settle();
        return TileOf(name) != nullptr;
    }
};

QByteArray Utf16LEWithMark(const QString& text) {
    return *platform::EncodeText(text, {platform::TextEncoding::Utf16LE, true});
}

} // namespace

TEST_F(OrganiseTest, AGroupIsOneStepAndItsUndoPutsBackTheVeryBytes) {
    // A CP932 file with LF breaks: the group needs a name CP932 cannot hold, so the step
    // rewrites the file as UTF-8 with a mark; its undo brings back the original bytes.
    const QByteArray cp932 = *platform::EncodeCp932(QStringLiteral("IPAゴシック\nArial\n"));
    WriteTag(QStringLiteral("work"), cp932);
    Open({QStringLiteral("work")});
    // The tool menu's items follow the stack.
    auto* undo = window->findChild<QAction*>(QStringLiteral("UndoStep"));
    auto* redo = window->findChild<QAction*>(QStringLiteral("RedoStep"));
    ASSERT_TRUE(undo && redo && window->ToolMenu->actions().contains(undo));
    EXPECT_FALSE(undo->isEnabled());
    Steps().AddToTag(QStringLiteral("work"), {DejaVu, Hangul, Gothic});
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    const QByteArray grouped = TagBytes(QStringLiteral("work"));
    EXPECT_TRUE(grouped.startsWith("\xEF\xBB\xBF"));
    EXPECT_EQ(BarCaptions().last(), "work (4)");
    EXPECT_EQ(Steps().Stack()->count(), 1);
    undo->trigger();
    EXPECT_EQ(TagBytes(QStringLiteral("work")), cp932);
    EXPECT_EQ(BarCaptions().last(), "work (2)");
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_TRUE(redo->isEnabled());
    redo->trigger();
    EXPECT_EQ(TagBytes(QStringLiteral("work")), grouped);

    // Into ゴミ箱, where no file was: the font leaves the view, and the undo leaves no file
    // and brings the font back, in its place.
    const QStringList before = ViewNames();
    Steps().AddToTag(Trash, {Serif});
    EXPECT_FALSE(Shows(Serif));
    EXPECT_EQ(BarCaptions()[2], "ゴミ箱 (1)");
    Steps().Undo();
    EXPECT_FALSE(QFileInfo::exists(TagPath(Trash)));
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building && Shows(Serif); }));
    EXPECT_EQ(ViewNames(), before);
    EXPECT_EQ(BarCaptions()[2], "ゴミ箱 (0)");
    // Adding what is there already is no step.
    Steps().AddToTag(QStringLiteral("work"), {DejaVu});
    EXPECT_EQ(Steps().Stack()->count(), 2);
    EXPECT_EQ(Steps().Stack()->index(), 1);
}

TEST_F(OrganiseTest, ATakenOutFontLosesItsLineOnlyAndARestoredOneComesBack) {
    const QByteArray trash = Utf16LEWithMark(QStringLiteral("DejaVu Sans\r\nIPAゴシック\nSerif"));
    WriteTag(Trash, trash);
    Open();
    EXPECT_FALSE(Shows(Gothic));
    Steps().TakeOut(Trash, {Gothic}); // named in the file by its other name
    EXPECT_EQ(TagBytes(Trash), Utf16LEWithMark(QStringLiteral("DejaVu Sans\r\nSerif")));
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building && Shows(Gothic); }));
    EXPECT_EQ(ViewNames().indexOf(Gothic), 0) << ViewNames().join(u',').toStdString();
    Steps().Undo();
    EXPECT_EQ(TagBytes(Trash), trash);
    EXPECT_FALSE(Shows(Gothic));

    // In a tag's view, a font taken out leaves it.
    WriteTag(QStringLiteral("work"), "IPAGothic\r\nDejaVu Serif\r\n");
    Pool().LoadTags({QStringLiteral("work")});
    Pool().RebuildTagBar();
    Pool().RebuildView(QStringLiteral("work"));
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }));
    Steps().TakeOut(QStringLiteral("work"), {Serif});
    EXPECT_FALSE(Shows(Serif));
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "IPAGothic\r\n");
    EXPECT_EQ(BarCaptions().last(), "work (1)");
}

TEST_F(OrganiseTest, FavouriteTogglesFollowTheHeartAndUndoToNoFileAtAll) {
    Open();
    Steps().ToggleFavourite({DejaVu});
    EXPECT_TRUE(FavouriteMarks::IsMarked(TileOf(DejaVu)));
    EXPECT_EQ(TagBytes(Favorites), "DejaVu Sans\r\n");
    Steps().ToggleFavourite({DejaVu, Serif}); // one of them missing: both become favourites
    EXPECT_EQ(TagBytes(Favorites), "DejaVu Sans\r\nDejaVu Serif\r\n");
    Steps().ToggleFavourite({DejaVu, Serif});
    EXPECT_FALSE(FavouriteMarks::IsMarked(TileOf(DejaVu)));
    EXPECT_EQ(TagBytes(Favorites), "");
    for (int i = 0; i < 3; ++i)
        Steps().Undo();
    EXPECT_FALSE(QFileInfo::exists(TagPath(Favorites)));
    EXPECT_FALSE(FavouriteMarks::IsMarked(TileOf(DejaVu)));
    EXPECT_FALSE(Steps().Stack()->canUndo());
}

TEST_F(OrganiseTest, TagsDeletedRenamedOrMadeComeBackWithTheirFilesAndPlaces) {
    const QByteArray bytes("\xEF\xBB\xBFIPAGothic\nDejaVu Sans\r\n");
    WriteTag(QStringLiteral("b"), bytes);
    Open({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    Steps().DeleteTag(QStringLiteral("b"));
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("b"))));
    EXPECT_EQ(Pool().MergedTagNames({"a", "b", "c"}), (QStringList{"a", "c"}));
    Steps().Undo();
    EXPECT_EQ(TagBytes(QStringLiteral("b")), bytes);
    EXPECT_EQ(BarCaptions().mid(5), (QStringList{"a (0)", "b (2)", "c (0)"}));
    EXPECT_EQ(Pool().MergedTagNames({"a", "b", "c"}), (QStringList{"a", "b", "c"}));

    Steps().RenameTag(QStringLiteral("b"), QStringLiteral("z"));
    EXPECT_EQ(TagBytes(QStringLiteral("z")), bytes);
    Steps().CreateTag(QStringLiteral("new"));
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"a", "z", "c", "new"}));
    Steps().Undo();
    Steps().Undo();
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"a", "b", "c"}));
    EXPECT_EQ(TagBytes(QStringLiteral("b")), bytes);
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("z"))));
    EXPECT_EQ(Pool().MergedTagNames({"a", "b", "c"}), (QStringList{"a", "b", "c"}));
}

TEST_F(OrganiseTest, AnUndoNeverWritesOverWhatChangedSinceAndLeavesTheStepInPlace) {
    Open({QStringLiteral("work")});
    Steps().AddToTag(QStringLiteral("work"), {DejaVu});
    // A hand edit since the step is kept; the step can be undone once the file is back.
    WriteTag(QStringLiteral("work"), "DejaVu Sans\r\nEdited\r\n");
    EXPECT_THROW(Steps().Undo(), platform::EFileError);
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\nEdited\r\n");
    EXPECT_TRUE(Steps().Stack()->canUndo());
    WriteTag(QStringLiteral("work"), "DejaVu Sans\r\n");
    Steps().Undo();
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("work"))));
    Steps().Redo();
    // Something else now stands where the file was: it is never written through.
    const QString path = TagPath(QStringLiteral("work"));
    ASSERT_TRUE(QFile::remove(path));
    ASSERT_EQ(::mkfifo(QFile::encodeName(path).constData(), 0600), 0);
    EXPECT_THROW(Steps().Undo(), platform::EFileError);
    EXPECT_TRUE(QFileInfo(path).isFile() == false && QFileInfo::exists(path));
    EXPECT_TRUE(Steps().Stack()->canUndo());
    EXPECT_FALSE(Steps().Stack()->canRedo());
    // A refused file is never part of a new step either.
    EXPECT_THROW(Steps().TakeOut(QStringLiteral("work"), {DejaVu}), platform::EFileError);
    EXPECT_EQ(Steps().Stack()->count(), 1);
    QFile::remove(path);
}
