// A tag button from the keyboard (its menu, its rename) and under a dragged tile.
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

TEST_F(TagTest, TagButtonKeysOpenItsMenuAndF2RenamesAUserTagOnly) {
    Open({QStringLiteral("a")});
    QToolButton* button = TagButtonOf(QStringLiteral("a"));
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        QWidget* opened = nullptr;
        WhenModalOpens([&opened](QWidget* menu) {
            opened = menu;
            menu->close();
        });
        QTest::keyClick(button, key, modifiers);
        EXPECT_EQ(opened, window->TagMenu) << key;
    }
    WhenModalOpens([](QWidget* dialog) {
        auto* form = qobject_cast<TNewTagForm*>(dialog);
        ASSERT_NE(form, nullptr);
        form->ui->TagName->setText(QStringLiteral("b"));
        QTest::mouseClick(form->ui->RegistButton, Qt::LeftButton);
    });
    QTest::keyClick(button, Qt::Key_F2);
    Settle();
    EXPECT_TRUE(BarCaptions().contains(QStringLiteral("b (0)")));

    // A fixed tag keeps its name: a dialog, were one to open, would be closed and seen here.
    bool asked = false;
    QTimer guard;
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

TEST_F(TagTest, ATagButtonLightsUpUnderADraggedTileUntilItLeavesOrDrops) {
    Open({QStringLiteral("a")});
    auto* button = qobject_cast<TagButton*>(TagButtonOf(QStringLiteral("a")));
    TPanel* tile = TileOf(DejaVu);
    QMimeData mime;
    mime.setData(TPanel::DragMimeType, QByteArray::number(tile->Tag));
    const QPoint edge(1, button->height() / 2);
    const auto enter = [&] {
        QDragEnterEvent event(edge, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(button, &event);
        return button->grab().toImage().pixelColor(edge) == TPanel::SelectionColor(true);
    };
    EXPECT_FALSE(enter()) << "another program's drag, without a tile of ours";
    TagButton::DragSource = [tile](const QDropEvent*) -> QObject* { return tile; };
    EXPECT_TRUE(enter());
    QDragLeaveEvent leave;
    QApplication::sendEvent(button, &leave);
    EXPECT_NE(button->grab().toImage().pixelColor(edge), TPanel::SelectionColor(true));
    EXPECT_TRUE(enter());
    QDropEvent drop(edge, Qt::MoveAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &drop);
    EXPECT_FALSE(button->DropHighlighted());
    EXPECT_EQ(TagBytes(QStringLiteral("a")), "DejaVu Sans\r\n");
}
