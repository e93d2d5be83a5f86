// The main window's show and close sequences against the settings file, and Esc.
#include "MainWindowFixture.h"

#include "fonts/FontPoolCore.h"
#include "fonts/Panel.h"
#include "platform/ImageList.h"
#include "platform/Messages.h"
#include "platform/SessionEnd.h"
#include "tests/support/TestSupport.h"
#include "ui_Glyphorama.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QKeyEvent>
#include <QMessageBox>
#include <QWindow>
#include <atomic>
#include <csignal>
#include <future>
#include <unistd.h>

namespace {

const QString CloseRefusal =
    QStringLiteral("CloseRefusal: 最新バージョンの問い合わせ中です。\r\n"
                   "正常にネットワークが閉じられるまでしばらくお待ちください。");

int modeImage(const TGlyphorama& window) {
    return platform::ButtonImage(window.ui->SwitchSampleViewModeButton);
}

QStringList section(const QStringList& lines, const QString& name) {
    const qsizetype start = lines.indexOf(u'[' + name + u']');
    if (start < 0)
        return {};
    QStringList keys;
    for (qsizetype i = start + 1; i < lines.size() && !lines[i].startsWith(u'['); ++i)
        keys.append(lines[i]);
    return keys;
}

// The title bar's close box: the window manager's close request reaches the native window
// first, as it does here.
void pressCloseBox(TGlyphorama& w) {
    QCloseEvent request;
    QCoreApplication::sendEvent(w.windowHandle(), &request);
}

using LifecycleTest = MainWindowTest;

TEST_F(LifecycleTest, FirstStartRunsTheCheckThenSavesEveryKeyInOrder) {
    QFile::remove(SettingsPath());
    TGlyphorama& w = OpenWindow(false);

    EXPECT_EQ(w.frameGeometry(), QRect(0, 0, 500, 500));
    EXPECT_EQ(w.FontPool->Options.SampleViewMode, 0);
    EXPECT_EQ(modeImage(w), 5);
    EXPECT_EQ(w.ChosenFontType, 2);
    EXPECT_TRUE(w.ui->ShowEnglish->isChecked());
    EXPECT_TRUE(w.FontPool->SaveTagNames().isEmpty());
    EXPECT_TRUE(VersionCheckRunning) << "no settings: the version check starts";

    // While the check runs, Esc is refused with a message and the window stays.
    AnswerNextMessageBox();
    PressKey(Qt::Key_Escape);
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !messageBoxes.isEmpty(); }));
    EXPECT_EQ(messageBoxes, QStringList{CloseRefusal});
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(w.FontPool);
    EXPECT_FALSE(QFile::exists(SettingsPath()));

    // Nobody answers at the reserved notice host: the check ends and closing is allowed.
    ASSERT_TRUE(testing_support::WaitUntil([] { return !VersionCheckRunning; }, 60000));
    ASSERT_TRUE(WaitForBuild());
    PressKey(Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.FontPool);
    EXPECT_FALSE(w.AppCore);
    EXPECT_EQ(SettingsLines(), (QStringList{
                                   "[settings]",
                                   "current_font_type=2",
                                   "sample_view_mode=0",
                                   "form_top=0",
                                   "form_left=0",
                                   "form_width=500",
                                   "form_height=500",
                                   "[tags]",
                                   "total=0",
                               }));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(LifecycleTest, RestoresAFullSettingsFileAndSavesTheStateAtClose) {
    WriteSettings("[settings]\n"
                  "form_top=40\nform_left=30\nform_width=640\nform_height=480\n"
                  "sample_view_mode=1\ncurrent_font_type=1\n"
                  "[tags]\ntotal=2\n0=書体見本\n1=Logo & Title\n");
    testing_support::WriteBytes(DataDir() + QStringLiteral("/tags/書体見本.tag"),
                                "Family 0001\nFamily 0002\n");
    TGlyphorama& w = OpenWindow();

    EXPECT_EQ(w.frameGeometry(), QRect(30, 40, 640, 480));
    EXPECT_EQ(w.FontPool->Options.SampleViewMode, 1);
    EXPECT_EQ(modeImage(w), 6);
    EXPECT_EQ(w.ChosenFontType, 1);
    EXPECT_EQ(w.FontPool->Options.CurrentFontType, 1);
    EXPECT_TRUE(w.ui->ShowJapanese->isChecked());
    EXPECT_EQ(w.FontPool->SaveTagNames(), (QStringList{"書体見本", "Logo & Title"}));
    const int tag = w.FontPool->FindTag(QStringLiteral("書体見本"));
    ASSERT_GE(tag, 0);
    EXPECT_EQ(w.FontPool->TagList[tag].FontCount, 2) << "the tags were loaded from their files";
    EXPECT_GT(w.ui->TagBar->Buttons().size(), 4) << "the tag bar was rebuilt with the tags";
    EXPECT_FALSE(VersionCheckRunning);

    // What is saved is the state at close, not what was read.
    w.ShowAllClick();
    ASSERT_TRUE(WaitForBuild());
    w.SwitchSampleViewModeButtonClick();
    w.move(12, 34);
    w.resize(700, 520);
    const QRect bounds = w.frameGeometry(); // the outer bounds, frame included
    ASSERT_EQ(bounds.topLeft(), QPoint(12, 34));
    w.close();

    const QStringList lines = SettingsLines();
    EXPECT_EQ(section(lines, QStringLiteral("settings")),
              (QStringList{"form_top=34", "form_left=12",
                           QStringLiteral("form_width=%1").arg(bounds.width()),
                           QStringLiteral("form_height=%1").arg(bounds.height()),
                           "sample_view_mode=0", "current_font_type=5"}));
    EXPECT_EQ(section(lines, QStringLiteral("tags")),
              (QStringList{"total=2", "0=書体見本", "1=Logo & Title"}));
    EXPECT_EQ(section(lines, QStringLiteral("NetWork")), QStringList{"VersionCheck=0"})
        << "the hand-set section is kept";
}

TEST_F(LifecycleTest, OddValuesAreTakenAsTheyAreAndSavedBack) {
    WriteSettings("[settings]\nform_width=0x258\nform_height=tall\nsample_view_mode=7\n"
                  "current_font_type=6\n");
    TGlyphorama& w = OpenWindow();

    EXPECT_EQ(w.frameGeometry().size(), QSize(600, 500));
    EXPECT_EQ(w.FontPool->Options.SampleViewMode, 7);
    EXPECT_EQ(modeImage(w), 5) << "an unknown mode leaves the image alone";
    EXPECT_EQ(w.ChosenFontType, 6);
    EXPECT_EQ(static_cast<int>(w.FontPool->ViewList.size()), 5) << "type 6 shows every font";

    w.close();
    const QStringList saved = section(SettingsLines(), QStringLiteral("settings"));
    EXPECT_TRUE(saved.contains("form_width=600"));
    EXPECT_TRUE(saved.contains("form_height=500"));
    EXPECT_TRUE(saved.contains("sample_view_mode=7"));
    EXPECT_TRUE(saved.contains("current_font_type=6"));
}

TEST_F(LifecycleTest, ABadTagTotalIsReportedOnceAndNoTagIsLost) {
    // The version check is on: the error must end the show before it starts.
    WriteSettings("[settings]\nform_left=20\nform_width=520\ncurrent_font_type=1\n"
                  "sample_view_mode=1\n[tags]\ntotal=two\n0=Keep me\n2=And me\n",
                  false);
    testing_support::WriteBytes(DataDir() + QStringLiteral("/tags/And me.tag"), "Family 0001\n");
    TGlyphorama& w = OpenWindow();

    EXPECT_EQ(errors, QStringList{"''two'' は整数ではありません"});
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(w.frameGeometry().x(), 20);
    EXPECT_EQ(w.frameGeometry().width(), 520);
    EXPECT_EQ(w.FontPool->Options.SampleViewMode, 1);
    EXPECT_EQ(w.ChosenFontType, 1);
    EXPECT_FALSE(VersionCheckRunning);
    // What the list still names is there, counted from its files.
    EXPECT_EQ(w.FontPool->SaveTagNames(), (QStringList{"Keep me", "And me"}));
    EXPECT_EQ(w.FontPool->TagList.back().FontCount, 1);

    w.FontPool->AddTag(QStringLiteral("Made later"));
    w.close();
    EXPECT_FALSE(w.FontPool);
    QStringList lines = SettingsLines();
    EXPECT_EQ(section(lines, QStringLiteral("tags")),
              (QStringList{"total=3", "0=Keep me", "2=Made later", "1=And me"}));
    EXPECT_TRUE(section(lines, QStringLiteral("settings")).contains("current_font_type=1"));
    EXPECT_EQ(errors.size(), 1);

    // The next start finds a sound list: no error, every tag.
    window.reset();
    TGlyphorama& again = OpenWindow();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_EQ(again.FontPool->SaveTagNames(), (QStringList{"Keep me", "And me", "Made later"}));
}

TEST_F(LifecycleTest, ASavedSizeIsAppliedAsReadDownToASmallMinimum) {
    QString tags = QStringLiteral("[tags]\ntotal=8\n");
    for (int i = 0; i < 8; ++i)
        tags += QStringLiteral("%1=ずいぶん長い名前をつけたユーザータグ%1\n").arg(i);
    WriteSettings("[settings]\nform_top=10\nform_left=10\nform_width=400\nform_height=300\n" +
                  tags.toUtf8());
    TGlyphorama& w = OpenWindow();
    EXPECT_EQ(w.frameGeometry(), QRect(10, 10, 400, 300))
        << "neither the bars nor eight long tags may widen it";
    w.resize(150, 100);
    EXPECT_EQ(w.frameGeometry().size(), QSize(200, 150)) << "the smallest window";
    // The status panels keep their widths and fall off the right edge, one after the other.
    QApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
    EXPECT_EQ(w.StatusPanel(0)->width(), 100);
    EXPECT_EQ(w.StatusPanel(2)->width(), 200);
    EXPECT_GT(w.StatusPanel(3)->geometry().right(), w.width());
    EXPECT_GE(w.StatusPanel(2)->x(), w.StatusPanel(1)->geometry().right());
    w.close();
    const QStringList saved = section(SettingsLines(), QStringLiteral("settings"));
    EXPECT_TRUE(saved.contains("form_width=200")) << saved.join(u' ').toStdString();
    EXPECT_TRUE(saved.contains("form_height=150")) << saved.join(u' ').toStdString();

    window.reset();
    WriteSettings("[settings]\nform_width=120\nform_height=80\n");
    EXPECT_EQ(OpenWindow().frameGeometry().size(), QSize(200, 150));
}

TEST_F(LifecycleTest, ASettingsFileThatCannotBeWrittenIsReportedAndTheWindowStillCloses) {
    QFile::remove(SettingsPath());
    TGlyphorama& w = OpenWindow(false);
    ASSERT_TRUE(testing_support::WaitUntil([] { return !VersionCheckRunning; }, 60000));
    ASSERT_TRUE(WaitForBuild());
    // A folder where the file should be: it can be neither replaced nor written.
    ASSERT_TRUE(QDir().mkdir(SettingsPath()));

    w.close();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.FontPool);
    EXPECT_FALSE(w.AppCore);
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].endsWith(QStringLiteral("Glyphorama.ini に書き込めません")))
        << errors[0].toStdString();
}

TEST_F(LifecycleTest, EscDuringACheckStopsTheBuildAndLeavesTheWindowOpen) {
    UseFamilies(3000);
    TGlyphorama& w = OpenWindow(false);
    ASSERT_TRUE(w.FontPool->Building);
    VersionCheckRunning = true;

    AnswerNextMessageBox();
    PressKey(Qt::Key_Escape);
    ASSERT_TRUE(WaitForBuild());
    EXPECT_LT(TileCount(), 3000) << "the same press stopped the build";
    ASSERT_TRUE(testing_support::WaitUntil([this] { return !messageBoxes.isEmpty(); }));
    EXPECT_EQ(messageBoxes, QStringList{CloseRefusal});
    EXPECT_TRUE(w.isVisible());

    // The title bar's close box is refused the same way.
    AnswerNextMessageBox();
    w.close();
    ASSERT_TRUE(testing_support::WaitUntil([this] { return messageBoxes.size() == 2; }));
    EXPECT_TRUE(w.isVisible());

    VersionCheckRunning = false;
    PressKey(Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
}

TEST_F(LifecycleTest, CloseRequestsDuringARefusalShareItsBoxAndNoneEndsTheSession) {
    TGlyphorama& w = OpenWindow();
    w.ShowAllClick();
    ASSERT_TRUE(WaitForBuild());
    VersionCheckRunning = true;
    const QByteArray before = SettingsText();

    // Esc, then the title bar's close box, 終了 and Esc again, all while the first refusal
    // is up.
    PressKey(Qt::Key_Escape);
    pressCloseBox(w);
    w.ui->X2->trigger();
    PressKey(Qt::Key_Escape);
    QCoreApplication::processEvents();
    int shown = 0;
    for (const QMessageBox* box : w.findChildren<QMessageBox*>())
        shown += box->isVisible();
    EXPECT_EQ(shown, 1);
    EXPECT_TRUE(w.isVisible());
    ASSERT_TRUE(w.FontPool);
    EXPECT_EQ(SettingsText(), before) << "nothing ended the session";

    AnswerNextMessageBox();
    ASSERT_TRUE(testing_support::WaitUntil([this] { return messageBoxes.size() == 1; }));
    EXPECT_EQ(messageBoxes, QStringList{CloseRefusal});
    // Once the check is over, the close box closes, and the session's changes are saved.
    VersionCheckRunning = false;
    pressCloseBox(w);
    EXPECT_FALSE(w.isVisible());
    EXPECT_TRUE(
        section(SettingsLines(), QStringLiteral("settings")).contains("current_font_type=5"));
}

TEST_F(LifecycleTest, TheSessionsEndIsNotRefusedAndSavesLikeAClose) {
    TGlyphorama& w = OpenWindow();
    w.ShowAllClick();
    ASSERT_TRUE(WaitForBuild());
    VersionCheckRunning = true;
    w.close();
    ASSERT_TRUE(testing_support::WaitUntil([] { return QApplication::activeModalWidget(); }));

    w.EndSession();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.FontPool);
    EXPECT_TRUE(testing_support::WaitUntil([] { return !QApplication::activeModalWidget(); }))
        << "the refusal went with the window";
    EXPECT_TRUE(
        section(SettingsLines(), QStringLiteral("settings")).contains("current_font_type=5"));
    const QByteArray saved = SettingsText();
    w.EndSession();
    w.close();
    EXPECT_EQ(SettingsText(), saved) << "the session ends once";
    EXPECT_TRUE(messageBoxes.isEmpty());
}

TEST_F(LifecycleTest, ASignalWhileTheFontsAreReadEndsTheWaitAndTheStartTouchesNothing) {
    platform::SessionEnd sessionEnd;
    // The reading hangs (a font file that is a FIFO, a dead network share) after the signal.
    struct Reading {
        std::promise<void> release;
        std::shared_future<void> released = release.get_future().share();
        std::atomic<bool> done{false};
    };
    auto reading = std::make_shared<Reading>();
    TFontPool::FontSource = [reading] {
        kill(getpid(), SIGTERM);
        // Released by the test once the window is made; a wait that is never cut short fails
        // the test here instead of hanging it.
        reading->released.wait_for(std::chrono::seconds(30));
        reading->done = true;
        return std::vector<platform::FontFamilyRecord>{};
    };
    const QByteArray settings = SettingsText();

    window = std::make_unique<TGlyphorama>();
    EXPECT_FALSE(reading->done) << "the window waited for the whole reading";
    EXPECT_TRUE(platform::SessionEnd::Requested());
    EXPECT_FALSE(window->FontPool);
    window->EndSession();
    window.reset();
    EXPECT_EQ(SettingsText(), settings);

    reading->release.set_value();
    EXPECT_TRUE(testing_support::WaitUntil([&] { return reading->done.load(); }));
}

TEST_F(LifecycleTest, OtherKeysNeitherCloseTheWindowNorStopTheBuild) {
    TGlyphorama& w = OpenWindow(false);
    ASSERT_TRUE(w.FontPool->Building);
    PressKey(Qt::Key_A);
    PressKey(Qt::Key_Return);
    ASSERT_TRUE(WaitForBuild());
    EXPECT_TRUE(w.isVisible());
    EXPECT_EQ(TileCount(), 5);
}

TEST_F(LifecycleTest, EscWithoutACheckClosesAtOnceEvenWhileTilesAreBuilt) {
    UseFamilies(3000);
    TGlyphorama& w = OpenWindow(false);
    ASSERT_TRUE(w.FontPool->Building);

    PressKey(Qt::Key_Escape);
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.FontPool);
    EXPECT_TRUE(messageBoxes.isEmpty());
    EXPECT_TRUE(section(SettingsLines(), QStringLiteral("settings")).contains("form_width=500"));
}

TEST_F(LifecycleTest, CloseReleasesCatalogueThenCoreAndLaterHandlersDoNothing) {
    TGlyphorama& w = OpenWindow();
    const int firstTag = w.FontPool->ViewList.front()->Tile->Tag;
    // The catalogue goes first: its teardown may still need the core's folders.
    bool coreLeftAfterCatalogue = false;
    QObject::connect(w.FontPool.get(), &QObject::destroyed,
                     [&w, &coreLeftAfterCatalogue] { coreLeftAfterCatalogue = bool(w.AppCore); });
    w.close();
    ASSERT_FALSE(w.FontPool);
    EXPECT_FALSE(w.AppCore);
    EXPECT_TRUE(coreLeftAfterCatalogue);
    const QByteArray saved = SettingsText();

    // A key press queued behind the Esc that closed the window, and other late arrivals.
    QCoreApplication::postEvent(&w,
                                new QKeyEvent(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier));
    platform::PostMessage(&w, TGlyphorama::WM_REMOVE_TILE, 0, firstTag);
    QCoreApplication::processEvents();
    w.FormKeyDown(Qt::Key_Escape);
    w.FormKeyPress(Qt::Key_Escape);
    w.ContextMenuTag = firstTag;
    w.CopyFontNameClick();
    w.S1Click();
    w.ShowAboutClick();
    w.X2Click();
    EXPECT_EQ(SettingsText(), saved) << "closing again writes nothing";
    EXPECT_TRUE(errors.isEmpty());
}

TEST_F(LifecycleTest, ARemoveTileMessageTakesTheTileOutAfterItsSenderHasReturned) {
    TGlyphorama& w = OpenWindow();
    ASSERT_EQ(TileCount(), 5);
    const int tag = w.FontPool->ViewList[2]->Tile->Tag;
    platform::PostMessage(&w, TGlyphorama::WM_REMOVE_TILE, 0, tag);
    EXPECT_EQ(TileCount(), 5) << "posted, not sent";
    QCoreApplication::processEvents();
    EXPECT_EQ(TileCount(), 4);
    EXPECT_EQ(w.FontPool->FindUnitByTileTag(tag), nullptr);
}

} // namespace
