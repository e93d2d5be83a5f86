// The name search over the views, the preview size and its setting, and the keyboard on the
// tiles, in the real main window.
#include "SampleViewFixture.h"

#include "sampleview/FavouriteMarks.h"
#include "sampleview/NoMatchNotice.h"
#include "sampleview/PreviewSize.h"
#include "sampleview/TileKeyboard.h"
#include "sampleview/TileOrder.h"
#include "ui/SampleViewControls.h"
#include "ui_Glyphorama.h"

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QMenu>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace sample_view_test;

namespace {

class SampleViewControlsTest : public SampleViewTest {
protected:
    SampleViewControls& Controls() const { return *window->findChild<SampleViewControls*>(); }
    void Search(const QString& text) const { Controls().SearchField()->setText(text); }
    // The families whose tiles are shown, in flow order.
    QStringList Shown() const {
        QStringList names;
        for (const TFontUnit* unit : Pool().ViewList)
            if (unit->Tile && !unit->Tile->isHidden())
                names.append(unit->Name);
        return names;
    }
    QString Focused() const {
        for (const TFontUnit* unit : Pool().ViewList)
            if (unit->Tile && unit->Tile == QApplication::focusWidget())
                return unit->Name;
        return QString();
    }
    void Key(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) const {
        QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key), modifiers);
    }
    QByteArray Settings() const {
        return testing_support::ReadBytes(dataDir + QStringLiteral("/Glyphorama.ini"));
    }
    // Closes the window and opens it again over the same settings.
    void Reopen(const std::vector<platform::FontFamilyRecord>& families) {
        window->close();
        window.reset();
        TFontPool::FontSource = [families] { return families; };
        window = std::make_unique<TGlyphorama>();
        window->show();
        WaitForBuild();
    }
};

std::vector<platform::FontFamilyRecord> Mixed() {
    return {Family(QStringLiteral("Alpha Sans")), Family(QStringLiteral("Beta Serif")),
            Family(QStringLiteral("Gamma Sans")),
            Family(QStringLiteral("IPAGothic"), platform::SHIFTJIS_CHARSET,
                   platform::VARIABLE_PITCH, {QStringLiteral("IPAゴシック")})};
}

} // namespace

TEST_F(SampleViewControlsTest, SearchNarrowsEachViewAndCountsWhatItShows) {
    WriteTag(QStringLiteral("ゴミ箱"), {QStringLiteral("Gamma Sans")});
    OpenBuilt(Mixed());
    Search(QStringLiteral("ＳＡＮＳ"));
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("Alpha Sans")}); // Gamma is in the trash
    EXPECT_EQ(StatusText(0), QStringLiteral("1 fonts"));
    // The gaps close: the one tile shown is first in the flow.
    EXPECT_EQ(TileOf(QStringLiteral("Alpha Sans"))->pos(), QPoint(5, 3));

    window->ShowAllClick();
    WaitForBuild();
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("Alpha Sans")});
    Search(QStringLiteral("ゴシック"));
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("IPAGothic")});
    EXPECT_EQ(TileOf(QStringLiteral("IPAGothic"))->pos(), QPoint(5, 3));

    // The trash's own view shows its fonts, search or not.
    Search(QStringLiteral("sans"));
    Pool().RebuildView(QStringLiteral("ゴミ箱"));
    WaitForBuild();
    EXPECT_EQ(Shown(), QStringList{QStringLiteral("Gamma Sans")});
    EXPECT_EQ(StatusText(0), QStringLiteral("1 fonts"));
    Search(QStringLiteral("Alpha"));
    EXPECT_EQ(StatusText(0), QStringLiteral("0 fonts"));

    window->ShowAllClick();
    WaitForBuild();
    Search(QString());
    EXPECT_EQ(Shown().size(), 3);
    EXPECT_EQ(StatusText(0), QStringLiteral("3 fonts"));
}

TEST_F(SampleViewControlsTest, TextTypedDuringABuildHoldsForTheTilesBuiltAfterIt) {
    Open(ManyFamilies(300));
    Search(QStringLiteral("family 01"));
    ASSERT_TRUE(Pool().Building);
    WaitForBuild();
    EXPECT_EQ(TileCount(), 300);
    // Each word anywhere in the name: 001, 010 to 019, 101 and 201.
    EXPECT_EQ(Shown().size(), 13);
    EXPECT_EQ(StatusText(0), QStringLiteral("13 fonts"));
}

TEST_F(SampleViewControlsTest, EscClearsTheSearchFirstAndThenClosesTheWindow) {
    OpenBuilt(Mixed());
    QLineEdit* field = Controls().SearchField();
    field->setFocus();
    Search(QStringLiteral("Alpha"));
    Key(Qt::Key_Escape);
    EXPECT_TRUE(field->text().isEmpty());
    EXPECT_TRUE(window->isVisible());
    // From a tile, which the close destroys, as it does every tile.
    Controls().Keyboard()->Focus(Tiles()[0]);
    Key(Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(SampleViewControlsTest, ArrowsWalkTheTilesAndKeysActOnTheFocusedOne) {
    OpenBuilt(ManyFamilies(12));
    window->ui->FlowPanel->setFocus(Qt::TabFocusReason); // as Tab does
    EXPECT_EQ(Focused(), QStringLiteral("Family 000"));
    EXPECT_NE(window->ui->FlowPanel->findChild<QWidget*>(QStringLiteral("TileFocusMark")), nullptr);
    Key(Qt::Key_Right);
    EXPECT_EQ(Focused(), QStringLiteral("Family 001"));
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), QStringLiteral("Family 001"));
    Key(Qt::Key_Down);
    TPanel* below = qobject_cast<TPanel*>(QApplication::focusWidget());
    ASSERT_NE(below, nullptr);
    EXPECT_GT(below->y(), TileOf(QStringLiteral("Family 001"))->y());
    Key(Qt::Key_End);
    EXPECT_EQ(Focused(), QStringLiteral("Family 011"));
    Key(Qt::Key_Home);
    EXPECT_EQ(Focused(), QStringLiteral("Family 000"));

    // Hidden tiles are skipped.
    Search(QStringLiteral("family 00"));
    Controls().Keyboard()->Focus(TileOf(QStringLiteral("Family 009")));
    Key(Qt::Key_Right);
    EXPECT_EQ(Focused(), QStringLiteral("Family 009"));
    Search(QString());

    Controls().Keyboard()->Focus(TileOf(QStringLiteral("Family 002")));
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), QStringLiteral("Family 002"));
    Key(Qt::Key_D, Qt::ControlModifier);
    EXPECT_TRUE(FavouriteMarks::IsMarked(TileOf(QStringLiteral("Family 002"))));
    Key(Qt::Key_Delete);
    ASSERT_TRUE(testing_support::WaitUntil(
        [this] { return !ViewNames().contains(QStringLiteral("Family 002")); }));
    QCoreApplication::processEvents();
    // The keyboard stays in the flow, on the tile that took the gone one's place.
    EXPECT_EQ(Focused(), QStringLiteral("Family 003"));
    const QString trash =
        QString::fromUtf8(testing_support::ReadBytes(dataDir + QStringLiteral("/tags/ゴミ箱.tag")));
    EXPECT_EQ(trash, QStringLiteral("Family 002\r\n"));

    // The tile's menu from the keyboard.
    for (const auto& [key, modifiers] :
         {std::pair{Qt::Key_Menu, Qt::NoModifier}, std::pair{Qt::Key_F10, Qt::ShiftModifier}}) {
        window->ContextMenuTag = -1;
        Key(key, modifiers);
        EXPECT_TRUE(window->ContextMenu->isVisible());
        EXPECT_EQ(window->ContextMenuTag, TileOf(QStringLiteral("Family 003"))->Tag);
        window->ContextMenu->hide();
    }
}

// Tiles carry no name of their own until they take the focus; a screen reader asks their
// accessible interfaces, which look the family up.
TEST_F(SampleViewControlsTest, ScreenReadersGetEachTilesFamilyWithoutItHavingTheFocus) {
    OpenBuilt(ManyFamilies(12));
    for (int i : {0, 7}) {
        QAccessibleInterface* tile = QAccessible::queryAccessibleInterface(Tiles()[i]);
        ASSERT_NE(tile, nullptr);
        EXPECT_EQ(tile->role(), QAccessible::ListItem);
        EXPECT_EQ(tile->text(QAccessible::Name), Pool().ViewList[i]->Name);
    }
}

TEST_F(SampleViewControlsTest, SizeStepsResizeTheTilesAndOnlyAChangedSizeIsSaved) {
    const auto families = ManyFamilies(3);
    OpenBuilt(families);
    TPanel* tile = Tiles()[0];
    EXPECT_EQ(tile->height(), 82);
    const int width = tile->width();
    Reopen(families);
    EXPECT_FALSE(Settings().contains("preview"));

    Controls().StepSize(1);
    // Ctrl with the wheel, anywhere over the window, one notch a step.
    QWheelEvent wheel(QPointF(10, 10), QPointF(10, 10), QPoint(), QPoint(0, 120), Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(window->ui->ScrollBox->viewport(), &wheel);
    tile = Tiles()[0];
    EXPECT_EQ(Controls().Size()->Value(), 24);
    EXPECT_EQ(tile->height(), 106);
    EXPECT_GT(tile->width(), width);
    EXPECT_EQ(window->ui->ScrollBox->verticalScrollBar()->value(), 0); // not scrolled
    Reopen(families);
    EXPECT_TRUE(Settings().endsWith("[preview]\nsample_point_size=24\n"));
    EXPECT_EQ(Tiles()[0]->height(), 106);

    Controls().ResetSize();
    EXPECT_EQ(Tiles()[0]->height(), 82);
    Reopen(families);
    // Back at the default: kept as such, not left at the old size.
    EXPECT_TRUE(Settings().endsWith("sample_point_size=16\n"));
    EXPECT_EQ(Controls().Size()->Value(), 16);
}

TEST_F(SampleViewControlsTest, SizeChangesAreRefusedWhileTilesAreBuilt) {
    Open(ManyFamilies(300));
    ASSERT_TRUE(Pool().Building);
    Controls().StepSize(1);
    WaitForBuild();
    EXPECT_EQ(Controls().Size()->Value(), 16);
    EXPECT_EQ(Tiles().back()->height(), 82);
}

TEST_F(SampleViewControlsTest, ASearchWithNoMatchHereSaysSoAndCountsTheOtherViews) {
    WriteTag(QStringLiteral("ゴミ箱"), {QStringLiteral("IPAPGothic")});
    auto families = Mixed();
    families.push_back(Family(QStringLiteral("IPAPGothic"), platform::SHIFTJIS_CHARSET));
    OpenBuilt(families); // the Western view
    NoMatchNotice* notice = Controls().NoMatch();
    Search(QStringLiteral("Alpha"));
    EXPECT_FALSE(notice->isVisible());

    // Gothic is only among the Japanese fonts, and the trashed one counts nowhere.
    Search(QStringLiteral("gothic"));
    ASSERT_TRUE(notice->isVisible());
    EXPECT_EQ(notice->textFormat(), Qt::PlainText);
    EXPECT_EQ(notice->geometry(), ScrollBox()->viewport()->rect());
    EXPECT_EQ(notice->text(), QStringLiteral("このビューには一致するフォントがありません\n"
                                             "日本語フォント で 1 件、全て で 1 件"));
    // Nowhere at all.
    Search(QStringLiteral("Helvetica"));
    EXPECT_EQ(notice->text(), QStringLiteral("このビューには一致するフォントがありません\n"
                                             "ほかのビューにもありません"));
    // In the view of a tag every view of the filter buttons is another one.
    Pool().RebuildView(QStringLiteral("お気に入り"));
    WaitForBuild();
    Search(QStringLiteral("sans"));
    EXPECT_TRUE(notice->text().endsWith(QStringLiteral("欧文フォント で 2 件、全て で 2 件")));
    Search(QString());
    EXPECT_FALSE(notice->isVisible());
}

TEST_F(SampleViewControlsTest, TilesOrderedByFewestMissingAndOnlyThatOrderSaved) {
    const std::vector<platform::FontFamilyRecord> families{
        Family(QStringLiteral("DejaVu Sans")), Family(QStringLiteral("DejaVu Serif")),
        Family(QStringLiteral("IPAGothic"), platform::SHIFTJIS_CHARSET),
        Family(QStringLiteral("IPAMincho"), platform::SHIFTJIS_CHARSET)};
    const QStringList byName{QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif"),
                             QStringLiteral("IPAGothic"), QStringLiteral("IPAMincho")};
    OpenBuilt(families, "[settings]\ncurrent_font_type=5\n");
    auto* item = window->findChild<QAction*>(QStringLiteral("OrderByMissingItem"));
    ASSERT_NE(item, nullptr);
    EXPECT_TRUE(window->ui->ToolMenu->actions().contains(item));
    // Without a sample text there is nothing to lack: the order stays by name.
    item->trigger();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), byName);

    window->ui->SampleText->setText(QStringLiteral("Aあ"));
    window->SampleTextLeftButtonClick();
    WaitForBuild();
    // DejaVu lacks "あ"; those lacking as many keep their order.
    EXPECT_EQ(ViewNames(),
              QStringList({QStringLiteral("IPAGothic"), QStringLiteral("IPAMincho"),
                           QStringLiteral("DejaVu Sans"), QStringLiteral("DejaVu Serif")}));
    Reopen(families);
    EXPECT_TRUE(Settings().contains("[preview]\ntile_order=1\n"));
    EXPECT_TRUE(item = window->findChild<QAction*>(QStringLiteral("OrderByMissingItem")));
    EXPECT_TRUE(item->isChecked());

    item->trigger();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), byName);
    Reopen(families);
    // Back at the default, the key is gone and the rest of the file as it was.
    EXPECT_FALSE(Settings().contains("tile_order"));
    EXPECT_TRUE(Settings().contains("current_font_type=5"));
    EXPECT_EQ(Controls().Order()->Current(), TileOrder::ByName);
}

// The keys reach the window as typed: in the sample field, on a tile. Each usual zoom key
// works, however the platform's zoom sequences overlap with the explicit ones.
TEST_F(SampleViewControlsTest, EveryUsualZoomKeyStepsTheSizeShownInTheStatusBar) {
    OpenBuilt(ManyFamilies(3));
    EXPECT_EQ(StatusText(3), QStringLiteral("16 pt"));
    const Qt::KeyboardModifiers ctrl = Qt::ControlModifier;
    struct Press {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        int size;
    };
    const Press presses[] = {{Qt::Key_Plus, ctrl, 20},
                             {Qt::Key_Plus, ctrl | Qt::ShiftModifier, 24},
                             {Qt::Key_Equal, ctrl, 32},
                             {Qt::Key_Plus, ctrl | Qt::KeypadModifier, 48},
                             {Qt::Key_Minus, ctrl, 32},
                             {Qt::Key_Minus, ctrl | Qt::KeypadModifier, 24},
                             {Qt::Key_0, ctrl, 16},
                             {Qt::Key_Minus, ctrl, 14},
                             {Qt::Key_0, ctrl | Qt::KeypadModifier, 16}};
    for (QWidget* focus :
         {static_cast<QWidget*>(window->ui->SampleText), static_cast<QWidget*>(Tiles()[0])}) {
        focus->setFocus();
        for (const Press& press : presses) {
            Key(press.key, press.modifiers);
            EXPECT_EQ(Controls().Size()->Value(), press.size)
                << QKeySequence(press.key | press.modifiers).toString().toStdString() << " in "
                << focus->metaObject()->className();
            EXPECT_EQ(StatusText(3), QStringLiteral("%1 pt").arg(press.size));
        }
    }
    // Typed into the field, the keys changed its text in no way.
    EXPECT_TRUE(window->ui->SampleText->text().isEmpty());
    WaitForResample();
    EXPECT_EQ(Tiles()[0]->height(), 82); // as at the default size
}

// Pressed without a sample text, the coverage button can filter nothing: it looks greyed and
// its hint says what it waits for, until a text comes.
TEST_F(SampleViewControlsTest, CoverageButtonWithoutASampleSaysItNeedsOne) {
    OpenBuilt(Mixed());
    auto* button = Part<QToolButton>("CoverageFilterButton");
    const QImage normal = button->grab().toImage();
    button->click();
    WaitForBuild();
    EXPECT_TRUE(button->toolTip().contains(QStringLiteral("サンプルテキストを入力")));
    EXPECT_NE(button->grab().toImage(), normal);
    window->ui->SampleText->setText(QStringLiteral("かな"));
    window->SampleTextLeftButtonClick();
    WaitForBuild();
    EXPECT_FALSE(button->toolTip().contains(QStringLiteral("サンプルテキストを入力")));
    button->click(); // released
    WaitForBuild();
    EXPECT_EQ(button->grab().toImage(), normal);
}

// At the largest size a tile is wider than the window: it is narrowed to the view, so that its
// name stays in sight, and gets its own width back at a smaller size or in a wider window.
TEST_F(SampleViewControlsTest, TilesNeverReachBeyondTheViewAtAnySize) {
    OpenBuilt({Family(QStringLiteral("A Family With A Rather Long Name"))});
    window->resize(500, 500);
    QApplication::processEvents();
    const int own = Tiles()[0]->width();
    const auto expectInView = [this] {
        const int view = ScrollBox()->viewport()->width();
        for (const TPanel* tile : Tiles()) {
            EXPECT_LE(tile->geometry().right(), view);
            for (const TPanel* label : tile->findChildren<TPanel*>())
                EXPECT_LE(tile->mapTo(FlowPanel(), label->geometry().topRight()).x(), view);
        }
    };
    for (int step = 0; step < 10; ++step) {
        Controls().StepSize(1);
        WaitForResample();
    }
    ASSERT_EQ(Controls().Size()->Value(), 96);
    expectInView();
    window->resize(420, 500);
    QApplication::processEvents();
    expectInView();
    Controls().ResetSize();
    WaitForResample();
    EXPECT_EQ(Tiles()[0]->width(), own);
}
