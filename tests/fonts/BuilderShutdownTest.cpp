// Closing the window or releasing the catalogue while tiles are being built: the builder
// waits on the GUI thread for each tile, so a careless wait would hang and a careless
// release would leave it a dead catalogue.
#include "SampleViewFixture.h"

#include "fonts/FontPoolCore.h"

#include <QApplication>
#include <QPointer>
#include <QTest>

using namespace sample_view_test;

class BuilderShutdownTest : public SampleViewTest {
protected:
    // A build under way with tiles built and many still to come.
    QPointer<TFontPoolCore> Midway() {
        Open(ManyFamilies(1500));
        WaitForTiles(10);
        EXPECT_TRUE(Pool().Building);
        return QPointer<TFontPoolCore>(Pool().Builder);
    }
};

TEST_F(BuilderShutdownTest, DestroyingTheWindowMidwayCancelsTheBuilder) {
    QPointer<TFontPoolCore> builder = Midway();
    ASSERT_FALSE(builder.isNull());
    window.reset();
    EXPECT_TRUE(builder.isNull()); // ended and freed before the window was gone
    EXPECT_EQ(Glyphorama, nullptr);
    QCoreApplication::processEvents(); // nothing is left queued for the dead window
}

TEST_F(BuilderShutdownTest, ClosingTheWindowMidwayCancelsTheBuilderAndSaves) {
    QPointer<TFontPoolCore> builder = Midway();
    EXPECT_TRUE(window->close());
    EXPECT_TRUE(builder.isNull());
    EXPECT_EQ(window->FontPool, nullptr);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(testing_support::ReadBytes(dataDir + QStringLiteral("/Glyphorama.ini"))
                    .contains("current_font_type=2"));
    QCoreApplication::processEvents();
    window->FormKeyPress(Qt::Key_Escape); // a key queued behind the close finds no catalogue
}

TEST_F(BuilderShutdownTest, EscClosesTheWindowMidway) {
    QPointer<TFontPoolCore> builder = Midway();
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window.get() ? focus : window.get(),
                    Qt::Key_Escape);
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(builder.isNull());
}

TEST_F(BuilderShutdownTest, DestroyingTheWindowRightAfterTheBuildStarted) {
    OpenBuilt(ManyFamilies(5));
    // No step served yet: the worker may be waiting on its first one, or not running yet.
    window->SelectFontType(5, true);
    ASSERT_TRUE(Pool().Building);
    window.reset();
    EXPECT_EQ(Glyphorama, nullptr);
}
