// The tool menu's commands and the tile's context menu on a live main window.
#include "MainWindowFixture.h"

#include "fonts/Panel.h"
#include "tests/support/TestSupport.h"
#include "ui/ShellOpen.h"
#include "ui_Glyphorama.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>
#include <QUrl>

namespace {

class HelpCommandsTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShellExecutor = [this](const DesktopHandOff& handOff) { handOffs.push_back(handOff); };
    }
    void TearDown() override {
        ShellExecutor = ExecuteOnDesktop;
        MainWindowTest::TearDown();
    }
    std::vector<DesktopHandOff> handOffs;
};

TEST_F(HelpCommandsTest, TheWrenchOpensTheToolMenuWithItsSettingsItemDisabled) {
    TGlyphorama& w = OpenWindow();
    EXPECT_EQ(w.ui->ToolButton6->menu(), w.ToolMenu);
    EXPECT_EQ(w.ui->ToolButton6->popupMode(), QToolButton::InstantPopup);
    EXPECT_FALSE(w.ui->O1->isEnabled());
    for (QAction* item : {w.ui->S1, w.ui->U1, w.ui->O2, w.ui->M1, w.ui->ShowAbout, w.ui->X2})
        EXPECT_TRUE(item->isEnabled()) << item->objectName().toStdString();
}

TEST_F(HelpCommandsTest, HelpItemsHandTheirDocumentsAndLinksToTheDesktop) {
    TGlyphorama& w = OpenWindow();
    const QString exeDir = w.AppCore->ExeDir;
    for (QAction* item : {w.ui->S1, w.ui->U1, w.ui->O2, w.ui->M1})
        item->trigger();
    EXPECT_EQ(handOffs, (std::vector<DesktopHandOff>{
                            {QString(), exeDir + QStringLiteral("/readme.txt")},
                            {QString(), exeDir + QStringLiteral("/info.txt")},
                            {QString(), HomePageUrl},
                            {QString(), QStringLiteral("mailto:") + AuthorMailAddress},
                        }));
    const QUrl home(HomePageUrl);
    EXPECT_EQ(home.scheme(), QStringLiteral("http"));
    EXPECT_EQ(home.path(), QStringLiteral("/"));
    EXPECT_TRUE(AuthorMailAddress.endsWith(QStringLiteral(".example.org")));
}

TEST_F(HelpCommandsTest, QuitClosesTheWindowTheOrdinaryWay) {
    TGlyphorama& w = OpenWindow();
    VersionCheckRunning = true;
    AnswerNextMessageBox();
    w.ui->X2->trigger();
    EXPECT_TRUE(testing_support::WaitUntil([this] { return messageBoxes.size() == 1; }))
        << "a running check refuses it as it refuses Esc";
    EXPECT_TRUE(w.isVisible());

    VersionCheckRunning = false;
    w.ui->X2->trigger();
    EXPECT_FALSE(w.isVisible());
    EXPECT_FALSE(w.FontPool);
    EXPECT_TRUE(SettingsText().contains("current_font_type=2"));
}

TEST_F(HelpCommandsTest, CopyingANameAfterRemovalsCopiesThatTilesOwnFont) {
    TGlyphorama& w = OpenWindow();
    ASSERT_EQ(w.FontPool->ViewList.size(), 5u);
    const int removedTag = w.FontPool->ViewList[1]->Tile->Tag;
    w.FontPool->RemoveTile(removedTag);
    w.FontPool->RemoveTile(w.FontPool->ViewList[2]->Tile->Tag); // "Family 0003"
    ASSERT_EQ(w.FontPool->ViewList.size(), 3u);

    QClipboard* clipboard = QGuiApplication::clipboard();
    for (const TFontUnit* unit : w.FontPool->ViewList) {
        clipboard->setText(QStringLiteral("before"));
        // A right click on the tile opens the menu for that tile.
        QTest::mousePress(unit->Tile, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        ASSERT_TRUE(w.ContextMenu->isVisible());
        w.ui->CopyFontName->trigger();
        w.ContextMenu->hide();
        QTest::mouseRelease(unit->Tile, Qt::RightButton, Qt::NoModifier, QPoint(5, 5));
        EXPECT_EQ(clipboard->text(), unit->Name);
    }
    EXPECT_EQ(clipboard->text(), QStringLiteral("Family 0004"));

    // The menu's tile has gone meanwhile: the clipboard keeps what it had.
    clipboard->setText(QStringLiteral("before"));
    w.ContextMenuTag = removedTag;
    w.ui->CopyFontName->trigger();
    EXPECT_EQ(clipboard->text(), QStringLiteral("before"));
}

} // namespace
