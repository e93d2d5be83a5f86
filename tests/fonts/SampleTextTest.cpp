// The sample text, the drawing modes and the mouse wheel.
#include "SampleViewFixture.h"

#include "fontengine/TileText.h"
#include "fontengine/TileTextFactory.h"
#include "fonts/FirstPaintBudget.h"
#include "fonts/StepwiseRemeasure.h"
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
    WaitForResample();
    EXPECT_EQ(Pool().Options.SampleString, text);
    const std::vector<TPanel*> tiles = Tiles();
    for (size_t i = 0; i < tiles.size(); ++i) {
        const TFontUnit& unit = *Pool().ViewList[i];
        SCOPED_TRACE(unit.Name.toStdString());
        EXPECT_EQ(tiles[i]->Caption(), text);
        EXPECT_EQ(tiles[i]->Sample()->Text(), text);
        EXPECT_EQ(tiles[i]->width(), ExpectedWidth(tiles[i]));
        EXPECT_EQ(tiles[i]->height(), 82);
        EXPECT_EQ(tiles[i]->NameLabelRect().width(), tiles[i]->width() - 5); // the label follows
    }
    // DejaVu has no kana or kanji: the label says how many characters are missing.
    EXPECT_EQ(tiles[0]->NameLabelText(), QStringLiteral("DejaVu Sans — 2 文字なし"));
    EXPECT_EQ(tiles[1]->NameLabelText(), QStringLiteral("DejaVu Serif — 2 文字なし"));
    EXPECT_EQ(tiles[2]->NameLabelText(), QStringLiteral("IPAGothic"));
    // The flow follows the new widths.
    EXPECT_EQ(tiles[1]->x(), tiles[0]->geometry().right() + 1 + 10);

    Trigger("SampleTextRightButton");

    WaitForResample();
    EXPECT_TRUE(Edit()->text().isEmpty());
    EXPECT_TRUE(Pool().Options.SampleString.isEmpty());
    for (size_t i = 0; i < tiles.size(); ++i) {
        const QString& name = Pool().ViewList[i]->Name;
        EXPECT_EQ(tiles[i]->Caption(), name);
        EXPECT_EQ(tiles[i]->width(), ExpectedWidth(tiles[i]));
        EXPECT_EQ(tiles[i]->NameLabelText(), name);
    }
}

TEST_F(SampleTextTest, EnterInTheEditAppliesTheText) {
    OpenBuilt(ManyFamilies(2));
    Edit()->setFocus();
    Edit()->setText(QStringLiteral("Sample"));
    QTest::keyClick(Edit(), Qt::Key_Return);
    WaitForResample();
    EXPECT_EQ(Tiles()[0]->Caption(), QStringLiteral("Sample"));
    EXPECT_TRUE(window->isVisible());
}

TEST_F(SampleTextTest, NewTilesTakeTheStoredTextAndMode) {
    OpenBuilt(ManyFamilies(2));
    Pool().ApplySampleText(QStringLiteral("Kept"));
    WaitForResample();
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
    WaitForResample();
    Pool().SetSampleViewMode(1);
    EXPECT_TRUE(Pool().Options.SampleString.isEmpty());
    EXPECT_EQ(Pool().Options.SampleViewMode, 0);
    EXPECT_EQ(Tiles()[0]->Caption(), QStringLiteral("Family 000"));
    EXPECT_EQ(Tiles()[0]->Color(), QColor(Qt::white));
    WaitForBuild();
    EXPECT_EQ(Edit()->text(), QStringLiteral("Later")); // the edit keeps what was typed
    Trigger("SampleTextLeftButton");
    WaitForResample();
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
    WaitForResample();
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
        EXPECT_EQ(NameLabelPixels(tile), ExpectedNameLabel(tile, Qt::black));
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
    Wheel(tile, -1); // the step does not depend on the delta
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

// Thousands of faces may have to be opened for a new text: the tiles are measured a few at a
// time, and what the view shows at the end must be the same as if it had been done at once.
class SteppedSampleTextTest : public SampleTextTest {
protected:
    // Each later step does one tile, so the work stays pending across event loop turns.
    void OneTilePerStep(int firstMs = 0) { Resampler().SetBudgets(firstMs, 0); }
    QString LabelText(const QString& name) const { return TileOf(name)->NameLabelText(); }

    void ExpectAllSampled(const QString& text) {
        int tag = 0;
        for (TPanel* tile : Tiles()) {
            const TFontUnit& unit = *Pool().FindUnitByTileTag(tile->Tag);
            SCOPED_TRACE(unit.Name.toStdString());
            EXPECT_EQ(tile->Tag, tag++); // numbers stay those of the build
            EXPECT_EQ(tile->Caption(), text.isEmpty() ? unit.Name : text);
            // Measured for the current text and size, not those of an earlier request.
            const int width = Samples()
                                  .Make(unit.FaceFile, unit.FaceIndex, unit.Name, text,
                                        Pool().Options.SamplePointSize)
                                  ->Width();
            EXPECT_EQ(tile->width(), width + 20);
            EXPECT_EQ(tile->NameLabelRect().width(), tile->width() - 5);
        }
        // The flow is laid out for the final widths.
        std::vector<QRect> before;
        for (TPanel* tile : Tiles())
            before.push_back(tile->geometry());
        FlowPanel()->Relayout();
        std::vector<QRect> after;
        for (TPanel* tile : Tiles())
            after.push_back(tile->geometry());
        EXPECT_EQ(before, after);
        EXPECT_EQ(FlowPanel()->minimumHeight(), FlowPanel()->ContentHeight());
    }
};

TEST_F(SteppedSampleTextTest, TheTilesInViewComeFirstAndTheRestFollowInSteps) {
    OpenBuilt(ManyFamilies(150));
    OneTilePerStep(1000);
    const QRect view = FlowPanel()->visibleRegion().boundingRect();
    ASSERT_FALSE(view.isEmpty());
    ASSERT_FALSE(Tiles().back()->geometry().intersects(view));
    Pool().ApplySampleText(QStringLiteral("Wide sample"));
    EXPECT_TRUE(Resampler().Pending());
    // New samples are painted a few per frame while the work runs, and at once after it.
    EXPECT_TRUE(FirstPaintBudget::Active());
    for (TPanel* tile : Tiles()) {
        if (tile->geometry().intersects(view)) {
            EXPECT_EQ(tile->Caption(), QStringLiteral("Wide sample"));
        }
    }
    EXPECT_EQ(Tiles().back()->Caption(), QStringLiteral("Family 149"));
    WaitForResample();
    ExpectAllSampled(QStringLiteral("Wide sample"));
    EXPECT_FALSE(FirstPaintBudget::Active());

    // A new size goes the same way.
    Pool().SetSamplePointSize(30);
    EXPECT_TRUE(Resampler().Pending());
    WaitForResample();
    ExpectAllSampled(QStringLiteral("Wide sample"));
}

TEST_F(SteppedSampleTextTest, ALaterRequestReplacesThePendingOne) {
    std::vector<platform::FontFamilyRecord> families = ManyFamilies(60);
    families.push_back(Family(QStringLiteral("IPAGothic"), platform::SHIFTJIS_CHARSET));
    OpenBuilt(families, "[settings]\ncurrent_font_type=5\n");
    OneTilePerStep();
    Pool().ApplySampleText(QStringLiteral("First"));
    for (int i = 0; i < 5; ++i)
        QCoreApplication::processEvents();
    ASSERT_TRUE(Resampler().Pending());
    Pool().ApplySampleText(QStringLiteral("あ Second"));
    WaitForResample();
    ExpectAllSampled(QStringLiteral("あ Second"));
    EXPECT_EQ(LabelText(QStringLiteral("Family 000")), QStringLiteral("Family 000 — 1 文字なし"));
    EXPECT_EQ(LabelText(QStringLiteral("IPAGothic")), QStringLiteral("IPAGothic"));

    // Clearing the text while a size change is pending: the names, at the new size.
    Pool().SetSamplePointSize(24);
    QCoreApplication::processEvents();
    Pool().ApplySampleText(QString());
    WaitForResample();
    ExpectAllSampled(QString());
    EXPECT_EQ(Pool().Options.SamplePointSize, 24);
}

TEST_F(SteppedSampleTextTest, ARebuildDropsThePendingWorkAndBuildsWithTheNewText) {
    OpenBuilt(ManyFamilies(80));
    OneTilePerStep();
    Pool().ApplySampleText(QStringLiteral("Next"));
    ASSERT_TRUE(Resampler().Pending());
    window->SelectFontType(5, true);
    EXPECT_FALSE(Resampler().Pending());
    WaitForBuild();
    ExpectAllSampled(QStringLiteral("Next"));
    // Neither the dropped work nor the build keeps new tiles waiting.
    EXPECT_FALSE(FirstPaintBudget::Active());
}
