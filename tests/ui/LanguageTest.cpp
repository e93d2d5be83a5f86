// The interface language: the setting, the translation as the windows show it, and the
// tool menu's choice.
#include "MainWindowFixture.h"

#include "app/Language.h"
#include "details/FontDetailsForm.h"
#include "platform/Application.h"
#include "tags/NewTagForm.h"
#include "tags/TagButton.h"
#include "tags/TagToolBar.h"
#include "tests/support/TestSupport.h"
#include "ui/LanguageMenu.h"
#include "ui/ShellOpen.h"
#include "ui_Glyphorama.h"
#include "ui_NewTagForm.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <memory>

namespace {

const QString TranslationsDir = QStringLiteral(GLYPHORAMA_TRANSLATIONS_DIR);

TEST(LanguageSetting, IsWrittenOnlyOnceAnotherLanguageThanJapaneseIsChosen) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Glyphorama.ini"));
    const LanguageSetting setting(path);

    // No file, or a file without the section: Japanese, and choosing it writes nothing.
    EXPECT_EQ(setting.Read(), language::Japanese);
    setting.Write(language::Japanese);
    EXPECT_FALSE(QFile::exists(path));
    const QByteArray before = "[settings]\ncurrent_font_type=2\n[tags]\ntotal=0\n";
    testing_support::WriteBytes(path, before);
    setting.Write(language::Japanese);
    EXPECT_EQ(testing_support::ReadBytes(path), before);

    setting.Write(language::English);
    EXPECT_EQ(testing_support::ReadBytes(path), before + "[language]\nname=en\n");
    EXPECT_EQ(setting.Read(), language::English);

    // Back to Japanese over an earlier choice: the choice is kept, not left saying English.
    setting.Write(language::Japanese);
    EXPECT_EQ(setting.Read(), language::Japanese);
    EXPECT_EQ(testing_support::ReadBytes(path), before + "[language]\nname=ja\n");
}

TEST(LanguageSetting, ReadsWhatAHandMayHaveWrittenAndFallsBackToJapanese) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Glyphorama.ini"));
    const auto readWith = [&](const QByteArray& text) {
        testing_support::WriteBytes(path, text);
        return LanguageSetting(path).Read();
    };
    EXPECT_EQ(readWith("[Language]\nNAME = EN\n"), language::English);
    EXPECT_EQ(readWith("[language]\nname=fr\n"), language::Japanese);
    EXPECT_EQ(readWith("[language]\nname=\n"), language::Japanese);
    EXPECT_EQ(readWith("[settings]\nname=en\n"), language::Japanese);
}

TEST(InterfaceLanguage, StaysJapaneseWithoutItsTranslationFile) {
    QTemporaryDir empty;
    EXPECT_FALSE(InterfaceLanguage::Install(language::English, empty.path()));
    EXPECT_EQ(InterfaceLanguage::Current(), language::Japanese);
    EXPECT_EQ(QCoreApplication::translate("TGlyphorama", "情報(&A)"), "情報(&A)");

    // A damaged file is no translation either.
    QFile damaged(empty.filePath(QStringLiteral("glyphorama_en.qm")));
    ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
    damaged.write("not a translation");
    damaged.close();
    EXPECT_FALSE(InterfaceLanguage::Install(language::English, empty.path()));
    EXPECT_EQ(InterfaceLanguage::Current(), language::Japanese);
}

// Qt's own texts (an edit field's menu, a dialog's buttons) speak the interface's language,
// made after the language is installed as the program does it.
TEST(InterfaceLanguage, QtsOwnTextsSpeakIt) {
    const auto qtTexts = [] {
        QLineEdit field;
        const std::unique_ptr<QMenu> menu(field.createStandardContextMenu());
        QStringList texts;
        for (const QAction* item : menu->actions())
            if (!item->isSeparator())
                texts.append(item->text().section(u'\t', 0, 0));
        const QDialogButtonBox buttons(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
        texts.append(buttons.button(QDialogButtonBox::Cancel)->text());
        return texts;
    };
    ASSERT_TRUE(InterfaceLanguage::Install(language::Japanese, TranslationsDir));
    QStringList texts = qtTexts();
    EXPECT_TRUE(texts.contains("元に戻す(&U)")) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains("キャンセル")) << texts.join(u'|').toStdString();

    ASSERT_TRUE(InterfaceLanguage::Install(language::English, TranslationsDir));
    texts = qtTexts();
    EXPECT_TRUE(texts.contains("&Undo")) << texts.join(u'|').toStdString();
    EXPECT_TRUE(texts.contains("Cancel")) << texts.join(u'|').toStdString();
    ASSERT_TRUE(InterfaceLanguage::Install(language::Japanese, TranslationsDir));
}

TEST(InterfaceLanguage, ReadmeIsTheLanguagesOwn) {
    EXPECT_EQ(InterfaceLanguage::ReadmeFileName(language::Japanese), "readme.txt");
    EXPECT_EQ(InterfaceLanguage::ReadmeFileName(language::English), "readme.en.txt");
    // Every readme the program may open is shipped beside it.
    for (const QString& language : language::Available())
        EXPECT_TRUE(QFile::exists(QStringLiteral(GLYPHORAMA_SOURCE_DIR "/docs/") +
                                  InterfaceLanguage::ReadmeFileName(language)))
            << language.toStdString();
}

class LanguageTest : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ShellExecutor = [this](const DesktopHandOff& handOff) { handOffs.push_back(handOff); };
    }
    void TearDown() override {
        MainWindowTest::TearDown();
        ShellExecutor = ExecuteOnDesktop;
        InterfaceLanguage::Install(language::Japanese, TranslationsDir);
    }
    // Captions of the tag bar's tag buttons, in their order.
    static QStringList TagButtonTexts(TGlyphorama& w) {
        QStringList texts;
        for (QWidget* item : w.ui->TagBar->Buttons())
            if (const auto* button = qobject_cast<TagButton*>(item))
                texts.append(button->text());
        return texts;
    }
    static LanguageMenu* Menu(TGlyphorama& w) {
        return w.ToolMenu->findChild<LanguageMenu*>(QStringLiteral("LanguageMenu"));
    }
    std::vector<DesktopHandOff> handOffs;
};

TEST_F(LanguageTest, EnglishReachesTheMainWindowAndTheTagDialog) {
    ASSERT_TRUE(InterfaceLanguage::Install(language::English, TranslationsDir));
    EXPECT_EQ(InterfaceLanguage::Current(), language::English);
    TGlyphorama& w = OpenWindow();
    // The title is the program's name in every language; tests and desktops find it by it.
    EXPECT_EQ(w.windowTitle(), "Glyphorama2");
    EXPECT_EQ(w.ui->H1->title(), "&Help");
    EXPECT_EQ(w.ui->ShowAbout->text(), "&About");
    EXPECT_EQ(w.ui->X2->text(), "E&xit");
    EXPECT_EQ(w.ui->CopyFontName->text(), "&Copy font name");
    EXPECT_EQ(w.ui->ShowEnglish->toolTip(), "Show Western fonts");
    EXPECT_EQ(w.ui->RenameTag->text(), "&Rename");

    // Texts the code sets: status bar, tag bar, the sample text's buttons.
    EXPECT_EQ(w.StatusPanel(0)->text(), "5 fonts");
    EXPECT_EQ(w.StatusPanel(1)->text(), "Western fonts");
    EXPECT_EQ(w.StatusPanel(2)->text(), "None");
    const auto* newTag = w.findChild<QToolButton*>(QStringLiteral("NewTagButton"));
    ASSERT_NE(newTag, nullptr);
    EXPECT_EQ(newTag->text(), "New tag");
    EXPECT_EQ(newTag->toolTip(), "Add a new tag");
    EXPECT_EQ(TagButtonTexts(w), (QStringList{"Trash (0)", "Favourites (0)"}));
    EXPECT_EQ(w.findChild<QAction*>(QStringLiteral("SampleTextLeftButton"))->toolTip(),
              "Apply the sample text");
    // The fixed tags keep their names proper: the files and the settings are the same in
    // every language.
    w.FontPool->RebuildView(TFontPool::TrashTagName);
    EXPECT_TRUE(WaitForBuild());
    EXPECT_EQ(w.StatusPanel(2)->text(), "Trash tag");
    EXPECT_EQ(w.FontPool->TagList[0].Name, "ゴミ箱");

    TNewTagForm dialog(
        nullptr, [](const QString& name) { return name == QStringLiteral("work"); },
        [](const QString&) { return true; });
    EXPECT_EQ(dialog.windowTitle(), "New tag");
    EXPECT_EQ(dialog.ui->Label1->text(), "Enter the name of the new tag.");
    EXPECT_EQ(dialog.ui->RegistButton->text(), "OK");
    EXPECT_EQ(dialog.ui->Button1->text(), "Cancel");
    dialog.ui->TagName->setText(QStringLiteral("work"));
    EXPECT_EQ(dialog.ui->Notice->text(), "A tag with the same name already exists.");
    EXPECT_EQ(TAppCore::ForbiddenTagNameMessage(),
              "A tag name cannot contain these characters: \\ / : , ; * ? \" < > | ");

    // The help opens the English readme.
    w.ui->S1->trigger();
    ASSERT_EQ(handOffs.size(), 1u);
    EXPECT_EQ(handOffs[0].Target, w.AppCore->ExeDir + QStringLiteral("/readme.en.txt"));

    // Back to Japanese, a new window speaks it byte for byte.
    window.reset();
    ASSERT_TRUE(InterfaceLanguage::Install(language::Japanese, TranslationsDir));
    TGlyphorama& japanese = OpenWindow();
    EXPECT_EQ(japanese.ui->H1->title(), "ヘルプ(&H)");
    EXPECT_EQ(japanese.ui->ShowAbout->text(), "情報(&A)");
    EXPECT_EQ(japanese.StatusPanel(0)->text(), "5 fonts");
    EXPECT_EQ(japanese.StatusPanel(1)->text(), "欧文フォント");
    EXPECT_EQ(japanese.StatusPanel(2)->text(), "なし");
    EXPECT_EQ(TagButtonTexts(japanese), (QStringList{"ゴミ箱 (0)", "お気に入り (0)"}));
    EXPECT_EQ(TAppCore::ForbiddenTagNameMessage(),
              "タグ名に \\ / : , ; * ? \" < > | は使用できません。");
    TNewTagForm again(
        nullptr, [](const QString&) { return false; }, [](const QString&) { return true; });
    EXPECT_EQ(again.ui->Label1->text(), "新しいタグの名称を入力して下さい。");
    japanese.ui->S1->trigger();
    ASSERT_EQ(handOffs.size(), 2u);
    EXPECT_EQ(handOffs[1].Target, japanese.AppCore->ExeDir + QStringLiteral("/readme.txt"));
}

TEST_F(LanguageTest, EnglishCountsTheFontsShownWithItsPlural) {
    ASSERT_TRUE(InterfaceLanguage::Install(language::English, TranslationsDir));
    UseFamilies(12);
    TGlyphorama& w = OpenWindow();
    EXPECT_EQ(w.StatusPanel(0)->text(), "12 fonts");
    auto* search = w.findChild<QLineEdit*>(QStringLiteral("FontNameSearch"));
    ASSERT_NE(search, nullptr);
    search->setText(QStringLiteral("Family 0001"));
    EXPECT_EQ(w.StatusPanel(0)->text(), "1 font");
    // A new view counts again, the search still on.
    w.ShowAllClick();
    EXPECT_TRUE(WaitForBuild());
    EXPECT_EQ(w.StatusPanel(0)->text(), "1 font");
    search->setText(QStringLiteral("Family 001")); // each word anywhere: 0001, 0010, 0011
    EXPECT_EQ(w.StatusPanel(0)->text(), "3 fonts");
}

TEST_F(LanguageTest, EnglishNamesOneStyleInTheSingular) {
    ASSERT_TRUE(InterfaceLanguage::Install(language::English, TranslationsDir));
    FontDetailsForm form(ReadFamilyDetails(QStringLiteral("DejaVu Sans"), nullptr, QString()),
                         QString());
    const auto* tree = form.findChild<QTreeWidget*>(QStringLiteral("FacesTree"));
    ASSERT_NE(tree, nullptr);
    EXPECT_EQ(tree->headerItem()->text(0), "Style");
    const auto* text = form.findChild<QPlainTextEdit*>(QStringLiteral("FaceText"));
    ASSERT_NE(text, nullptr);
    EXPECT_TRUE(text->toPlainText().startsWith("Style: ")) << text->toPlainText().toStdString();
    const auto* tabs = form.findChild<QTabWidget*>(QStringLiteral("DetailsTabs"));
    ASSERT_NE(tabs, nullptr);
    EXPECT_EQ(tabs->tabText(1), "Styles");
}

TEST_F(LanguageTest, ToolMenuOffersBothLanguagesAfterTheDisabledSettingsItem) {
    TGlyphorama& w = OpenWindow();
    LanguageMenu* menu = Menu(w);
    ASSERT_NE(menu, nullptr);
    const QList<QAction*> items = w.ToolMenu->actions();
    ASSERT_GE(items.size(), 3);
    EXPECT_EQ(items[0], w.ui->O1);
    EXPECT_EQ(items[1], menu->menuAction());
    EXPECT_EQ(items[2], w.ui->N4);
    EXPECT_EQ(menu->title(), "言語 / Language");
    EXPECT_EQ(menu->Item(language::Japanese)->text(), "日本語");
    EXPECT_EQ(menu->Item(language::English)->text(), "English");
    EXPECT_TRUE(menu->Item(language::Japanese)->isChecked());
    EXPECT_FALSE(menu->Item(language::English)->isChecked());
}

TEST_F(LanguageTest, ChoosingSavesOnlyAnotherLanguageAndSaysWhenItApplies) {
    TGlyphorama& w = OpenWindow();
    LanguageMenu* menu = Menu(w);
    ASSERT_NE(menu, nullptr);
    const QByteArray before = SettingsText();

    // The language already spoken: nothing to save, nothing to say.
    menu->Item(language::Japanese)->trigger();
    EXPECT_EQ(SettingsText(), before);
    EXPECT_TRUE(messageBoxes.isEmpty());

    AnswerNextMessageBox();
    menu->Item(language::English)->trigger();
    EXPECT_EQ(SettingsText(), before + "[language]\nname=en\n");
    ASSERT_EQ(messageBoxes.size(), 1);
    EXPECT_EQ(messageBoxes[0], "LanguageNotice: 言語の変更は次回の起動から有効になります。\n"
                               "The new language applies from the next start.");
    EXPECT_TRUE(menu->Item(language::English)->isChecked());
    // Until then the window still speaks Japanese.
    EXPECT_EQ(w.ui->ShowAbout->text(), "情報(&A)");

    // The close keeps the choice among the settings it writes.
    w.close();
    EXPECT_TRUE(SettingsLines().contains("name=en"));
    EXPECT_TRUE(SettingsLines().contains("form_width=500"));
    EXPECT_EQ(LanguageSetting(SettingsPath()).Read(), language::English);
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(LanguageTest, ReturningToTheSpokenLanguageNeedsNoRestart) {
    TGlyphorama& w = OpenWindow();
    LanguageMenu* menu = Menu(w);
    ASSERT_NE(menu, nullptr);
    AnswerNextMessageBox();
    menu->Item(language::English)->trigger();
    ASSERT_EQ(messageBoxes.size(), 1);
    menu->Item(language::Japanese)->trigger();
    EXPECT_EQ(messageBoxes.size(), 1);
    EXPECT_EQ(LanguageSetting(SettingsPath()).Read(), language::Japanese);
    EXPECT_TRUE(menu->Item(language::Japanese)->isChecked());
}

// Taking the offer closes the window the ordinary way (the settings saved, the choice among
// them) and asks for a new start of the program at its end; declining it starts nothing.
TEST_F(LanguageTest, TheRestartOfferClosesInGoodOrderAndAsksForANewStart) {
    auto* app = platform::Application::instance();
    ASSERT_NE(app, nullptr);
    TGlyphorama& w = OpenWindow();
    LanguageMenu* menu = Menu(w);
    ASSERT_NE(menu, nullptr);
    QString offered;
    const auto answerWith = [&offered](const char* button) {
        QTimer::singleShot(0, [&offered, button] {
            ASSERT_TRUE(QTest::qWaitFor([] { return QApplication::activeModalWidget(); }, 5000));
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            ASSERT_NE(box, nullptr);
            offered = box->informativeText();
            box->findChild<QPushButton*>(QString::fromLatin1(button))->click();
        });
    };
    answerWith("RestartLater");
    menu->Item(language::English)->trigger();
    EXPECT_EQ(offered, "今すぐ再起動しますか？\nRestart now?");
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.isVisible());
    EXPECT_FALSE(app->RestartRequested);

    menu->Item(language::Japanese)->trigger();
    answerWith("RestartNow");
    menu->Item(language::English)->trigger();
    EXPECT_TRUE(QTest::qWaitFor([&w] { return !w.isVisible(); }, 5000));
    EXPECT_TRUE(app->RestartRequested);
    app->RestartRequested = false;
    EXPECT_EQ(LanguageSetting(SettingsPath()).Read(), language::English);
    EXPECT_TRUE(SettingsLines().contains("form_width=500"));
    EXPECT_TRUE(errors.isEmpty()) << errors.join(u'\n').toStdString();
}

TEST_F(LanguageTest, AChoiceThatCannotBeSavedIsReportedAndNotMarked) {
    TGlyphorama& w = OpenWindow();
    LanguageMenu* menu = Menu(w);
    ASSERT_NE(menu, nullptr);
    // A folder where the settings file should be: nothing can be written there.
    ASSERT_TRUE(QFile::remove(SettingsPath()));
    ASSERT_TRUE(QDir().mkdir(SettingsPath()));
    // Handed to the application's error handler, which shows it.
    menu->Item(language::English)->trigger();
    EXPECT_EQ(errors.size(), 1);
    EXPECT_TRUE(messageBoxes.isEmpty()) << "no promise of a language that was not saved";
    EXPECT_TRUE(menu->Item(language::Japanese)->isChecked());
    EXPECT_FALSE(menu->Item(language::English)->isChecked());
    QDir().rmdir(SettingsPath());
}

} // namespace
