// The sample view's scroll bar shows where the view is: its range matches the flow, and the
// thumb it paints stands where the view stands, with a few tiles (a long thumb) and with many.
#include "SampleViewFixture.h"

#include "ui/SampleViewControls.h"
#include "ui_Glyphorama.h"

#include <QImage>
#include <QScrollBar>
#include <QTest>
#include <utility>

using namespace sample_view_test;

namespace {

class ScrollBarTest : public SampleViewTest {
protected:
    QScrollBar* Bar() const { return ScrollBox()->verticalScrollBar(); }

    // The rows the painted thumb covers, down the bar's middle: the thumb is the dark part.
    static std::pair<int, int> ThumbRows(QScrollBar* bar) {
        const QImage image = bar->grab().toImage();
        int first = -1;
        int last = -1;
        for (int y = 0; y < image.height(); ++y) {
            if (qGray(image.pixel(image.width() / 2, y)) < 200) {
                if (first < 0)
                    first = y;
                last = y;
            }
        }
        return {first, last};
    }

    // At the top, in the middle and at the end of the range: the view's contents are where
    // the bar says, and the thumb is painted there too.
    void ExpectTruthfulAtEveryPlace(const char* when) {
        SCOPED_TRACE(when);
        QApplication::processEvents();
        QScrollBar* bar = Bar();
        const int viewport = ScrollBox()->viewport()->height();
        ASSERT_GT(FlowPanel()->height(), viewport) << "the tiles fill more than the view";
        EXPECT_EQ(FlowPanel()->height(), FlowPanel()->ContentHeight());
        EXPECT_EQ(bar->maximum(), FlowPanel()->height() - viewport);
        EXPECT_EQ(bar->pageStep(), viewport);
        for (const int value : {0, bar->maximum() / 2, bar->maximum()}) {
            bar->setValue(value);
            QApplication::processEvents();
            EXPECT_EQ(FlowPanel()->y(), -value);
            const auto [first, last] = ThumbRows(bar);
            ASSERT_GE(first, 0) << "no thumb painted at " << value;
            const int length = last - first + 1;
            // Where the thumb's middle belongs, from the value alone.
            const int travel = bar->height() - length;
            const double expected = length / 2.0 + travel * double(value) / bar->maximum();
            EXPECT_NEAR((first + last) / 2.0, expected, 4.0) << "value " << value;
            if (value == 0) {
                EXPECT_LT(first, 4);
            } else if (value == bar->maximum()) {
                EXPECT_GT(last, bar->height() - 5);
            }
        }
        bar->setValue(0);
    }

    void Check() {
        ExpectTruthfulAtEveryPlace("after the build");
        window->resize(640, 420);
        ExpectTruthfulAtEveryPlace("after a resize");
        window->findChild<SampleViewControls*>()->StepSize(1);
        WaitForResample();
        ExpectTruthfulAtEveryPlace("after a size change");
    }
};

TEST_F(ScrollBarTest, ThumbFollowsTheViewWithAFewTiles) {
    OpenBuilt(ManyFamilies(15));
    Check();
}

TEST_F(ScrollBarTest, ThumbFollowsTheViewWithManyTiles) {
    OpenBuilt(ManyFamilies(330));
    Check();
}

} // namespace
