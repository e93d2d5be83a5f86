// The tag bar: captions, drops of tiles (through drag events of our own, since the offscreen
// desktop runs no drags), the tag menu and the tag dialog opened from the bar.
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
#include <QFileInfo>
#include <QMimeData>
#include <QTest>
#include <QTextDocument>

using namespace tag_test;

namespace {

class TagBarTest : public TagTest {
protected:
    // Sends a drag of the panel (as this window's drags report it) onto the tag's button;
    // returns whether the button took the drop.
    bool Drop(TPanel* panel, const QString& tagName, QObject* source = nullptr) {
        TagButton::DragSource = [=](const QDropEvent*) -> QObject* {
            return source ? source : panel;
        };
        QMimeData mime;
        mime.setData(TPanel::DragMimeType, QByteArray::number(panel->Tag));
        QToolButton* button = TagButtonOf(tagName);
        const QPoint centre = button->rect().center();
        QDragEnterEvent enter(centre, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &enter);
        QDropEvent drop(centre, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        if (enter.isAccepted())
            QApplication::sendEvent(button, &drop);
        return enter.isAccepted() && drop.isAccepted();
    }
    QToolButton* NewTagButton() const {
        return qobject_cast<QToolButton*>(window->ui->TagBar->ButtonAt(0));
    }
};

} // namespace

TEST_F(TagBarTest, CaptionsShowNamesAndCountsAsPlainText) {
    WriteTag(QStringLiteral("A&B"), "x\r\n");
    Open({QStringLiteral("A&B"), QStringLiteral("<b>bold</b>")});
    EXPECT_EQ(BarCaptions(), (QStringList{"新しいタグ", "|", "ゴミ箱 (0)", "お気に入り (0)", "|",
                                          "A&&B (1)", "<b>bold</b> (0)"}));
    EXPECT_EQ(platform::ButtonImage(NewTagButton()), 0);
    EXPECT_EQ(platform::ButtonImage(TagButtonOf(Trash)), 3);
    EXPECT_EQ(platform::ButtonImage(TagButtonOf(Favorites)), 2);
    EXPECT_EQ(TagButtonOf(QStringLiteral("A&B"))->toolButtonStyle(), Qt::ToolButtonTextOnly);
    QTextDocument shown;
    shown.setHtml(TagButtonOf(QStringLiteral("<b>bold</b>"))->toolTip());
    EXPECT_EQ(shown.toPlainText(), "<b>bold</b>");
}

TEST_F(TagBarTest, DroppedTilesAreCountedOnceAndTheTrashTakesThemOutOfTheView) {
    Open({QStringLiteral("work")});
    ASSERT_EQ(Pool().ViewList.size(), 4u);
    EXPECT_TRUE(Drop(TileOf(DejaVu), QStringLiteral("work")));
    const TFontUnit* gothic = Pool().FindUnitByTileTag(TileOf(Gothic)->Tag);
    EXPECT_TRUE(Drop(gothic->Tile, QStringLiteral("work"))); // from its name label: the tile
    EXPECT_TRUE(Drop(TileOf(DejaVu), QStringLiteral("work")));
    EXPECT_TRUE(Drop(TileOf(Serif), Favorites));
    Settle();
    EXPECT_EQ(TagBytes(QStringLiteral("work")), "DejaVu Sans\r\nIPAGothic\r\n");
    EXPECT_EQ(BarCaptions().mid(3), (QStringList{"お気に入り (1)", "|", "work (2)"}));
    EXPECT_EQ(Pool().ViewList.size(), 4u);

    TPanel* serif = TileOf(Serif);
    EXPECT_TRUE(Drop(serif, Trash));
    EXPECT_EQ(TileOf(Serif), serif); // removed only once the drop is over
    Settle();
    EXPECT_EQ(TileOf(Serif), nullptr);
    EXPECT_EQ(BarCaptions()[2], "ゴミ箱 (1)");

    // Shown by the trash button, a trashed font dropped on the trash again leaves the file
    // alone and still leaves the view.
    QTest::mouseClick(TagButtonOf(Trash), Qt::LeftButton);
    ASSERT_TRUE(testing_support::WaitUntil([this] { return TileOf(Serif) != nullptr; }));
    Settle();
    EXPECT_TRUE(Drop(TileOf(Serif), Trash));
    Settle();
    EXPECT_EQ(TagBytes(Trash), "DejaVu Serif\r\n");
    EXPECT_TRUE(Pool().ViewList.empty());
}

TEST_F(TagBarTest, OnlyTilesOfThisWindowAreTakenAndAFailedWriteKeepsTheTile) {
    Open({QStringLiteral("work")});
    TPanel* tile = TileOf(DejaVu);
    EXPECT_FALSE(Drop(tile, QStringLiteral("work"), NewTagButton())); // not a tile
    TagButton::DragSource = [](const QDropEvent* event) { return event->source(); };
    QMimeData mime;
    mime.setData(TPanel::DragMimeType, "0");
    QDragEnterEvent foreign({1, 1}, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(TagButtonOf(QStringLiteral("work")), &foreign);
    EXPECT_FALSE(foreign.isAccepted()); // another program's drag has no source here
    Pool().TagButtonDragDrop(NewTagButton(), tile);
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("work"))));

    const QByteArray notText("\x85\xFF\xFE\x80\r\n", 6); // never rewritten
    WriteTag(Trash, notText);
    Drop(tile, Trash);
    Settle();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(TagBytes(Trash), notText);
    EXPECT_EQ(TileOf(DejaVu), tile);
}

TEST_F(TagBarTest, TheTagMenuDeletesAndRenamesUserTagsOnly) {
    WriteTag(QStringLiteral("a"), "DejaVu Sans\r\nIPAGothic\r\n");
    Open({QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")});
    // Opens the menu of the tag's button, checks it, then runs the command (if any).
    const auto rightClick = [this](const QString& name, bool enabled, QAction* command) {
        QToolButton* button = TagButtonOf(name);
        WhenModalOpens([=, this](QWidget* menu) {
            EXPECT_EQ(menu, window->TagMenu);
            EXPECT_TRUE(button->isDown());
            EXPECT_EQ(window->ui->DeleteTag->isEnabled(), enabled) << name.toStdString();
            EXPECT_EQ(window->ui->RenameTag->isEnabled(), enabled) << name.toStdString();
            menu->close();
            if (command)
                command->trigger();
        });
        QTest::mouseClick(button, Qt::RightButton);
        EXPECT_FALSE(button->isDown());
        Settle();
    };
    rightClick(Trash, false, nullptr);
    rightClick(Favorites, false, nullptr);
    rightClick(QStringLiteral("b"), true, window->ui->DeleteTag);
    EXPECT_EQ(BarCaptions().mid(5), (QStringList{"a (2)", "c (0)"}));

    QStringList seen;
    WhenModalOpens([&](QWidget* menu) {
        menu->close();
        WhenModalOpens([&](QWidget* dialog) {
            auto* form = qobject_cast<TNewTagForm*>(dialog);
            seen << form->ui->TagName->text() << form->ui->Notice->text();
            form->ui->TagName->setText(QStringLiteral("renamed"));
            QTest::mouseClick(form->ui->RegistButton, Qt::LeftButton);
        });
        window->ui->RenameTag->trigger();
    });
    QTest::mouseClick(TagButtonOf(QStringLiteral("a")), Qt::RightButton);
    Settle();
    EXPECT_EQ(seen, (QStringList{"a", "同じ名前のタグは登録できません。"}));
    EXPECT_EQ(BarCaptions().mid(5), (QStringList{"renamed (2)", "c (0)"}));
    EXPECT_TRUE(QFileInfo::exists(TagPath(QStringLiteral("renamed"))));
}

// A tag file that no tag lists (left by another program, or by hand) is refused as a new name,
// as a listed one is: the renamed tag would take over that file's fonts.
TEST_F(TagBarTest, ARenameOntoAFileOfAnotherTagIsRefusedInTheDialog) {
    WriteTag(QStringLiteral("Mine"), "DejaVu Sans\r\n");
    WriteTag(QStringLiteral("Other"), "IPAGothic\r\nDejaVu Serif\r\n");
    Open({QStringLiteral("Mine")});
    QStringList seen;
    WhenModalOpens([&](QWidget* menu) {
        menu->close();
        WhenModalOpens([&](QWidget* dialog) {
            auto* form = qobject_cast<TNewTagForm*>(dialog);
            for (const QString& name : {QStringLiteral("Other"), QStringLiteral("Another")}) {
                form->ui->TagName->setText(name);
                seen << (form->ui->Notice->isHidden() ? QString() : form->ui->Notice->text())
                     << (form->ui->RegistButton->isEnabled() ? "enabled" : "disabled");
            }
            form->close();
        });
        window->ui->RenameTag->trigger();
    });
    QTest::mouseClick(TagButtonOf(QStringLiteral("Mine")), Qt::RightButton);
    Settle();
    EXPECT_EQ(seen, (QStringList{"同じ名前のタグファイルがあるため、この名前には変更できません。",
                                 "disabled", "", "enabled"}));
    EXPECT_EQ(BarCaptions().mid(5), QStringList{"Mine (1)"});
    EXPECT_EQ(TagBytes(QStringLiteral("Other")), "IPAGothic\r\nDejaVu Serif\r\n");
}

TEST_F(TagBarTest, TheNewTagButtonAddsARegisteredNameOnly) {
    Open();
    for (const bool registered : {false, true}) {
        WhenModalOpens([&](QWidget* dialog) {
            auto* form = qobject_cast<TNewTagForm*>(dialog);
            EXPECT_EQ(form->parentWidget(), window.get());
            QTest::keyClicks(form->ui->TagName, QStringLiteral("fresh"));
            QTest::keyClick(form->ui->TagName, registered ? Qt::Key_Return : Qt::Key_Escape);
        });
        QTest::mouseClick(NewTagButton(), Qt::LeftButton);
        Settle();
    }
    EXPECT_EQ(Pool().SaveTagNames(), QStringList{"fresh"});
    EXPECT_EQ(BarCaptions().last(), "fresh (0)");
}

// A full disk: the drop is refused with the write error, the file keeps every byte and the
// button its count.
TEST_F(TagBarTest, ADropThatCannotBeWrittenChangesNeitherFileNorCount) {
    WriteTag(Favorites, "IPAGothic\r\n");
    Open({QStringLiteral("work")});
    const QByteArray before = TagBytes(Favorites);
    {
        const testing_support::FileSizeLimit full(4);
        Drop(TileOf(DejaVu), Favorites);
        Drop(TileOf(DejaVu), QStringLiteral("work")); // a tag without a file yet
    }
    Settle();
    EXPECT_EQ(errors, (QStringList{TagPath(Favorites) + " に書き込めません",
                                   TagPath(QStringLiteral("work")) + " に書き込めません"}));
    EXPECT_EQ(TagBytes(Favorites), before);
    EXPECT_FALSE(QFileInfo::exists(TagPath(QStringLiteral("work"))));
    EXPECT_EQ(BarCaptions().mid(2), (QStringList{"ゴミ箱 (0)", "お気に入り (1)", "|", "work (0)"}));
    EXPECT_EQ(Counts().mid(1, 1), QStringList{"お気に入り=1"});
}

// A FIFO would block the start for ever and a link to /dev/zero would fill the memory: such
// tag files count as empty, are reported once, and a drop never writes over them.
TEST_F(TagBarTest, TagFilesThatAreNotReadAreReportedOnceAndNeverWrittenOver) {
    QDir().mkpath(tagDir);
    testing_support::MakeFifo(TagPath(Trash));
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), TagPath(QStringLiteral("zero"))));
    Open({QStringLiteral("zero")});
    EXPECT_EQ(BarCaptions().mid(2), (QStringList{"ゴミ箱 (0)", "お気に入り (0)", "|", "zero (0)"}));
    EXPECT_EQ(errors,
              (QStringList{TagPath(Trash) + " は通常のファイルではないため、読み込みません",
                           TagPath("zero") + " は通常のファイルではないため、読み込みません"}));
    errors.clear();

    Drop(TileOf(DejaVu), Trash);
    Drop(TileOf(DejaVu), QStringLiteral("zero"));
    Settle();
    EXPECT_EQ(errors.size(), 2);
    EXPECT_NE(TileOf(DejaVu), nullptr); // not moved to a trash that was not written
    EXPECT_FALSE(QFileInfo(TagPath(Trash)).isFile());
    EXPECT_TRUE(QFileInfo(TagPath(QStringLiteral("zero"))).isSymLink());
    EXPECT_EQ(BarCaptions().mid(2), (QStringList{"ゴミ箱 (0)", "お気に入り (0)", "|", "zero (0)"}));
}

namespace {

QStringList LongTagNames(int count) {
    QStringList names;
    for (int i = 0; i < count; ++i)
        names.append(QStringLiteral("とても長い名前のユーザータグその%1").arg(i));
    return names;
}

// Whether the button lies wholly inside the bar's visible part.
bool Shown(const TagToolBar* bar, const QWidget* button) {
    const QRect inBar(button->mapTo(bar, QPoint(0, 0)), button->size());
    return inBar.left() >= bar->ScrollLeftButton()->width() &&
           inBar.right() < bar->width() - bar->ScrollRightButton()->width();
}

} // namespace

TEST_F(TagBarTest, ABarNarrowerThanItsTagsScrollsAndNeverWidensTheWindow) {
    WriteTag(QStringLiteral("とても長い名前のユーザータグその13"), "DejaVu Sans\r\n");
    Open(LongTagNames(14));
    TagToolBar* bar = window->ui->TagBar;
    window->resize(500, 400);
    Settle();
    EXPECT_EQ(window->width(), 500) << "the tags would need far more than 500 pixels";
    EXPECT_GT(bar->sizeHint().width(), 1500);
    EXPECT_LE(bar->minimumSizeHint().width(), 40);
    EXPECT_LE(window->minimumSizeHint().width(), 200);
    ASSERT_TRUE(bar->ScrollRightButton()->isVisible());
    EXPECT_FALSE(bar->ScrollLeftButton()->isEnabled()) << "it starts at the left end";

    // A button reached from the keyboard comes into view.
    QToolButton* middle = TagButtonOf(QStringLiteral("とても長い名前のユーザータグその6"));
    EXPECT_FALSE(Shown(bar, middle));
    QFocusEvent focus(QEvent::FocusIn, Qt::TabFocusReason);
    QApplication::sendEvent(middle, &focus);
    EXPECT_TRUE(Shown(bar, middle));
    bar->ScrollBy(-bar->Offset());

    // The arrows page through the row; at the far end the right one gives up.
    QToolButton* last = TagButtonOf(QStringLiteral("とても長い名前のユーザータグその13"));
    EXPECT_FALSE(Shown(bar, last));
    for (int i = 0; i < 40 && bar->ScrollRightButton()->isEnabled(); ++i)
        bar->ScrollRightButton()->click();
    EXPECT_TRUE(Shown(bar, last));
    EXPECT_TRUE(bar->ScrollLeftButton()->isEnabled());

    // The far end stays in view across a rebuild, and its button still takes a drop.
    const int offset = bar->Offset();
    EXPECT_TRUE(Drop(TileOf(Serif), QStringLiteral("とても長い名前のユーザータグその13")));
    Settle();
    EXPECT_EQ(bar->Offset(), offset);
    EXPECT_EQ(BarCaptions().last(), "とても長い名前のユーザータグその13 (2)");

    // A wide window shows the whole row and no arrows.
    window->resize(4000, 400);
    Settle();
    EXPECT_FALSE(bar->ScrollRightButton()->isVisible());
    EXPECT_EQ(bar->Offset(), 0);
}

TEST_F(TagBarTest, ATileHeldOverAnArrowScrollsTheRowUntilItLeaves) {
    Open(LongTagNames(8));
    window->resize(400, 300);
    Settle();
    TagToolBar* bar = window->ui->TagBar;
    ASSERT_TRUE(bar->ScrollRightButton()->isVisible());
    QMimeData mime;
    mime.setData(TPanel::DragMimeType, QByteArray::number(TileOf(DejaVu)->Tag));
    QDragEnterEvent enter({4, 4}, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar->ScrollRightButton(), &enter);
    ASSERT_TRUE(testing_support::WaitUntil([bar] { return bar->Offset() > 100; }));
    QDragLeaveEvent leave;
    QApplication::sendEvent(bar->ScrollRightButton(), &leave);
    const int stopped = bar->Offset();
    QTest::qWait(200);
    EXPECT_EQ(bar->Offset(), stopped);

    // Nothing is ever dropped on an arrow.
    QDropEvent drop({4, 4}, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(bar->ScrollRightButton(), &drop);
    EXPECT_FALSE(drop.isAccepted());

    QApplication::sendEvent(bar->ScrollLeftButton(), &enter);
    ASSERT_TRUE(testing_support::WaitUntil([bar] { return bar->Offset() == 0; }));
    QApplication::sendEvent(bar->ScrollLeftButton(), &leave);
}

TEST_F(TagBarTest, ThousandsOfTagsGetAButtonEachAndAnAbsurdTotalNone) {
    Open(LongTagNames(3000));
    EXPECT_EQ(window->ui->TagBar->Buttons().size(), 2 + 3 + 3000);
    EXPECT_LE(window->minimumSizeHint().width(), 200);
    window->close();

    // A damaged total far beyond the keys there are makes no empty tags.
    testing_support::WriteBytes(tagDir + QStringLiteral("/../Glyphorama.ini"),
                                "[NetWork]\nVersionCheck=0\n[tags]\ntotal=2147483647\n0=a\n2=c\n");
    window = std::make_unique<TGlyphorama>();
    window->show();
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !Pool().Building; }, 60000));
    EXPECT_EQ(Pool().SaveTagNames(), (QStringList{"a", "", "c"}));
    EXPECT_EQ(window->ui->TagBar->Buttons().size(), 2 + 3 + 3);
}
