// Selecting tiles with the mouse and the keys, and the commands on tiles (the tile menu, Delete,
// Ctrl+D) that apply to the selection, in the real main window.
#include "SampleViewFixture.h"

#include "sampleview/TileCommands.h"
#include "sampleview/TileKeyboard.h"
#include "sampleview/TileSelection.h"
#include "ui/SampleViewControls.h"
#include "ui_Glyphorama.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace sample_view_test;

namespace {

class TileSelectionTest : public SampleViewTest {
protected:
    SampleViewControls& Controls() const { return *window->findChild<SampleViewControls*>(); }
    TileSelection& Selection() const { return *Controls().Selection(); }
    TPanel* Nth(int index) const { return TileOf(Name(index)); }
    static QString Name(int index) {
        return QStringLiteral("Family %1").arg(index, 3, 10, QLatin1Char('0'));
    }
    static QStringList Names(std::initializer_list<int> indexes) {
        QStringList names;
        for (int i : indexes)
            names.append(Name(i));
        return names;
    }
    void Click(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::mouseClick(Nth(index), Qt::LeftButton, modifiers, QPoint(10, 10));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    QString Focused() const {
        const auto* tile = qobject_cast<const TPanel*>(QApplication::focusWidget());
        for (const TFontUnit* unit : Pool().ViewList)
            if (tile && unit->Tile == tile)
                return unit->Name;
        return QString();
    }
    // The tile's colour where its sample does not reach.
    static QColor Background(TPanel* tile) { return tile->grab().toImage().pixelColor(2, 2); }
    // The tile menu as it opens on the tile: the texts of its items, submenus as "text>".
    QStringList MenuOn(TPanel* tile) const {
        window->ContextMenuTag = tile->Tag;
        emit window->ContextMenu->aboutToShow();
        QStringList texts;
        for (QAction* item : window->ContextMenu->actions())
            if (!item->isSeparator())
                texts.append(item->text().section(u'\t', 0, 0) + (item->menu() ? ">" : ""));
        return texts;
    }
    QAction* Item(const QString& objectName) const {
        return window->ContextMenu->findChild<QAction*>(objectName);
    }
    QAction* AddToTagItem(const QString& tagName) const {
        for (QAction* item : window->ContextMenu->findChild<QMenu*>("AddToTagMenu")->actions())
            if (item->data().toString() == tagName)
                return item;
        return nullptr;
    }
    QStringList TagLines(const QString& tagName) const {
        return QString::fromUtf8(testing_support::ReadBytes(dataDir + QStringLiteral("/tags/") +
                                                            tagName + QStringLiteral(".tag")))
            .split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
    }
};

const QByteArray UserTags = "[tags]\ntotal=2\n0=Mine\n1=A&B\n";

} // namespace

TEST_F(TileSelectionTest, ClicksAndKeysSelectInViewOrderAndPaintItInBothModes) {
    OpenBuilt(ManyFamilies(12));
    const QColor white = Background(Nth(0));
    Click(5, Qt::ControlModifier);
    Click(2, Qt::ControlModifier);
    Click(8, Qt::ControlModifier);
    EXPECT_EQ(Selection().Families(), Names({2, 5, 8}));
    // Its own colour, apart from the tile's background, the hover green and the focus frame.
    const QColor selected = Background(Nth(2));
    EXPECT_NE(selected, white);
    EXPECT_NE(selected, QColor(0xC0, 0xDC, 0xC0));
    EXPECT_NE(selected, QColor(0x30, 0x8C, 0xC6));
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(Nth(2))->state().selected);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(Nth(3))->state().selected);
    // Black on white turned to white on black: the selection stays apart from both.
    window->SwitchSampleViewModeButtonClick();
    const QColor dark = Background(Nth(2));
    EXPECT_NE(dark, selected);
    EXPECT_NE(dark, Background(Nth(3)));
    EXPECT_EQ(Background(Nth(3)), QColor(Qt::black));

    Click(5, Qt::ControlModifier);
    EXPECT_EQ(Selection().Families(), Names({2, 8}));
    // From the anchor (the tile last clicked) in view order, either way.
    Click(9, Qt::ShiftModifier);
    EXPECT_EQ(Selection().Families(), Names({5, 6, 7, 8, 9}));
    Click(3, Qt::ShiftModifier);
    EXPECT_EQ(Selection().Families(), Names({3, 4, 5}));
    Click(10, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Selection().Families(), Names({3, 4, 5, 6, 7, 8, 9, 10}));
    // A press on a selected tile that turns into a drag keeps the selection for the drag.
    QTest::mousePress(Nth(4), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(Nth(4), QPoint(10 + QApplication::startDragDistance() + 5, 10));
    QTest::mouseRelease(Nth(4), Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_EQ(Selection().Count(), 8);
    Click(4);
    EXPECT_TRUE(Selection().IsEmpty());
    EXPECT_EQ(Background(Nth(4)), QColor(Qt::black));

    // The keys, from the focused tile.
    Controls().Keyboard()->Focus(Nth(1));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_EQ(Focused(), Name(2));
    EXPECT_EQ(Selection().Families(), Names({1, 2}));
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Selection().Families(), Names({0, 1}));
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Selection().Count(), 11);
    // A plain move takes the anchor along and leaves the selection as it is.
    Key(Qt::Key_Left);
    EXPECT_EQ(Selection().Count(), 11);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Selection().Families(), Names({9, 10}));
    Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(Selection().Families(), Names({10}));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selection().Count(), 12);
    // Esc clears the selection first; the window closes on the next one.
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Selection().IsEmpty());
    EXPECT_TRUE(window->isVisible());
}

TEST_F(TileSelectionTest, TilesThatLeaveTheViewLeaveTheSelection) {
    OpenBuilt(ManyFamilies(12));
    for (int i : {1, 2, 10})
        Click(i, Qt::ControlModifier);
    // A search hides one; clearing it does not bring it back into the selection.
    Controls().SearchField()->setText(QStringLiteral("family 00"));
    EXPECT_EQ(Selection().Families(), Names({1, 2}));
    Controls().SearchField()->clear();
    EXPECT_EQ(Selection().Families(), Names({1, 2}));
    // The trash takes both out of the view, and out of the selection with their tiles.
    Controls().Keyboard()->Focus(Nth(2));
    Key(Qt::Key_Delete);
    ASSERT_TRUE(testing_support::WaitUntil(
        [this] { return !ViewNames().contains(Name(1)) && !ViewNames().contains(Name(2)); }));
    EXPECT_EQ(TagLines(QStringLiteral("ゴミ箱")), Names({1, 2}));
    EXPECT_TRUE(Selection().IsEmpty());
    // A rebuilt view starts with none.
    Click(5, Qt::ControlModifier);
    window->ShowAllClick();
    WaitForBuild();
    EXPECT_TRUE(Selection().IsEmpty());
}

TEST_F(TileSelectionTest, TheTileMenuOffersEachViewsCommandsForTheSelectionOrTheTileAlone) {
    WriteTag(QStringLiteral("Mine"), {Name(0), Name(1), Name(2)});
    WriteTag(QStringLiteral("ゴミ箱"), {Name(11)});
    OpenBuilt(ManyFamilies(12), UserTags);
    TileCommands& commands = *Controls().Commands();
    QSignalSpy added(&commands, &TileCommands::AddToTagRequested);
    QSignalSpy takenOut(&commands, &TileCommands::TakeOutRequested);
    QSignalSpy favourites(&commands, &TileCommands::FavouriteToggleRequested);

    // A font-type view: into a tag, or to the trash.
    EXPECT_EQ(MenuOn(Nth(3)),
              (QStringList{"フォント名をコピー(&C)", "タグに追加(&G)>", "ゴミ箱へ(&T)"}));
    QStringList tags;
    for (QAction* item : window->ContextMenu->findChild<QMenu*>("AddToTagMenu")->actions())
        if (!item->isSeparator())
            tags.append(item->text());
    EXPECT_EQ(tags, (QStringList{"お気に入り", "Mine", "A&&B"}));
    for (int i : {5, 7, 3})
        Click(i, Qt::ControlModifier);
    MenuOn(Nth(5));
    AddToTagItem(QStringLiteral("A&B"))->trigger();
    EXPECT_EQ(TagLines(QStringLiteral("A&B")), Names({3, 5, 7}));
    MenuOn(Nth(7));
    window->ui->CopyFontName->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), Names({3, 5, 7}).join(u'\n'));
    // A tile outside the selection is a command's alone.
    MenuOn(Nth(4));
    AddToTagItem(QStringLiteral("Mine"))->trigger();
    EXPECT_EQ(added.last(), (QList<QVariant>{"Mine", Names({4})}));
    Controls().Keyboard()->Focus(Nth(7));
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(favourites.last().first().toStringList(), Names({3, 5, 7}));

    // A tag's view: out of that tag, by the menu and by Delete.
    Pool().RebuildView(QStringLiteral("Mine"));
    WaitForBuild();
    EXPECT_EQ(MenuOn(Nth(1)), (QStringList{"フォント名をコピー(&C)", "タグに追加(&G)>",
                                           "ゴミ箱へ(&T)", "「Mine」から外す(&R)"}));
    EXPECT_FALSE(AddToTagItem(QStringLiteral("Mine"))->isEnabled());
    Item(QStringLiteral("TakeOutItem"))->trigger();
    EXPECT_EQ(takenOut.last(), (QList<QVariant>{"Mine", Names({1})}));
    Click(0, Qt::ControlModifier);
    Click(2, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(takenOut.last(), (QList<QVariant>{"Mine", Names({0, 2})}));
    EXPECT_EQ(TagLines(QStringLiteral("ゴミ箱")), Names({11})); // not to the trash

    // The trash's view: back out of it, and no way further into it.
    Pool().RebuildView(QStringLiteral("ゴミ箱"));
    WaitForBuild();
    EXPECT_EQ(MenuOn(Nth(11)),
              (QStringList{"フォント名をコピー(&C)", "タグに追加(&G)>", "ゴミ箱から戻す(&R)"}));
    Controls().Keyboard()->Focus(Nth(11));
    Key(Qt::Key_Delete);
    EXPECT_EQ(takenOut.last(), (QList<QVariant>{"ゴミ箱", Names({11})}));
    EXPECT_EQ(added.size(), 2);
}

TEST_F(TileSelectionTest, FromTheSearchFieldDownEnterAndTabReachTheResults) {
    OpenBuilt(ManyFamilies(12));
    QLineEdit* field = Controls().SearchField();
    for (int key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
        field->setFocus();
        field->setText(QStringLiteral("family 011"));
        Key(key);
        EXPECT_EQ(Focused(), Name(11)) << key;
    }
}
