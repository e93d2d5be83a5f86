// Selecting tiles with the mouse and the keys, and the commands on tiles (the tile menu, Delete,
// Ctrl+D) that apply to the selection, in the real main window.
#include "SampleViewFixture.h"

#include "sampleview/TileCommands.h"
#include "sampleview/TileKeyboard.h"
#include "sampleview/TileSelection.h"
#include "ui/SampleViewControls.h"
#include "ui_Glyphorama.h"

#include <QAccessible>
#include <QClipboard>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>

using namespace sample_view_test;

namespace {

QString FamilyAt(int index) {
    return QStringLiteral("Family %1").arg(index, 3, 10, QLatin1Char('0'));
}
QStringList FamiliesAt(std::initializer_list<int> indexes) {
    QStringList names;
    for (int i : indexes)
        names.append(FamilyAt(i));
    return names;
}
// The tile's colour where its sample does not reach.
QColor TileBackground(TPanel* tile) {
    return tile->grab().toImage().pixelColor(2, 2);
}

class TileSelectionTest : public SampleViewTest {
protected:
    SampleViewControls& Controls() const { return *window->findChild<SampleViewControls*>(); }
    QStringList Selected() const { return Controls().Selection()->Families(); }
    TPanel* Nth(int index) const { return TileOf(FamilyAt(index)); }
    void Click(int index, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::mouseClick(Nth(index), Qt::LeftButton, modifiers, QPoint(10, 10));
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    bool Focused(int index) const { return QApplication::focusWidget() == Nth(index); }
    // Opens the tile menu's items on the tile; the texts of its items, submenus as "text>".
    QStringList MenuOn(int index) const {
        window->ContextMenuTag = Nth(index)->Tag;
        emit window->ContextMenu->aboutToShow();
        QStringList texts;
        for (QAction* item : window->ContextMenu->actions())
            if (!item->isSeparator())
                texts.append(item->text().section(u'\t', 0, 0) + (item->menu() ? ">" : ""));
        return texts;
    }
    QAction* AddToTagItem(int position) const {
        return window->ContextMenu->findChild<QMenu*>("AddToTagMenu")->actions().value(position);
    }
    QByteArray TagBytes(const QString& tagName) const {
        return testing_support::ReadBytes(dataDir + "/tags/" + tagName + ".tag");
    }
};

} // namespace

TEST_F(TileSelectionTest, ClicksAndKeysSelectInViewOrderAndPaintItInBothModes) {
    OpenBuilt(ManyFamilies(12));
    const QColor white = TileBackground(Nth(0));
    for (int i : {5, 2, 8})
        Click(i, Qt::ControlModifier);
    EXPECT_EQ(Selected(), FamiliesAt({2, 5, 8}));
    // Its own colour, apart from the background, the hover green and the focus frame.
    const QColor light = TileBackground(Nth(2));
    for (const QColor& other : {white, QColor(0xC0, 0xDC, 0xC0), QColor(0x30, 0x8C, 0xC6)})
        EXPECT_NE(light, other);
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(Nth(2))->state().selected);
    EXPECT_FALSE(QAccessible::queryAccessibleInterface(Nth(3))->state().selected);
    window->SwitchSampleViewModeButtonClick(); // white on black
    EXPECT_EQ(TileBackground(Nth(3)), QColor(Qt::black));
    EXPECT_NE(TileBackground(Nth(2)), QColor(Qt::black));
    EXPECT_NE(TileBackground(Nth(2)), light);

    Click(5, Qt::ControlModifier);
    EXPECT_EQ(Selected(), FamiliesAt({2, 8}));
    // From the anchor (the tile last clicked) in view order, either way.
    Click(9, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), FamiliesAt({5, 6, 7, 8, 9}));
    Click(3, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), FamiliesAt({3, 4, 5}));
    Click(6, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(Selected(), FamiliesAt({3, 4, 5, 6}));
    // A press on a selected tile that turns into a drag keeps the selection for the drag.
    QTest::mousePress(Nth(4), Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
    QTest::mouseMove(Nth(4), QPoint(15 + QApplication::startDragDistance(), 10));
    QTest::mouseRelease(Nth(4), Qt::LeftButton, Qt::NoModifier, QPoint(40, 10));
    EXPECT_EQ(Selected().size(), 4);
    Click(4);
    EXPECT_TRUE(Selected().isEmpty());
    EXPECT_EQ(TileBackground(Nth(4)), QColor(Qt::black));

    // The keys, from the focused tile; a plain move takes the anchor along.
    Controls().Keyboard()->Focus(Nth(1));
    Key(Qt::Key_Right, Qt::ShiftModifier);
    EXPECT_TRUE(Focused(2));
    EXPECT_EQ(Selected(), FamiliesAt({1, 2}));
    Key(Qt::Key_Left, Qt::ShiftModifier);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), FamiliesAt({0, 1}));
    Key(Qt::Key_End, Qt::ShiftModifier);
    EXPECT_EQ(Selected().size(), 11);
    Key(Qt::Key_Left);
    Key(Qt::Key_Left, Qt::ShiftModifier);
    EXPECT_EQ(Selected(), FamiliesAt({9, 10}));
    Key(Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(Selected(), FamiliesAt({10}));
    Key(Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(Selected().size(), 12);
    // Esc clears the selection before it closes the window.
    Key(Qt::Key_Escape);
    EXPECT_TRUE(Selected().isEmpty());
    EXPECT_TRUE(window->isVisible());

    // From the search field to the first tile it shows.
    QLineEdit* field = Controls().SearchField();
    for (int key : {Qt::Key_Down, Qt::Key_Return, Qt::Key_Enter, Qt::Key_Tab}) {
        field->setFocus();
        field->setText(QStringLiteral("family 011"));
        Key(key);
        EXPECT_TRUE(Focused(11)) << key;
    }
}

TEST_F(TileSelectionTest, TilesThatLeaveTheViewLeaveTheSelection) {
    OpenBuilt(ManyFamilies(12));
    for (int i : {1, 2, 10})
        Click(i, Qt::ControlModifier);
    // Hidden by the search, and not back when it is cleared.
    Controls().SearchField()->setText(QStringLiteral("family 00"));
    Controls().SearchField()->clear();
    EXPECT_EQ(Selected(), FamiliesAt({1, 2}));
    // Sent to the trash, with their tiles.
    Controls().Keyboard()->Focus(Nth(2));
    Key(Qt::Key_Delete);
    ASSERT_TRUE(testing_support::WaitUntil([this] { return ViewNames().size() == 10; }));
    EXPECT_EQ(TagBytes(QStringLiteral("ゴミ箱")), "Family 001\r\nFamily 002\r\n");
    EXPECT_TRUE(Selected().isEmpty());
    Click(5, Qt::ControlModifier);
    window->ShowAllClick();
    WaitForBuild();
    EXPECT_TRUE(Selected().isEmpty());
}

TEST_F(TileSelectionTest, TheTileMenuOffersEachViewsCommandsForTheSelectionOrTheTileAlone) {
    WriteTag(QStringLiteral("Mine"), FamiliesAt({0, 1, 2}));
    WriteTag(QStringLiteral("ゴミ箱"), FamiliesAt({11}));
    OpenBuilt(ManyFamilies(12), "[tags]\ntotal=2\n0=Mine\n1=A&B\n");
    TileCommands& commands = *Controls().Commands();
    QSignalSpy added(&commands, &TileCommands::AddToTagRequested);
    QSignalSpy takenOut(&commands, &TileCommands::TakeOutRequested);
    QSignalSpy favourites(&commands, &TileCommands::FavouriteToggleRequested);

    // A font-type view: into a tag (the favourites first), or to the trash.
    EXPECT_EQ(MenuOn(3),
              (QStringList{"フォント名をコピー(&C)", "タグに追加(&G)>", "ゴミ箱へ(&T)"}));
    EXPECT_EQ(AddToTagItem(0)->text(), "お気に入り");
    EXPECT_EQ(AddToTagItem(3)->text(), "A&&B");
    for (int i : {5, 7, 3})
        Click(i, Qt::ControlModifier);
    MenuOn(5);
    AddToTagItem(3)->trigger();
    EXPECT_EQ(TagBytes(QStringLiteral("A&B")), "Family 003\r\nFamily 005\r\nFamily 007\r\n");
    window->ui->CopyFontName->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), FamiliesAt({3, 5, 7}).join(u'\n'));
    // A tile outside the selection is a command's alone.
    MenuOn(4);
    AddToTagItem(2)->trigger();
    EXPECT_EQ(added.last(), (QList<QVariant>{"Mine", FamiliesAt({4})}));
    Controls().Keyboard()->Focus(Nth(7));
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(favourites.last().first().toStringList(), FamiliesAt({3, 5, 7}));

    // A tag's view: out of that tag, by the menu and by Delete; never to the trash by Delete.
    Pool().RebuildView(QStringLiteral("Mine"));
    WaitForBuild();
    EXPECT_EQ(MenuOn(1), (QStringList{"フォント名をコピー(&C)", "タグに追加(&G)>", "ゴミ箱へ(&T)",
                                      "「Mine」から外す(&R)"}));
    EXPECT_FALSE(AddToTagItem(2)->isEnabled());
    window->ContextMenu->findChild<QAction*>("TakeOutItem")->trigger();
    EXPECT_EQ(takenOut.last(), (QList<QVariant>{"Mine", FamiliesAt({1})}));
    Click(0, Qt::ControlModifier);
    Click(2, Qt::ControlModifier);
    Key(Qt::Key_Delete);
    EXPECT_EQ(takenOut.last(), (QList<QVariant>{"Mine", FamiliesAt({0, 2})}));
    EXPECT_EQ(TagBytes(QStringLiteral("ゴミ箱")), "Family 011\r\n");

    // The trash's view: back out of it.
    Pool().RebuildView(QStringLiteral("ゴミ箱"));
    WaitForBuild();
    EXPECT_EQ(MenuOn(11),
              (QStringList{"フォント名をコピー(&C)", "タグに追加(&G)>", "ゴミ箱から戻す(&R)"}));
    Controls().Keyboard()->Focus(Nth(11));
    Key(Qt::Key_Delete);
    EXPECT_EQ(takenOut.last(), (QList<QVariant>{"ゴミ箱", FamiliesAt({11})}));
    EXPECT_EQ(added.size(), 2);
}
