// The sample text, the drawing modes and the mouse wheel.
#include "SampleViewFixture.h"

#include "fonts/TileSample.h"
#include "platform/ImageList.h"

#include <QApplication>
#include <QScrollBar>
#include <QTest>
#include <QWheelEvent>

using namespace sample_view_test;

namespace {

int ExpectedWidth(const TPanel* tile) {
    return tile->Sample() ? tile->Sample()->Width() + 20 : -1;
}

// A wheel turn as the desktop delivers it to the widget under the pointer: through the
// application, which passes it on to the parents until someone takes it.
void Wheel(QWidget* widget, int delta) {
    const QPointF local = QRectF(widget->rect()).center();
    QWheelEvent event(local, widget->mapToGlobal(local), QPoint(), QPoint(0, delta), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(widget, &event);
}

} // namespace

class SampleTextTest : public SampleViewTest {
protected:
    QLineEdit* Edit() const { return Part<QLineEdit>("SampleText"); }
    void Trigger(const char* action) const { Part<QAction>(action)->trigger(); }
    int ModeImage() const {
        return platform::ButtonImage(Part<QToolButton>("SwitchSampleViewModeButton"));
    }
    QScrollBar* Bar() const { return ScrollBox()->verticalScrollBar(); }
};

TEST_F(SampleTextTest, TheLeftButtonAppliesTheTextAndTheRightButtonClearsIt) {
    OpenBuilt({Family(QStringLiteral("DejaVu Sans")), Family(QStringLiteral("DejaVu Serif")),
               Family(QStringLiteral("IPAGothic"))});
    const QString text = QStringLiteral("Aa あ亜");
    Edit()->setText(text);
    Trigger("SampleTextLeftButton");
    EXPECT_EQ(Pool().Options.SampleString, text);
    const std::vector<TPanel*> tiles = Tiles();
    for (size_t i = 0; i < tiles.size(); ++i) {
        const TFontUnit& unit = *Pool().ViewList[i];
        SCOPED_TRACE(unit.Name.toStdString());
        EXPECT_EQ(tiles[i]->Caption(), text);
        EXPECT_EQ(tiles[i]->Sample()->Text(), text);
        EXPECT_EQ(tiles[i]->width(), ExpectedWidth(tiles[i]));
        EXPECT_EQ(tiles[i]->height(), 82);
        EXPECT_EQ(unit.NameLabel->width(), tiles[i]->width() - 5); // the label follows
    }
    // DejaVu has no kana or kanji: the label says how many characters are missing.
    EXPECT_EQ(Pool().ViewList[0]->NameLabel->Caption(), QStringLiteral("DejaVu Sans — 2 文字なし"));
    EXPECT_EQ(Pool().ViewList[1]->NameLabel->Caption(),
              QStringLiteral("DejaVu Serif — 2 文字なし"));
    EXPECT_EQ(Pool().ViewList[2]->NameLabel->Caption(), QStringLiteral("IPAGothic"));
    // The flow follows the new widths.
    EXPECT_EQ(tiles[1]->x(), tiles[0]->geometry().right() + 1 + 10);

    Trigger("SampleTextRightButton");
    EXPECT_TRUE(Edit()->text().isEmpty());
    EXPECT_TRUE(Pool().Options.SampleString.isEmpty());
    for (size_t i = 0; i < tiles.size(); ++i) {
        const QString& name = Pool().ViewList[i]->Name;
        EXPECT_EQ(tiles[i]->Caption(), name);
        EXPECT_EQ(tiles[i]->width(), ExpectedWidth(tiles[i]));
        EXPECT_EQ(Pool().ViewList[i]->NameLabel->Caption(), name);
    }
}

TEST_F(SampleTextTest, EnterInTheEditAppliesTheText) {
    OpenBuilt(ManyFamilies(2));
    Edit()->setFocus();
    Edit()->setText(QStringLiteral("Sample"));
    QTest::keyClick(Edit(), Qt::Key_Return);
    EXPECT_EQ(Tiles()[0]->Caption(), QStringLiteral("Sample"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SampleTextTest, NewTilesTakeTheStoredTextAndMode) {
    OpenBuilt(ManyFamilies(2));
    Pool().ApplySampleText(QStringLiteral("Kept"));
    Part<QToolButton>("SwitchSampleViewModeButton")->click();
    window->SelectFontType(5, true);
    WaitForBuild();
    for (TPanel* tile : Tiles()) {
        EXPECT_EQ(tile->Caption(), QStringLiteral("Kept"));
        EXPECT_EQ(tile->Color(), QColor(Qt::black));
    }
}

TEST_F(SampleTextTest, TextAndModeAreRefusedDuringABuildAndTakeEffectAfterIt) {
    Open(ManyFamilies(1000));
    WaitForTiles(2);
    ASSERT_TRUE(Pool().Building);
    Edit()->setText(QStringLiteral("Later"));
    Trigger("SampleTextLeftButton");
    Pool().SetSampleViewMode(1);
    EXPECT_TRUE(Pool().Options.SampleString.isEmpty());
    EXPECT_EQ(Pool().Options.SampleViewMode, 0);
    EXPECT_EQ(Tiles()[0]->Caption(), QStringLiteral("Family 000"));
    EXPECT_EQ(Tiles()[0]->Color(), QColor(Qt::white));
    WaitForBuild();
    EXPECT_EQ(Edit()->text(), QStringLiteral("Later")); // the edit keeps what was typed
    Trigger("SampleTextLeftButton");
    Pool().SetSampleViewMode(1);
    for (TPanel* tile : Tiles()) {
        EXPECT_EQ(tile->Caption(), QStringLiteral("Later"));
        EXPECT_EQ(tile->Color(), QColor(Qt::black));
    }
}

TEST_F(SampleTextTest, AfterACancelledBuildOnlyTheBuiltTilesChange) {
    Open(ManyFamilies(300));
    WaitForTiles(3);
    Pool().CancelBuild();
    WaitForBuild();
    const int built = TileCount();
    ASSERT_LT(built, 300);
    Pool().ApplySampleText(QStringLiteral("Text"));
    EXPECT_EQ(Pool().ToggleSampleViewMode(), 0);
    EXPECT_EQ(TileCount(), built); // no tile appears for the others
    for (TPanel* tile : Tiles()) {
        EXPECT_EQ(tile->Caption(), QStringLiteral("Text"));
        EXPECT_EQ(tile->Color(), QColor(Qt::black));
        EXPECT_EQ(tile->FontColor(), QColor(Qt::white));
    }
}

TEST_F(SampleTextTest, TheModeButtonSwapsColoursAndItsImage) {
    OpenBuilt(ManyFamilies(2));
    auto* button = Part<QToolButton>("SwitchSampleViewModeButton");
    EXPECT_EQ(ModeImage(), 5);
    button->click();
    EXPECT_EQ(Pool().Options.SampleViewMode, 1);
    EXPECT_EQ(ModeImage(), 6);
    for (TPanel* tile : Tiles()) {
        EXPECT_EQ(tile->Color(), QColor(Qt::black));
        EXPECT_EQ(tile->FontColor(), QColor(Qt::white));
        EXPECT_EQ(tile->findChild<TPanel*>()->FontColor(), QColor(0x80, 0x80, 0x80));
    }
    button->click();
    EXPECT_EQ(Pool().Options.SampleViewMode, 0);
    EXPECT_EQ(ModeImage(), 5);
    EXPECT_EQ(Tiles()[0]->Color(), QColor(Qt::white));
    EXPECT_EQ(Tiles()[0]->FontColor(), QColor(Qt::black));
}

TEST_F(SampleTextTest, AnUnknownModeColoursNothingAndTheButtonDoesNothing) {
    OpenBuilt(ManyFamilies(2), "[settings]\nsample_view_mode=7\n");
    EXPECT_EQ(Pool().Options.SampleViewMode, 7);
    EXPECT_EQ(ModeImage(), 5);
    EXPECT_FALSE(Tiles()[0]->Color().isValid());
    EXPECT_FALSE(Tiles()[0]->FontColor().isValid());
    Part<QToolButton>("SwitchSampleViewModeButton")->click();
    EXPECT_EQ(Pool().Options.SampleViewMode, 7);
    EXPECT_EQ(ModeImage(), 5);
    EXPECT_EQ(Pool().ToggleSampleViewMode(), 7);
}

TEST_F(SampleTextTest, EachWheelEventScrollsTheViewOnce) {
    OpenBuilt(ManyFamilies(60));
    ASSERT_GT(Bar()->maximum(), 100);
    TPanel* tile = Tiles()[0];
    EXPECT_EQ(Bar()->value(), 0);
    Wheel(tile, -120); // towards the user: down
    EXPECT_EQ(Bar()->value(), 32);
    Wheel(tile->findChild<TPanel*>(), -1); // the step does not depend on the delta
    EXPECT_EQ(Bar()->value(), 64);
    Wheel(tile, 480);
    EXPECT_EQ(Bar()->value(), 32);
    // Wherever the pointer or the focus is.
    Edit()->setFocus();
    Wheel(Edit(), -120);
    EXPECT_EQ(Bar()->value(), 64);
    Wheel(Part<QToolButton>("ShowAll"), 120);
    EXPECT_EQ(Bar()->value(), 32);
    Wheel(window->StatusPanel(3), -120);
    EXPECT_EQ(Bar()->value(), 64);
    Wheel(Bar(), -120);
    EXPECT_EQ(Bar()->value(), 96);
}

TEST_F(SampleTextTest, TheWheelStopsAtEitherEnd) {
    OpenBuilt(ManyFamilies(60));
    TPanel* tile = Tiles()[0];
    Wheel(tile, 120);
    EXPECT_EQ(Bar()->value(), 0);
    Bar()->setValue(Bar()->maximum() - 10);
    Wheel(tile, -120);
    EXPECT_EQ(Bar()->value(), Bar()->maximum());
    Wheel(tile, -120);
    EXPECT_EQ(Bar()->value(), Bar()->maximum());
}

TEST_F(SampleTextTest, ASidewaysWheelLeavesTheViewAlone) {
    OpenBuilt(ManyFamilies(60));
    const QPointF local(5, 5);
    QWheelEvent event(local, Tiles()[0]->mapToGlobal(local), QPoint(), QPoint(120, 0), Qt::NoButton,
                      Qt::NoModifier, Qt::NoScrollPhase, false);
    QApplication::sendEvent(Tiles()[0], &event);
    EXPECT_EQ(Bar()->value(), 0);
}
