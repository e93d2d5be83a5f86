// Rebuilding the sample view: which fonts each filter and tag shows, the status bar, the
// removal of single tiles, and what a running build accepts.
#include "SampleViewFixture.h"

#include "fonts/FontPoolCore.h"
#include "platform/Messages.h"

#include <QApplication>
#include <QMessageBox>
#include <QPointer>
#include <QTest>
#include <QTimer>

using namespace sample_view_test;
using platform::ANSI_CHARSET;
using platform::FIXED_PITCH;
using platform::SHIFTJIS_CHARSET;
using platform::VARIABLE_PITCH;
using testing_support::Names;

namespace {

// One family of each class, Western ones first and last, so that the order is visible.
std::vector<platform::FontFamilyRecord> EachClass() {
    return {
        Family(QStringLiteral("West A")),
        Family(QStringLiteral("JFixed"), SHIFTJIS_CHARSET, FIXED_PITCH),
        Family(QStringLiteral("JProp"), SHIFTJIS_CHARSET, VARIABLE_PITCH),
        Family(QStringLiteral("@JVertical"), SHIFTJIS_CHARSET, FIXED_PITCH),
        Family(QStringLiteral("At@Name"), ANSI_CHARSET, VARIABLE_PITCH),
        Family(QStringLiteral("West B"), ANSI_CHARSET, FIXED_PITCH),
    };
}

} // namespace

TEST(FontTypeFilter, AdmitsTheClassesOfEachType) {
    // rows: font type -1..7; columns: class 0..4
    const bool table[][5] = {
        {false, false, false, false, false}, // -1
        {true, false, false, false, false},  // 0
        {false, true, false, false, false},  // 1
        {false, false, true, false, false},  // 2
        {false, false, false, true, false},  // 3
        {false, false, false, false, true},  // 4
        {true, true, true, false, true},     // 5
        {true, true, true, true, true},      // 6
        {false, false, false, false, false}, // 7
    };
    for (int type = -1; type <= 7; ++type)
        for (int fontClass = 0; fontClass <= 4; ++fontClass)
            EXPECT_EQ(TFontPool::FontTypeAdmits(type, fontClass), table[type + 1][fontClass])
                << "type " << type << " class " << fontClass;
}

TEST_F(SampleViewTest, EachFontTypeShowsItsClassesInCatalogueOrder) {
    OpenBuilt(EachClass());
    struct Case {
        int type;
        QStringList names;
        const char* status;
        const char* pressed;
    };
    const Case cases[] = {
        {0, Names({"JFixed"}), "全て", "ShowAll"},
        {1, Names({"JProp"}), "日本語フォント", "ShowJapanese"},
        {2, Names({"West A", "West B"}), "欧文フォント", "ShowEnglish"},
        {3, Names({"@JVertical"}), "全て", "ShowAll"},
        {4, Names({"At@Name"}), "全て", "ShowAll"},
        {5, Names({"West A", "JFixed", "JProp", "At@Name", "West B"}), "全て", "ShowAll"},
        {6, Names({"West A", "JFixed", "JProp", "@JVertical", "At@Name", "West B"}), "全て",
         "ShowAll"},
        {9, {}, "全て", "ShowAll"},
        {-1, {}, "全て", "ShowAll"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        window->SelectFontType(c.type, true);
        WaitForBuild();
        EXPECT_EQ(ViewNames(), c.names);
        EXPECT_EQ(TileCount(), c.names.size());
        EXPECT_EQ(window->ChosenFontType, c.type);
        EXPECT_EQ(Pool().Options.CurrentFontType, c.type);
        EXPECT_EQ(StatusText(0), QStringLiteral("%1 fonts").arg(c.names.size()));
        EXPECT_EQ(StatusText(1), QString::fromUtf8(c.status));
        EXPECT_EQ(StatusText(2), QStringLiteral("なし"));
        for (const char* button : {"ShowEnglish", "ShowJapanese", "ShowAll"})
            EXPECT_EQ(Part<QToolButton>(button)->isChecked(), qstrcmp(button, c.pressed) == 0)
                << button;
    }
}

TEST_F(SampleViewTest, FilterButtonsChooseTheirTypes) {
    OpenBuilt(EachClass());
    EXPECT_EQ(ViewNames(), Names({"West A", "West B"})); // the default type is Western
    Part<QToolButton>("ShowJapanese")->click();
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"JProp"}));
    EXPECT_EQ(window->ChosenFontType, 1);
    Part<QToolButton>("ShowAll")->click();
    WaitForBuild();
    EXPECT_EQ(window->ChosenFontType, 5);
    EXPECT_EQ(ViewNames().size(), 5);
    Part<QToolButton>("ShowEnglish")->click();
    WaitForBuild();
    EXPECT_EQ(window->ChosenFontType, 2);
    EXPECT_TRUE(Part<QToolButton>("ShowEnglish")->isChecked());
    EXPECT_FALSE(Part<QToolButton>("ShowAll")->isChecked());
}

TEST_F(SampleViewTest, TheSavedFontTypeStartsTheFirstBuild) {
    OpenBuilt(EachClass(), "[settings]\ncurrent_font_type=3\n");
    EXPECT_EQ(ViewNames(), Names({"@JVertical"}));
    EXPECT_EQ(window->ChosenFontType, 3);
    EXPECT_TRUE(Part<QToolButton>("ShowAll")->isChecked());
    EXPECT_EQ(StatusText(1), QStringLiteral("全て"));
}

TEST_F(SampleViewTest, TrashedFontsHideFromTypeViewsButShowInTagViews) {
    WriteTag(TFontPool::TrashTagName, {QStringLiteral("west a"), QStringLiteral("JProp")});
    WriteTag(QStringLiteral("Mine"),
             {QStringLiteral("West A"), QStringLiteral("@JVertical"), QStringLiteral("JFixed")});
    OpenBuilt(EachClass());
    EXPECT_EQ(ViewNames(), Names({"West B"})); // the trash matches ignoring letter case

    window->SelectFontType(6, true);
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"JFixed", "@JVertical", "At@Name", "West B"}));

    Pool().RebuildView(QStringLiteral("Mine"));
    WaitForBuild();
    // Tag views show every class except the vertical "@" families, even when listed.
    EXPECT_EQ(ViewNames(), Names({"West A", "JFixed"}));
    EXPECT_EQ(StatusText(0), QStringLiteral("2 fonts"));
    EXPECT_EQ(StatusText(1), QStringLiteral("全て"));
    EXPECT_EQ(StatusText(2), QStringLiteral("Mineタグ"));
    EXPECT_EQ(window->StatusPanel(2)->textFormat(), Qt::PlainText); // a name from the user
    EXPECT_TRUE(Part<QToolButton>("ShowAll")->isChecked());
    EXPECT_EQ(Pool().Options.CurrentFontType, 5);
    EXPECT_EQ(window->ChosenFontType, 6); // a tag view is not a chosen type

    Pool().RebuildView(TFontPool::TrashTagName);
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"West A", "JProp"}));
    EXPECT_EQ(StatusText(2), TFontPool::TrashTagName + QStringLiteral("タグ"));
}

TEST_F(SampleViewTest, TagLinesMatchAFamilyByAnyOfItsNames) {
    WriteTag(QStringLiteral("Names"), {QStringLiteral("ＩＰＡゴシック")});
    OpenBuilt({Family(QStringLiteral("IPAGothic"), SHIFTJIS_CHARSET, FIXED_PITCH,
                      {QStringLiteral("ＩＰＡゴシック")}),
               Family(QStringLiteral("Other"))});
    Pool().RebuildView(QStringLiteral("Names"));
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"IPAGothic"}));
}

TEST_F(SampleViewTest, AMissingTagFileGivesAnEmptyViewThatStillNamesTheTag) {
    OpenBuilt(EachClass());
    Pool().RebuildView(QStringLiteral("Nowhere"));
    // An empty list builds nothing, yet the build ends on its own and frees the buttons.
    WaitForBuild();
    EXPECT_TRUE(ViewNames().isEmpty());
    EXPECT_EQ(StatusText(0), QStringLiteral("0 fonts"));
    EXPECT_EQ(StatusText(2), QStringLiteral("Nowhereタグ"));
    EXPECT_EQ(Part<QProgressBar>("ProgressBar")->value(), 0);
    EXPECT_TRUE(Part<QToolButton>("ShowAll")->isEnabled());
}

TEST_F(SampleViewTest, ProgressStepsOncePerTileBeforeItIsBuiltAndEndsAtZero) {
    OpenBuilt(ManyFamilies(3));
    auto* bar = Part<QProgressBar>("ProgressBar");
    std::vector<std::pair<int, int>> steps; // value, tiles built when it was shown
    QObject::connect(bar, &QProgressBar::valueChanged, window.get(),
                     [&](int value) { steps.emplace_back(value, TileCount()); });
    window->SelectFontType(2, true);
    EXPECT_EQ(bar->maximum(), 3);
    WaitForBuild();
    const std::vector<std::pair<int, int>> expected = {{1, 0}, {2, 1}, {3, 2}, {0, 3}};
    EXPECT_EQ(steps, expected);
}

TEST_F(SampleViewTest, ViewButtonsAreDisabledWhileBuilding) {
    Open(ManyFamilies(300));
    const char* buttons[] = {"ShowEnglish", "ShowJapanese", "ShowAll",
                             "SwitchSampleViewModeButton"};
    ASSERT_TRUE(Pool().Building);
    for (const char* name : buttons)
        EXPECT_FALSE(Part<QToolButton>(name)->isEnabled()) << name;
    WaitForBuild();
    for (const char* name : buttons)
        EXPECT_TRUE(Part<QToolButton>(name)->isEnabled()) << name;
}

TEST_F(SampleViewTest, RequestsDuringABuildAreDroppedNotQueued) {
    WriteTag(QStringLiteral("Mine"), {QStringLiteral("Family 001")});
    Open(ManyFamilies(300));
    ASSERT_TRUE(Pool().Building);
    Pool().RebuildView(QStringLiteral("Mine"));
    window->SelectFontType(1, true);
    EXPECT_EQ(StatusText(2), QStringLiteral("なし"));
    WaitForBuild();
    EXPECT_EQ(ViewNames().size(), 300);
    EXPECT_EQ(TileCount(), 300);
    // Once idle, the same request takes effect.
    Pool().RebuildView(QStringLiteral("Mine"));
    WaitForBuild();
    EXPECT_EQ(ViewNames(), Names({"Family 001"}));
}

TEST_F(SampleViewTest, RemovedTilesKeepTheOthersTagNumbers) {
    OpenBuilt(ManyFamilies(5));
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(Tiles()[i]->Tag, i);
    const QPoint secondPlace = Tiles()[1]->pos();
    EXPECT_TRUE(Tiles()[1]->HasNameLabel());

    platform::PostMessage(window.get(), TGlyphorama::WM_REMOVE_TILE, 0, 1);
    EXPECT_EQ(TileCount(), 5); // posted: nothing happens before the event loop runs
    QCoreApplication::processEvents();
    EXPECT_EQ(ViewNames(), Names({"Family 000", "Family 002", "Family 003", "Family 004"}));
    EXPECT_EQ(Tiles()[1]->Tag, 2);
    EXPECT_EQ(Tiles()[1]->pos(), secondPlace); // the flow closes the gap
    EXPECT_EQ(FlowPanel()->Tiles().size(), 4);

    // Tag 2 now sits at position 1 and is still found by its own number.
    platform::PostMessage(window.get(), TGlyphorama::WM_REMOVE_TILE, 0, 2);
    platform::PostMessage(window.get(), TGlyphorama::WM_REMOVE_TILE, 0, 2); // no longer there
    platform::PostMessage(window.get(), TGlyphorama::WM_REMOVE_TILE, 0, 77);
    QCoreApplication::processEvents();
    EXPECT_EQ(ViewNames(), Names({"Family 000", "Family 003", "Family 004"}));
    EXPECT_EQ(StatusText(0), QStringLiteral("3 fonts")); // the count follows at once
    EXPECT_EQ(Pool().FindUnitByTileTag(3)->Name, QStringLiteral("Family 003"));
    EXPECT_EQ(Pool().FindUnitByTileTag(1), nullptr);
}

TEST_F(SampleViewTest, RemovingDuringABuildDropsTheUnitAndTheBuildGoesOn) {
    Open(ManyFamilies(300));
    WaitForTiles(3);
    ASSERT_TRUE(Pool().Building);
    Pool().RemoveTile(0);
    WaitForBuild();
    EXPECT_EQ(ViewNames().size(), 299);
    EXPECT_FALSE(ViewNames().contains(QStringLiteral("Family 000")));
    EXPECT_EQ(TileCount(), 299);
}

TEST_F(SampleViewTest, EscStopsABuildKeepingTheTilesBuiltSoFar) {
    Open(ManyFamilies(400));
    WaitForTiles(5);
    // With the close refused (a version check runs), the same Esc stops the build.
    VersionCheckRunning = true;
    QTimer dismiss;
    QObject::connect(&dismiss, &QTimer::timeout, [] {
        if (QWidget* box = QApplication::activeModalWidget())
            box->close();
    });
    dismiss.start(10);
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus && focus->window() == window.get() ? focus : window.get(),
                    Qt::Key_Escape);
    // The refusal box comes up without a loop of its own: see it shown and dismissed.
    testing_support::WaitUntil([] { return QApplication::activeModalWidget() != nullptr; });
    testing_support::WaitUntil([] { return QApplication::activeModalWidget() == nullptr; });
    dismiss.stop();
    VersionCheckRunning = false;
    EXPECT_TRUE(window->isVisible());
    WaitForBuild();
    const int built = TileCount();
    EXPECT_GE(built, 5);
    EXPECT_LT(built, 400);
    for (int i = 0; i < built; ++i) // the tiles built are the first ones
        EXPECT_NE(Pool().ViewList[i]->Tile, nullptr);
    EXPECT_EQ(StatusText(0), QStringLiteral("400 fonts"));
    EXPECT_EQ(Part<QProgressBar>("ProgressBar")->value(), 0);
    EXPECT_TRUE(Part<QToolButton>("ShowEnglish")->isEnabled());
    // A new build is possible again.
    window->SelectFontType(2, true);
    EXPECT_TRUE(Pool().Building);
    WaitForBuild();
    EXPECT_EQ(TileCount(), 400);
}

TEST_F(SampleViewTest, ACancelBeforeTheBuilderRunsIsNotLost) {
    OpenBuilt(ManyFamilies(50));
    // Cancelled before the GUI thread served a single step: at most the step the worker
    // may have asked for already is built.
    window->SelectFontType(2, true);
    Pool().CancelBuild();
    WaitForBuild();
    EXPECT_LE(TileCount(), 1);
}

TEST_F(SampleViewTest, AFinishedBuilderLeavesTheButtonsOfANewerBuildDisabled) {
    OpenBuilt(ManyFamilies(300));
    window->SelectFontType(2, true);
    QPointer<TFontPoolCore> first = Pool().Builder;
    ASSERT_FALSE(first.isNull());
    // The first builder is freed only after its termination handler, by which time a click
    // may have started the next build.
    const auto handler = first->OnTerminate;
    first->OnTerminate = [&, handler](platform::Thread* sender) {
        handler(sender);
        window->SelectFontType(5, true);
    };
    ASSERT_TRUE(testing_support::WaitUntil([&] { return first.isNull(); }));
    ASSERT_TRUE(Pool().Building);
    EXPECT_FALSE(Part<QToolButton>("ShowAll")->isEnabled());
    EXPECT_FALSE(Part<QToolButton>("SwitchSampleViewModeButton")->isEnabled());
    WaitForBuild();
    EXPECT_TRUE(Part<QToolButton>("ShowAll")->isEnabled());
}
