// The coverage filter in the main window: it narrows every view to the families that can
// show the whole sample text, and the status bar counts what is shown.
#include "SampleViewFixture.h"

#include "platform/FontFamilies.h"

#include <QTest>

using namespace sample_view_test;
using testing_support::Names;

namespace {

const QByteArray AllTypes = "[settings]\ncurrent_font_type=6\n";

class CoverageViewTest : public SampleViewTest {
protected:
    // The tests' own installed families, named in English.
    void OpenInstalled() {
        OpenBuilt(platform::EnumerateFontFamilies(QStringLiteral("en")), AllTypes);
    }
    QToolButton* Toggle() const { return Part<QToolButton>("CoverageFilterButton"); }
    // Types and applies a sample text; waits for the rebuild it may start.
    void ApplySample(const QString& text) {
        Part<QLineEdit>("SampleText")->setText(text);
        window->SampleTextLeftButtonClick();
        WaitForBuild();
    }
};

const QStringList JapaneseFamilies = Names({"IPAGothic", "IPAMincho", "IPAPGothic", "IPAPMincho"});
const QStringList WesternFamilies = Names({"DejaVu Sans", "DejaVu Sans Mono", "DejaVu Serif"});

TEST_F(CoverageViewTest, KeepsExactlyTheFamiliesThatCoverTheSampleText) {
    OpenInstalled();
    const QStringList all = ViewNames();
    ASSERT_EQ(all, WesternFamilies + JapaneseFamilies);
    EXPECT_EQ(Toggle()->toolTip(),
              QStringLiteral("サンプルテキストをすべて表示できるフォントだけ"));

    // Without a sample text the filter changes nothing.
    Toggle()->click();
    WaitForBuild();
    EXPECT_TRUE(Toggle()->isChecked());
    EXPECT_EQ(ViewNames(), all);

    ApplySample(QStringLiteral("かなカナ"));
    EXPECT_EQ(ViewNames(), JapaneseFamilies); // DejaVu has no kana
    EXPECT_EQ(StatusText(0), QStringLiteral("4 fonts"));
    EXPECT_EQ(TileCount(), 4);

    // Latin with a sign only DejaVu has among the tests' fonts.
    ApplySample(QStringLiteral("Ωmega ☺"));
    EXPECT_EQ(ViewNames(), WesternFamilies);
    // A snowman: DejaVu Serif is the one family without it.
    ApplySample(QStringLiteral("☃"));
    EXPECT_EQ(ViewNames(), Names({"DejaVu Sans", "DejaVu Sans Mono"}) + JapaneseFamilies);

    // Cleared text: everything again; switched off with text: everything again.
    window->SampleTextRightButtonClick();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), all);
    ApplySample(QStringLiteral("かな"));
    Toggle()->click();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), all);
    EXPECT_EQ(StatusText(0), QStringLiteral("7 fonts"));
}

TEST_F(CoverageViewTest, CombinesWithTheFilterButtonsAndTagViews) {
    WriteTag(QStringLiteral("Mix"), {QStringLiteral("DejaVu Serif"), QStringLiteral("IPAMincho")});
    OpenInstalled();
    ApplySample(QStringLiteral("あ"));
    Toggle()->click();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), JapaneseFamilies);

    Part<QToolButton>("ShowEnglish")->click();
    WaitForBuild();
    EXPECT_TRUE(ViewNames().isEmpty()); // Western families lack kana
    EXPECT_EQ(StatusText(0), QStringLiteral("0 fonts"));

    Pool().RebuildView(QStringLiteral("Mix"));
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"IPAMincho"}));
    // Toggling redoes the view shown, here the tag's.
    Toggle()->click();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"DejaVu Serif", "IPAMincho"}));
    EXPECT_EQ(StatusText(2), QStringLiteral("Mixタグ"));
    ApplySample(QStringLiteral("A"));
    Toggle()->click();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"DejaVu Serif", "IPAMincho"}));
}

TEST_F(CoverageViewTest, TheToggleIsDisabledWhileTilesAreBuilt) {
    Open(ManyFamilies(300), AllTypes);
    ASSERT_TRUE(Pool().Building);
    EXPECT_FALSE(Toggle()->isEnabled());
    WaitForBuild();
    EXPECT_TRUE(Toggle()->isEnabled());
}

} // namespace
