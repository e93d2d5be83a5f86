// The designed forms: the names and kinds of their parts are what the program's code finds
// them by, and the pictograms must load, so a renamed widget or a broken drawing shows here.
#include "ui_AboutForm.h"
#include "ui_Glyphorama.h"
#include "ui_NewTagForm.h"

#include "platform/FormFonts.h"

#include <QAction>
#include <QDialog>
#include <QFile>
#include <QImage>
#include <QPainter>
#include <QSvgRenderer>
#include <cctype>
#include <gtest/gtest.h>

namespace {

// Every named part of the main window with the class the code expects of it.
template <typename T> void ExpectPart(const QWidget& form, const char* name) {
    SCOPED_TRACE(name);
    const QList<T*> found = form.findChildren<T*>(QString::fromLatin1(name));
    EXPECT_EQ(found.size(), 1) << "missing, or not of the expected kind";
}

// A label's design text must fit its box: the layout is absolute, so a clipped text stays
// clipped.
void ExpectTextFits(const QLabel* label, const QString& text) {
    SCOPED_TRACE(label->objectName().toStdString());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(text), label->width());
    EXPECT_LE(label->fontMetrics().height(), label->height() + 2);
}

QStringList ActionTexts(const QMenu* menu) {
    QStringList texts;
    for (const QAction* action : menu->actions())
        texts.append(action->isSeparator() ? QStringLiteral("-") : action->text());
    return texts;
}

QStringList ActionNames(const QMenu* menu) {
    QStringList names;
    for (const QAction* action : menu->actions())
        names.append(action->menu() ? action->menu()->objectName() : action->objectName());
    return names;
}

class MainForm : public ::testing::Test {
protected:
    void SetUp() override { ui.setupUi(&form); }
    QWidget form;
    Ui::TGlyphorama ui;
};

TEST_F(MainForm, HasEveryNamedPartWithItsKind) {
    ExpectPart<QFrame>(form, "SampleControlPanel");
    ExpectPart<QWidget>(form, "SwitchBar");
    for (const char* name : {"SwitchSampleViewModeButton", "ShowEnglish", "ShowJapanese", "ShowAll",
                             "ToolButton6", "NewTag", "ToolButton5", "ToolButton7"})
        ExpectPart<QToolButton>(form, name);
    for (const char* name : {"ToolButton1", "ToolButton2", "ToolButton4"})
        ExpectPart<QWidget>(form, name);
    ExpectPart<QLabel>(form, "Label1");
    ExpectPart<QLineEdit>(form, "SampleText");
    ExpectPart<QFrame>(form, "StatusToolBarPanel");
    ExpectPart<QProgressBar>(form, "ProgressBar");
    ExpectPart<TPanel>(form, "MainPanel");
    ExpectPart<QScrollArea>(form, "ScrollBox");
    ExpectPart<FlowLayoutPanel>(form, "FlowPanel");
    ExpectPart<QFrame>(form, "ToolButtonsPanel");
    ExpectPart<TagToolBar>(form, "TagBar");
    ExpectPart<QFrame>(form, "StatusBar");
    for (const char* name : {"StatusPanel0", "StatusPanel1", "StatusPanel2", "StatusPanel3"})
        ExpectPart<QLabel>(form, name);
    for (const char* name : {"ToolMenu", "H1", "TagMenu", "ContextMenu"})
        ExpectPart<QMenu>(form, name);
}

TEST_F(MainForm, PartsSitWhereTheCodeReachesThem) {
    // The tiles go into the scroll box's contents, the caption shows while it is hidden.
    EXPECT_EQ(ui.ScrollBox->widget(), ui.FlowPanel);
    EXPECT_EQ(ui.ScrollBox->parentWidget(), ui.MainPanel);
    EXPECT_EQ(ui.MainPanel->Caption(), QStringLiteral("サンプルビューの再構築中..."));
    // The first rebuild of the tag bar removes exactly the designed buttons.
    const QList<QWidget*> designed = ui.TagBar->Buttons();
    ASSERT_EQ(designed.size(), 4);
    EXPECT_EQ(designed[0], ui.NewTag);
    EXPECT_EQ(designed[1], ui.ToolButton5);
    EXPECT_EQ(designed[2], ui.ToolButton4);
    EXPECT_EQ(designed[3], ui.ToolButton7);
    EXPECT_EQ(ui.Label1->buddy(), ui.SampleText);
    EXPECT_EQ(ui.SampleText->placeholderText(), QStringLiteral("サンプルテキスト"));
}

TEST_F(MainForm, FilterButtonsExcludeEachOther) {
    form.show();
    ui.ShowEnglish->click();
    ui.ShowJapanese->click();
    EXPECT_FALSE(ui.ShowEnglish->isChecked());
    EXPECT_TRUE(ui.ShowJapanese->isChecked());
    ui.ShowAll->click();
    EXPECT_FALSE(ui.ShowJapanese->isChecked());
    EXPECT_TRUE(ui.ShowAll->isChecked());
    // A second click on the checked one keeps it checked: one filter is always chosen.
    ui.ShowAll->click();
    EXPECT_TRUE(ui.ShowAll->isChecked());
    EXPECT_FALSE(ui.SwitchSampleViewModeButton->isCheckable());
}

TEST_F(MainForm, StatusPanelsShowTextAsPlainText) {
    // They show tag names, which come from files.
    for (int i = 0; i < 4; ++i) {
        const auto* panel = form.findChild<QLabel*>(QStringLiteral("StatusPanel%1").arg(i));
        ASSERT_NE(panel, nullptr);
        EXPECT_EQ(panel->textFormat(), Qt::PlainText) << i;
    }
}

TEST_F(MainForm, MenusHoldTheirItemsInOrder) {
    EXPECT_EQ(ActionNames(ui.ToolMenu), (QStringList{"O1", "N4", "H1", "N2", "X2"}));
    EXPECT_EQ(ActionTexts(ui.ToolMenu),
              (QStringList{"設定(&O)", "-", "ヘルプ(&H)", "-", "終了(&X)"}));
    EXPECT_FALSE(ui.O1->isEnabled());
    EXPECT_TRUE(ui.X2->isEnabled());

    EXPECT_EQ(ActionNames(ui.H1), (QStringList{"S1", "U1", "N5", "O2", "M1", "N3", "ShowAbout"}));
    EXPECT_EQ(ActionTexts(ui.H1),
              (QStringList{"ソフトウェアの説明(&S)", "更新箇所と修正箇所(&U)", "-",
                           "ホームページ(&O)", "作者にメールを送る(＆M)", "-", "情報(&A)"}));

    EXPECT_EQ(ActionNames(ui.TagMenu), (QStringList{"DeleteTag", "N1", "RenameTag"}));
    EXPECT_EQ(ActionTexts(ui.TagMenu), (QStringList{"削除(&D)", "-", "名称変更(&R)"}));
    EXPECT_EQ(ActionTexts(ui.ContextMenu), (QStringList{"フォント名をコピー(&C)"}));
}

TEST_F(MainForm, MenusArePopupsNotPartOfTheWindow) {
    form.show();
    for (QMenu* menu : {ui.ToolMenu, ui.TagMenu, ui.ContextMenu}) {
        SCOPED_TRACE(menu->objectName().toStdString());
        EXPECT_TRUE(menu->isWindow());
        EXPECT_FALSE(menu->isVisible());
    }
}

TEST(NewTagFormLayout, HasItsPartsInsideTheFramedPanel) {
    QDialog dialog;
    Ui::TNewTagForm ui;
    ui.setupUi(&dialog);
    for (QWidget* part : std::initializer_list<QWidget*>{ui.Label1, ui.TagName, ui.RegistButton,
                                                         ui.Button1, ui.Notice})
        EXPECT_EQ(part->parentWidget(), ui.Panel1) << part->objectName().toStdString();
    EXPECT_EQ(dialog.findChild<QLineEdit*>(QStringLiteral("TagName")), ui.TagName);
    EXPECT_EQ(ui.RegistButton->text(), QStringLiteral("登録"));
    EXPECT_EQ(ui.Button1->text(), QStringLiteral("キャンセル"));
    EXPECT_TRUE(ui.RegistButton->isDefault());
    EXPECT_FALSE(ui.Button1->autoDefault()); // Enter must never cancel
    EXPECT_EQ(ui.Notice->textFormat(), Qt::PlainText);

    dialog.show();
    EXPECT_EQ(dialog.size(), QSize(392, 110));
    EXPECT_EQ(ui.Panel1->geometry(), QRect(3, 3, 386, 104));
    EXPECT_FALSE(ui.Notice->isVisible());
    EXPECT_EQ(ui.TagName->nextInFocusChain(), ui.RegistButton);
    ExpectTextFits(ui.Label1, ui.Label1->text());
    // The longest refusal: the list of forbidden characters.
    ExpectTextFits(ui.Notice,
                   QStringLiteral("タグ名に \\ / : , ; * ? \" < > | は使用できません。"));
}

TEST(AboutFormLayout, PlacesTheLabelsOverThePicture) {
    QWidget form;
    Ui::TAboutForm ui;
    ui.setupUi(&form);
    EXPECT_EQ(ui.Image1->geometry(), QRect(0, 0, 500, 400));
    EXPECT_EQ(ui.Label1->pos(), QPoint(85, 208));
    EXPECT_EQ(ui.Version->pos(), QPoint(172, 206));
    EXPECT_EQ(ui.SubVersion->pos(), QPoint(215, 208));
    EXPECT_EQ(ui.Label2->pos(), QPoint(85, 229));
    for (const QLabel* label : {ui.Label1, ui.Version, ui.SubVersion, ui.Label2}) {
        EXPECT_EQ(label->textFormat(), Qt::PlainText);
        ExpectTextFits(label, label->text());
    }
    EXPECT_EQ(ui.Version->text(), QStringLiteral("1.00"));
    EXPECT_EQ(ui.SubVersion->text(), QStringLiteral("Public Beta 10"));
    EXPECT_EQ(ui.Label2->text(), QStringLiteral("Glyphorama をご利用頂き、有難うございます。"));
}

// A family Qt lacks costs a sort of every installed font before Qt falls back, at every new
// size and script: the forms name sizes only and take the family from the application.
TEST(FormFonts, NoFormNamesAFamilyTheDesktopLacks) {
    platform::UseFormFontEverywhere();
    ASSERT_FALSE(platform::FormFamily().isEmpty());
    QWidget main;
    Ui::TGlyphorama mainUi;
    mainUi.setupUi(&main);
    QDialog newTag;
    Ui::TNewTagForm newTagUi;
    newTagUi.setupUi(&newTag);
    QWidget about;
    Ui::TAboutForm aboutUi;
    aboutUi.setupUi(&about);
    for (QWidget* form : std::initializer_list<QWidget*>{&main, &newTag, &about}) {
        QList<QWidget*> parts = form->findChildren<QWidget*>();
        parts.prepend(form);
        for (const QWidget* part : parts) {
            SCOPED_TRACE(part->objectName().toStdString());
            EXPECT_EQ(part->font().families(), QStringList{platform::FormFamily()});
        }
    }
    // The designed sizes stay.
    EXPECT_EQ(main.font().pointSize(), 8);
    EXPECT_EQ(mainUi.SampleText->font().pointSize(), 10);
}

// Draws the picture and tells whether anything at all was painted.
bool PaintsSomething(QSvgRenderer& renderer, QSize size) {
    QImage image(size, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    renderer.render(&painter);
    painter.end();
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (qAlpha(image.pixel(x, y)) != 0)
                return true;
    return false;
}

struct Picture {
    const char* path;
    QSize viewBox;
};

class Pictures : public ::testing::TestWithParam<Picture> {};

TEST_P(Pictures, LoadFromTheResourcesAndDraw) {
    const QString path = QString::fromLatin1(GetParam().path);
    ASSERT_TRUE(QFile::exists(path)) << "not in the resources";
    QSvgRenderer renderer(path);
    ASSERT_TRUE(renderer.isValid());
    EXPECT_EQ(renderer.viewBox().size(), GetParam().viewBox);
    EXPECT_TRUE(PaintsSomething(renderer, GetParam().viewBox));
}

// The image lists take their pictures by these names, in this order.
INSTANTIATE_TEST_SUITE_P(
    FormPictures, Pictures,
    ::testing::Values(Picture{":/forms/icons/24/0-circular-arrow.svg", {24, 24}},
                      Picture{":/forms/icons/24/1-heart.svg", {24, 24}},
                      Picture{":/forms/icons/24/2-letter-a.svg", {24, 24}},
                      Picture{":/forms/icons/24/3-hiragana-a.svg", {24, 24}},
                      Picture{":/forms/icons/24/4-asterisk.svg", {24, 24}},
                      Picture{":/forms/icons/24/5-magnifier-white.svg", {24, 24}},
                      Picture{":/forms/icons/24/6-magnifier-black.svg", {24, 24}},
                      Picture{":/forms/icons/24/7-wrench.svg", {24, 24}},
                      Picture{":/forms/icons/24/8-shopping-bag.svg", {24, 24}},
                      Picture{":/forms/icons/16/0-magic-wand.svg", {16, 16}},
                      Picture{":/forms/icons/16/1-cross.svg", {16, 16}},
                      Picture{":/forms/icons/16/2-heart.svg", {16, 16}},
                      Picture{":/forms/icons/16/3-prohibition.svg", {16, 16}},
                      Picture{":/forms/icons/glyphorama.svg", {256, 256}},
                      Picture{":/forms/about.svg", {500, 400}}),
    [](const ::testing::TestParamInfo<Picture>& info) {
        // "24/5-magnifier-white.svg" reads as "icons_24_5_magnifier_white".
        std::string name = QString::fromLatin1(info.param.path)
                               .mid(QStringLiteral(":/forms/").size())
                               .chopped(4)
                               .toStdString();
        for (char& c : name)
            if (!std::isalnum(static_cast<unsigned char>(c)))
                c = '_';
        return name;
    });

} // namespace
