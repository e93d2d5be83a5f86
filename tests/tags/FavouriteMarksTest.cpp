// Favourite fonts wear a heart on their tiles, from the moment a tile is dropped on
// お気に入り, in either drawing mode and in every view that shows them.
#include "TagFixture.h"

#include "fonts/Panel.h"
#include "sampleview/FavouriteMarks.h"
#include "tags/TagButton.h"
#include "tests/support/TestSupport.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QToolButton>

using namespace tag_test;

namespace {

class FavouriteMarksTest : public TagTest {
protected:
    // A drop of the tile on the tag's button, as the desktop delivers it.
    void Drop(TPanel* tile, const QString& tagName) {
        TagButton::DragSource = [tile](const QDropEvent*) -> QObject* { return tile; };
        QMimeData mime;
        mime.setData(TPanel::DragMimeType, QByteArray::number(tile->Tag));
        QToolButton* button = TagButtonOf(tagName);
        const QPoint centre = button->rect().center();
        QDragEnterEvent enter(centre, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &enter);
        QDropEvent drop(centre, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &drop);
        Settle();
    }
    bool Marked(const QString& name) const { return FavouriteMarks::IsMarked(TileOf(name)); }
};

} // namespace

TEST_F(FavouriteMarksTest, ADropOnTheFavouritesMarksTheTileAtOnceAndInEveryView) {
    // A favourite listed under its name in another language is one too.
    WriteTag(Favorites, QStringLiteral("IPAゴシック\r\n").toUtf8());
    Open({QStringLiteral("work")});
    EXPECT_TRUE(Marked(Gothic));
    EXPECT_FALSE(Marked(DejaVu));
    Drop(TileOf(DejaVu), Favorites);
    EXPECT_TRUE(Marked(DejaVu));
    Drop(TileOf(Serif), QStringLiteral("work")); // other tags mark nothing
    EXPECT_FALSE(Marked(Serif));

    Pool().ToggleSampleViewMode();
    EXPECT_TRUE(Marked(DejaVu));
    Pool().RebuildView(Favorites);
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }));
    EXPECT_TRUE(Marked(DejaVu));
    EXPECT_TRUE(Marked(Gothic));
    EXPECT_EQ(TileOf(Serif), nullptr);
}
