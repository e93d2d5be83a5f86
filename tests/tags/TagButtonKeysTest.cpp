// A tag button from the keyboard (its menu, its rename) and as the target of a dragged tile.
#include "TagFixture.h"

#include "fonts/Panel.h"
#include "tags/NewTagForm.h"
#include "tags/TagButton.h"
#include "ui_Glyphorama.h"
#include "ui_NewTagForm.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QTest>
#include <QTimer>

using namespace tag_test;

namespace {

class TagButtonTest : public TagTest {};

} // namespace

TEST_F(TagButtonTest, MenuKeysOpenTheTagMenuAndF2RenamesAUserTagOnly) {
    Open({QStringLiteral("a")});
    QToolButton* button = TagButtonOf(QStringLiteral("a"));
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QWidget* opened = nullptr;
        WhenModalOpens([&](QWidget* menu) {
            opened = menu;
            EXPECT_TRUE(window->ui->RenameTag->isEnabled());
            menu->close();
        });
        button->setFocus();
        QTest::keyClick(button, key, modifiers);
        EXPECT_EQ(opened, window->TagMenu) << key;
    }

    WhenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<TNewTagForm*>(dialog);
        ASSERT_NE(form, nullptr);
        EXPECT_EQ(form->ui->TagName->text(), QStringLiteral("a"));
        form->ui->TagName->setText(QStringLiteral("b"));
        QTest::mouseClick(form->ui->RegistButton, Qt::LeftButton);
    });
    QTest::keyClick(button, Qt::Key_F2);
    Settle();
    EXPECT_TRUE(BarCaptions().contains(QStringLiteral("b (0)")))
        << BarCaptions().join(u' ').toStdString();

    // The fixed tags keep their names: no dialog opens (one would be closed here).
    bool asked = false;
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [&asked] {
        if (QWidget* dialog = QApplication::activeModalWidget()) {
            asked = true;
            dialog->close();
        }
    });
    guard.start(200);
    QTest::keyClick(TagButtonOf(Trash), Qt::Key_F2);
    EXPECT_FALSE(asked);
}

TEST_F(TagButtonTest, ADraggedTileOverAButtonLightsItUntilItLeavesOrDrops) {
    Open({QStringLiteral("a")});
    auto* button = qobject_cast<TagButton*>(TagButtonOf(QStringLiteral("a")));
    TPanel* tile = TileOf(DejaVu);
    QMimeData mime;
    mime.setData(TPanel::DragMimeType, QByteArray::number(tile->Tag));
    const QPoint centre = button->rect().center();
    const auto enter = [&] {
        QDragEnterEvent event(centre, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &event);
    };

    // Another program's drag carries no tile of ours.
    enter();
    EXPECT_FALSE(button->DropHighlighted());

    TagButton::DragSource = [tile](const QDropEvent*) -> QObject* { return tile; };
    enter();
    EXPECT_TRUE(button->DropHighlighted());
    const QPoint edge(1, button->height() / 2);
    EXPECT_EQ(button->grab().toImage().pixelColor(edge), TPanel::SelectionColor(true));
    QDragLeaveEvent leave;
    QApplication::sendEvent(button, &leave);
    EXPECT_FALSE(button->DropHighlighted());
    EXPECT_NE(button->grab().toImage().pixelColor(edge), TPanel::SelectionColor(true));

    enter();
    QDropEvent drop(centre, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &drop);
    EXPECT_FALSE(button->DropHighlighted());
    EXPECT_EQ(TagBytes(QStringLiteral("a")), "DejaVu Sans\r\n");
}
