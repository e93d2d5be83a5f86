// The tag dialog: the refusals in their order, the forbidden characters, and how it closes.
#include "tags/NewTagForm.h"

#include "app/AppCore.h"
#include "app/Language.h"
#include "ui_NewTagForm.h"

#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace {

const QString Reserved = QStringLiteral("この名称は使用できません。");
const QString Duplicate = QStringLiteral("同じ名前のタグは登録できません。");
const QString Forbidden = QStringLiteral("タグ名に \\ / : , ; * ? \" < > | は使用できません。");

class NewTagFormTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = std::make_unique<TNewTagForm>(
            nullptr, [this](const QString& name) { return tags.contains(name); },
            [this](const QString& name) { return core.IsValidTagName(name); });
    }
    // The notice, empty while hidden.
    QString Notice() const {
        return form->ui->Notice->isVisibleTo(form.get()) ? form->ui->Notice->text() : QString();
    }
    bool Registrable() const { return form->ui->RegistButton->isEnabled(); }
    void Type(const QString& text) const { form->ui->TagName->setText(text); }

    TAppCore core{QStringLiteral("/nowhere"), QStringLiteral("/nowhere")};
    QStringList tags{"ゴミ箱", "お気に入り", "/-/", "work", "a/b"};
    std::unique_ptr<TNewTagForm> form;
};

} // namespace

TEST_F(NewTagFormTest, RefusesInTheOrderOfTheRules) {
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(Notice(), "");
    EXPECT_FALSE(Registrable());
    const struct {
        QString text, notice;
        bool registrable;
    } cases[] = {
        {"ゴミ箱", Reserved, false}, // exists as well, but reserved comes first
        {"お気に入り", Reserved, false},
        {"a/b", Duplicate, false}, // exists, with a forbidden
                                   // character
        {"work", Duplicate, false},
        {"Work", "", true},
        {"x/-/", Forbidden, false},
        {"  spaced  ", "", true}, // taken as typed
        {"ゴミ箱 ", "", true},
        {"", "", false}, // emptying after a refusal hides the
                         // notice
    };
    for (const auto& c : cases) {
        Type(QStringLiteral("a:b"));
        Type(c.text);
        EXPECT_EQ(Notice(), c.notice) << c.text.toStdString();
        EXPECT_EQ(Registrable(), c.registrable) << c.text.toStdString();
    }
}

// The fixed tags' captions in every language are refused in either, letter case aside: a user's
// tag of that name would sit beside the fixed one under the same caption. The notice names the
// tag in the language the dialog speaks.
TEST_F(NewTagFormTest, RefusesTheFixedTagsCaptionsInEveryLanguage) {
    const QString translations = QStringLiteral(GLYPHORAMA_TRANSLATIONS_DIR);
    ASSERT_TRUE(InterfaceLanguage::Install(language::Japanese, translations));
    for (const QString& name : QStringList{"Trash", "trash", "FAVOURITES", "Favourites"}) {
        Type(name);
        EXPECT_FALSE(Registrable()) << name.toStdString();
        EXPECT_TRUE(Notice().startsWith("この名称は「")) << name.toStdString();
    }
    Type(QStringLiteral("Trash"));
    EXPECT_EQ(Notice(), "この名称は「ゴミ箱」タグの名前のため使用できません。");
    for (const QString& name : QStringList{"Trash can", "Favourite", " Trash"}) {
        Type(name);
        EXPECT_TRUE(Registrable()) << name.toStdString();
    }

    ASSERT_TRUE(InterfaceLanguage::Install(language::English, translations));
    SetUp();
    Type(QStringLiteral("favourites"));
    EXPECT_EQ(Notice(), "This name belongs to the built-in tag “Favourites” and cannot be used.");
    Type(QStringLiteral("ゴミ箱"));
    EXPECT_EQ(Notice(), "This name cannot be used.");
    Type(QStringLiteral("Work"));
    EXPECT_TRUE(Registrable());
    ASSERT_TRUE(InterfaceLanguage::Install(language::Japanese, translations));
}

TEST_F(NewTagFormTest, EachOfTheElevenCharactersIsForbidden) {
    for (const QChar c : QStringLiteral("\\/:,;*?\"<>|")) {
        Type(QStringLiteral("tag") + c);
        EXPECT_EQ(Notice(), Forbidden) << QString(c).toStdString();
    }
    Type(QStringLiteral("%'!#$()[]{}=~^+-_@`&.欧文"));
    EXPECT_TRUE(Registrable());
}

// Esc and Enter through the tag bar are in the bar's tests.
TEST_F(NewTagFormTest, EnterWaitsForAnAcceptableNameAndCancelGivesNone) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Type(QStringLiteral("work"));
    QTest::keyClick(form->ui->TagName, Qt::Key_Return);
    ASSERT_TRUE(form->isVisible());
    Type(QStringLiteral(" new "));
    QTest::mouseClick(form->ui->Button1, Qt::LeftButton);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->ResultName, "");
}
