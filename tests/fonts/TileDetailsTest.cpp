// A tile's family details open from the tile: double-click, or Enter while it has the focus.
#include "SampleViewFixture.h"

#include "details/FontDetailsForm.h"
#include "platform/FontFamilies.h"

#include <QPointer>
#include <QTest>

using namespace sample_view_test;

namespace {

class TileDetailsTest : public SampleViewTest {
protected:
    void TearDown() override {
        for (FontDetailsForm* form : OpenForms())
            delete form;
        SampleViewTest::TearDown();
    }
    QList<FontDetailsForm*> OpenForms() const { return window->findChildren<FontDetailsForm*>(); }
};

TEST_F(TileDetailsTest, DoubleClickOnATileOrItsNameLabelOpensItsFamily) {
    OpenBuilt(platform::EnumerateFontFamilies(QStringLiteral("en")),
              "[settings]\ncurrent_font_type=6\n");
    TPanel* tile = TileOf(QStringLiteral("IPAPGothic"));
    ASSERT_NE(tile, nullptr);
    QTest::mouseDClick(tile, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(OpenForms().size(), 1);
    QPointer<FontDetailsForm> form = OpenForms().first();
    EXPECT_EQ(form->Details().Family, QStringLiteral("IPAPGothic"));
    EXPECT_TRUE(form->isVisible());
    QTest::keyClick(form, Qt::Key_Escape);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(form.isNull());
    EXPECT_TRUE(window->isVisible()); // Esc in the details window leaves the main window

    TPanel* first = Pool().ViewList.front()->Tile;
    ASSERT_TRUE(first->HasNameLabel());
    QTest::mouseDClick(first, Qt::LeftButton, {}, first->NameLabelRect().topLeft() + QPoint(3, 3));
    ASSERT_EQ(OpenForms().size(), 1);
    EXPECT_EQ(OpenForms().first()->Details().Family, Pool().ViewList.front()->Name);

    // A right double-click is no request.
    QTest::mouseDClick(TileOf(QStringLiteral("IPAMincho")), Qt::RightButton, {}, QPoint(10, 10));
    EXPECT_EQ(OpenForms().size(), 1);
}

TEST_F(TileDetailsTest, EnterOnTheFocusedTileOpensItsFamily) {
    OpenBuilt(platform::EnumerateFontFamilies(QStringLiteral("en")),
              "[settings]\ncurrent_font_type=6\n");
    TPanel* tile = TileOf(QStringLiteral("DejaVu Serif"));
    ASSERT_NE(tile, nullptr);
    tile->setFocusPolicy(Qt::StrongFocus);
    tile->setFocus();
    QTest::keyClick(tile, Qt::Key_Return);
    ASSERT_EQ(OpenForms().size(), 1);
    EXPECT_EQ(OpenForms().first()->Details().Family, QStringLiteral("DejaVu Serif"));
}

} // namespace
