// The tag bar: its buttons and captions, the tag menu, the tag dialog from the bar, left
// clicks, and tiles dropped on tag buttons (through drag events of our own, since the
// offscreen desktop runs no drags).
#include "TagFixture.h"

#include "fonts/Panel.h"
#include "platform/ImageList.h"
#include "tags/NewTagForm.h"
#include "tags/TagButton.h"
#include "tags/TagToolBar.h"
#include "tests/support/TestSupport.h"
#include "ui_Glyphorama.h"
#include "ui_NewTagForm.h"

#include <QDragEnterEvent>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QTextDocument>
#include <QToolButton>

using namespace tag_test;

namespace {

const QString Trash = QStringLiteral("ゴミ箱");
const QString Favorites = QStringLiteral("お気に入り");

// What a tooltip shows: Qt reads a tooltip that looks like markup as rich text.
QString ShownToolTip(const QString& toolTip) {
    if (!Qt::mightBeRichText(toolTip))
        return toolTip;
    QTextDocument document;
    document.setHtml(toolTip);
    return document.toPlainText();
}

QMimeData* TileMime(const TPanel* tile) {
    auto* mime = new QMimeData;
    mime->setData(TPanel::DragMimeType, QByteArray::number(tile->Tag));
    return mime;
}

class TagBarTest : public TagTest {
protected:
    // Drags whose source is this widget reach the buttons.
    void DragFrom(QObject* source) {
        TagButton::DragSource = [source](const QDropEvent*) { return source; };
    }
    // Sends the enter and drop events of a drag of the tile onto the tag's button; returns
    // whether the button took the drop.
    bool Drop(const TPanel* tile, const QString& tagName) {
        QToolButton* button = TagButtonOf(tagName);
        EXPECT_NE(button, nullptr) << tagName.toStdString();
        if (!button)
            return false;
        const std::unique_ptr<QMimeData> mime(TileMime(tile));
        const QPoint centre = button->rect().center();
        QDragEnterEvent enter(centre, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                              Qt::NoModifier);
        QApplication::sendEvent(button, &enter);
        if (!enter.isAccepted())
            return false;
        QDropEvent drop(centre, Qt::CopyAction | Qt::MoveAction, mime.get(), Qt::LeftButton,
                        Qt::NoModifier);
        QApplication::sendEvent(button, &drop);
        return drop.isAccepted();
    }
    void DropTile(const QString& fontName, const QString& tagName) {
        TPanel* tile = TileOf(fontName);
        ASSERT_NE(tile, nullptr) << fontName.toStdString();
        DragFrom(tile);
        EXPECT_TRUE(Drop(tile, tagName));
        Settle();
    }
    void WaitForBuild() {
        ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }, 60000));
        Settle();
    }
    QStringList ViewNames() const {
        QStringList names;
        for (const TFontUnit* unit : Pool().ViewList)
            names.append(unit->Name);
        return names;
    }
};

} // namespace

TEST_F(TagBarTest, ShowsOnlyTheNewTagButtonUntilTheTagsAreLoaded) {
    Create();
    Settle();
    EXPECT_EQ(BarCaptions(), (QStringList{"新しいタグ", "|"}));
    // The sample buttons of the form are gone.
    EXPECT_EQ(window->findChild<QToolButton*>(QStringLiteral("ToolButton5")), nullptr);
}

TEST_F(TagBarTest, FreshStartBarReadsLeftToRight) {
    Open();
    EXPECT_EQ(BarCaptions(), (QStringList{"新しいタグ", "|", "ゴミ箱 (0)", "お気に入り (0)", "|"}));
    const QList<QWidget*> widgets = BarWidgets();
    auto* newTag = qobject_cast<QToolButton*>(widgets[0]);
    EXPECT_EQ(platform::ButtonImage(newTag), 0);
    EXPECT_EQ(newTag->toolTip(), "新しいタグを追加する");
    EXPECT_EQ(newTag->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(widgets[1]->width(), 4);
    auto* trash = qobject_cast<QToolButton*>(widgets[2]);
    EXPECT_EQ(platform::ButtonImage(trash), 3);
    EXPECT_EQ(trash->toolButtonStyle(), Qt::ToolButtonTextBesideIcon);
    EXPECT_EQ(trash->toolTip(), "ゴミ箱にあるフォントはリストに表示されません");
    EXPECT_EQ(trash->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(platform::ButtonImage(qobject_cast<QToolButton*>(widgets[3])), 2);
    EXPECT_EQ(widgets[4]->width(), 4);
    EXPECT_EQ(widgets[4]->toolTip(), "");
    EXPECT_EQ(widgets[4]->property("Tag").toInt(), 2);
    EXPECT_GE(trash->height(), 23);
}

TEST_F(TagBarTest, UserTagsAreTextButtonsWhoseNamesShowAsPlainText) {
    Open({QStringLiteral("A&B"), QStringLiteral("<b>bold</b>")});
    WriteTag(QStringLiteral("A&B"), "DejaVu Sans\r\n");
    Pool().LoadTags({QStringLiteral("A&B"), QStringLiteral("<b>bold</b>")});
    Pool().RebuildTagBar();
    EXPECT_EQ(BarCaptions().mid(5), (QStringList{"A&&B (1)", "<b>bold</b> (0)"}));
    QToolButton* bold = TagButtonOf(QStringLiteral("<b>bold</b>"));
    ASSERT_NE(bold, nullptr);
    EXPECT_EQ(bold->toolButtonStyle(), Qt::ToolButtonTextOnly);
    EXPECT_EQ(ShownToolTip(bold->toolTip()), "<b>bold</b>");
    EXPECT_EQ(ShownToolTip(TagButtonOf(QStringLiteral("A&B"))->toolTip()), "A&B");
}

TEST_F(TagBarTest, DroppedTilesAddTheirFontOnceAndRaiseTheCount) {
    Open({QStringLiteral("work")});
    ASSERT_EQ(ViewNames().size(), 4);

    DropTile(DejaVu, QStringLiteral("work"));
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\n");
    EXPECT_EQ(BarCaptions().last(), "work (1)");
    // The name label stands for its tile.
    TFontUnit* gothic = Pool().FindUnitByTileTag(TileOf(Gothic)->Tag);
    ASSERT_NE(gothic->NameLabel, nullptr);
    DragFrom(gothic->NameLabel);
    EXPECT_TRUE(Drop(gothic->NameLabel, QStringLiteral("work")));
    Settle();
    EXPECT_EQ(BarCaptions().last(), "work (2)");

    // A second drop of the same font changes nothing.
    DropTile(DejaVu, QStringLiteral("work"));
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\nIPAGothic\r\n");
    EXPECT_EQ(BarCaptions().last(), "work (2)");

    // On the favourites the view stays as it was.
    DropTile(Serif, Favorites);
    EXPECT_EQ(BarCaptions()[3], "お気に入り (1)");
    EXPECT_EQ(ViewNames().size(), 4);
    EXPECT_NE(TileOf(Serif), nullptr);
}

TEST_F(TagBarTest, ATileDroppedOnTheTrashLeavesTheViewAfterTheDrop) {
    Open();
    TPanel* tile = TileOf(Serif);
    ASSERT_NE(tile, nullptr);
    DragFrom(tile);
    ASSERT_TRUE(Drop(tile, Trash));
    // The removal is posted: the tile is still there while the drop is handled.
    EXPECT_EQ(TileOf(Serif), tile);
    EXPECT_EQ(TagBytes(Trash), "DejaVu Serif\r\n");
    Settle();
    EXPECT_EQ(TileOf(Serif), nullptr);
    EXPECT_FALSE(ViewNames().contains(Serif));
    EXPECT_EQ(BarCaptions()[2], "ゴミ箱 (1)");

    // Shown through the trash button, a trashed font dropped on the trash again leaves the
    // file alone but still leaves the view.
    QTest::mouseClick(TagButtonOf(Trash), Qt::LeftButton);
    WaitForBuild();
    ASSERT_EQ(ViewNames(), QStringList{Serif});
    DropTile(Serif, Trash);
    EXPECT_EQ(TagBytes(Trash), "DejaVu Serif\r\n");
    EXPECT_TRUE(ViewNames().isEmpty());
}

TEST_F(TagBarTest, AFailedWriteKeepsTheTileAndTheCount) {
    Open();
    // A trash file that is not text: it is never rewritten, so the drop must fail whole.
    const QByteArray garbage("\x85\xFF\xFE\x80\r\n", 6);
    WriteTag(Trash, garbage);
    TPanel* tile = TileOf(DejaVu);
    DragFrom(tile);
    Drop(tile, Trash);
    Settle();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(TagBytes(Trash), garbage);
    EXPECT_EQ(TileOf(DejaVu), tile);
    EXPECT_EQ(BarCaptions()[2], "ゴミ箱 (0)");
}

TEST_F(TagBarTest, OnlyTilesOfThisWindowAreTaken) {
    Open({QStringLiteral("work")});
    TPanel* tile = TileOf(DejaVu);
    // A drag from elsewhere has no source here, whatever it carries.
    EXPECT_FALSE(Drop(tile, QStringLiteral("work")));
    // Nor is a drag of some other widget of ours.
    DragFrom(TagButtonOf(Favorites));
    EXPECT_FALSE(Drop(tile, QStringLiteral("work")));
    // A tile's drag needs its data as well.
    DragFrom(tile);
    QToolButton* button = TagButtonOf(QStringLiteral("work"));
    QMimeData text;
    text.setText(QStringLiteral("DejaVu Sans"));
    QDragEnterEvent enter(button->rect().center(), Qt::CopyAction, &text, Qt::LeftButton,
                          Qt::NoModifier);
    QApplication::sendEvent(button, &enter);
    EXPECT_FALSE(enter.isAccepted());
    // The new-tag button and the separators take nothing.
    Pool().TagButtonDragDrop(qobject_cast<QToolButton*>(BarWidgets()[0]), tile);
    Settle();
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("work"))));
    EXPECT_EQ(BarCaptions().last(), "work (0)");
    EXPECT_EQ(ViewNames().size(), 4);
}

TEST_F(TagBarTest, ALeftClickShowsTheTagsFonts) {
    WriteTag(QStringLiteral("work"), "IPAゴシック\r\ndejavu serif\r\n");
    Open({QStringLiteral("work")});
    QTest::mouseClick(TagButtonOf(QStringLiteral("work")), Qt::LeftButton);
    WaitForBuild();
    EXPECT_EQ(ViewNames(), (QStringList{Gothic, Serif}));
}

TEST_F(TagBarTest, TheTagMenuIsForUserTagsOnly) {
    Open({QStringLiteral("work")});
    struct Seen {
        bool open = false, deleteEnabled = false, renameEnabled = false, marked = false;
    };
    const auto rightClick = [this](const QString& name) {
        Seen seen;
        QToolButton* button = TagButtonOf(name);
        WhenModalOpens([&](QWidget* popup) {
            seen.open = popup == window->TagMenu;
            seen.deleteEnabled = window->ui->DeleteTag->isEnabled();
            seen.renameEnabled = window->ui->RenameTag->isEnabled();
            seen.marked = button->isDown();
            popup->close();
        });
        QTest::mouseClick(button, Qt::RightButton);
        EXPECT_FALSE(button->isDown());
        return seen;
    };
    for (const QString& fixed : {Trash, Favorites}) {
        const Seen seen = rightClick(fixed);
        EXPECT_TRUE(seen.open && seen.marked);
        EXPECT_FALSE(seen.deleteEnabled || seen.renameEnabled) << fixed.toStdString();
    }
    const Seen seen = rightClick(QStringLiteral("work"));
    EXPECT_TRUE(seen.open && seen.marked && seen.deleteEnabled && seen.renameEnabled);
    EXPECT_EQ(window->TagMenuTag, 5);

    // The new-tag button opens no menu.
    QTest::mouseClick(qobject_cast<QToolButton*>(BarWidgets()[0]), Qt::RightButton);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

TEST_F(TagBarTest, DeletingFromTheMenuMovesTheLaterButtonsLeft) {
    WriteTag(QStringLiteral("a"), "DejaVu Sans\r\n");
    Open({QStringLiteral("a"), QStringLiteral("b")});
    WhenModalOpens([this](QWidget* popup) {
        popup->close();
        window->ui->DeleteTag->trigger();
    });
    QTest::mouseClick(TagButtonOf(QStringLiteral("a")), Qt::RightButton);
    Settle();
    EXPECT_EQ(BarCaptions().mid(5), QStringList{"b (0)"});
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("a"))));
}

TEST_F(TagBarTest, RenamingFromTheMenuKeepsThePlaceAndTheCount) {
    WriteTag(QStringLiteral("a"), "DejaVu Sans\r\nIPAGothic\r\n");
    Open({QStringLiteral("a"), QStringLiteral("b")});
    QString noticeOnOpen;
    bool registEnabledOnOpen = true;
    WhenModalOpens([&](QWidget* popup) {
        popup->close();
        WhenModalOpens([&](QWidget* dialog) {
            auto* form = qobject_cast<TNewTagForm*>(dialog);
            ASSERT_NE(form, nullptr);
            noticeOnOpen = form->ui->Notice->isVisible() ? form->ui->Notice->text() : QString();
            registEnabledOnOpen = form->ui->RegistButton->isEnabled();
            form->ui->TagName->setText(QStringLiteral("renamed"));
            QTest::mouseClick(form->ui->RegistButton, Qt::LeftButton);
        });
        window->ui->RenameTag->trigger();
    });
    QTest::mouseClick(TagButtonOf(QStringLiteral("a")), Qt::RightButton);
    Settle();
    EXPECT_EQ(noticeOnOpen, "同じ名前のタグは登録できません。");
    EXPECT_FALSE(registEnabledOnOpen);
    EXPECT_EQ(BarCaptions().mid(5), (QStringList{"renamed (2)", "b (0)"}));
    EXPECT_TRUE(QFileInfo::exists(TagPath(QStringLiteral("renamed"))));
    // The dialog was the window's and is gone.
    EXPECT_EQ(window->findChild<TNewTagForm*>(), nullptr);
}

TEST_F(TagBarTest, TheNewTagButtonAddsTheRegisteredNameOnly) {
    Open();
    QToolButton* newTag = qobject_cast<QToolButton*>(BarWidgets()[0]);
    const auto runDialog = [&](const std::function<void(TNewTagForm*)>& action) {
        WhenModalOpens([&](QWidget* dialog) {
            auto* form = qobject_cast<TNewTagForm*>(dialog);
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(form->parentWidget(), window.get());
            action(form);
        });
        QTest::mouseClick(qobject_cast<QToolButton*>(BarWidgets()[0]), Qt::LeftButton);
        Settle();
    };
    ASSERT_NE(newTag, nullptr);
    runDialog([](TNewTagForm* form) {
        form->ui->TagName->setText(QStringLiteral("cancelled"));
        QTest::mouseClick(form->ui->Button1, Qt::LeftButton);
    });
    runDialog([](TNewTagForm* form) {
        form->ui->TagName->setText(QStringLiteral("escaped"));
        QTest::keyClick(form->ui->TagName, Qt::Key_Escape);
    });
    EXPECT_EQ(Pool().SaveTagNames(), QStringList());
    runDialog([](TNewTagForm* form) {
        QTest::keyClicks(form->ui->TagName, QStringLiteral("fresh"));
        QTest::keyClick(form->ui->TagName, Qt::Key_Return);
    });
    EXPECT_EQ(Pool().SaveTagNames(), QStringList{"fresh"});
    EXPECT_EQ(BarCaptions().last(), "fresh (0)");
}
