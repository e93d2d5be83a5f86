// The tag dialog: the refusals in their order, the forbidden characters, and how it closes.
#include "tags/NewTagForm.h"

#include "app/AppCore.h"
#include "ui_NewTagForm.h"

#include <QInputMethodEvent>
#include <QPushButton>
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
    // The notice, empty while it is hidden.
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

TEST_F(NewTagFormTest, OpensEmptyWithoutNoticeAndCannotRegister) {
    EXPECT_TRUE(form->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(form->windowTitle(), "新しいタグ");
    EXPECT_EQ(form->ui->Label1->text(), "新しいタグの名称を入力して下さい。");
    EXPECT_EQ(form->ui->RegistButton->text(), "登録");
    EXPECT_TRUE(form->ui->RegistButton->isDefault());
    EXPECT_EQ(form->ui->Button1->text(), "キャンセル");
    EXPECT_EQ(Notice(), "");
    EXPECT_FALSE(Registrable());
    EXPECT_EQ(form->ResultName, "");
}

TEST_F(NewTagFormTest, RefusesInTheOrderOfTheRules) {
    struct Case {
        QString text;
        QString notice; // empty: accepted, or empty text
        bool registrable;
    };
    const Case cases[] = {
        {"ゴミ箱", Reserved, false}, // a tag of that name exists, but the reserved rule is first
        {"お気に入り", Reserved, false},
        {"a/b", Duplicate, false}, // an existing name with a forbidden character
        {"work", Duplicate, false},
        {"Work", "", true}, // letter case makes another tag
        {"/-/", Duplicate, false},
        {"x/-/", Forbidden, false},
        {"  spaced  ", "", true}, // taken as typed
        {"   ", "", true},
        {"ゴミ箱 ", "", true},
        {"", "", false}, // emptying after a refusal hides the notice
    };
    for (const Case& c : cases) {
        Type(QStringLiteral("a:b"));
        ASSERT_EQ(Notice(), Forbidden);
        Type(c.text);
        EXPECT_EQ(Notice(), c.notice) << c.text.toStdString();
        EXPECT_EQ(Registrable(), c.registrable) << c.text.toStdString();
    }
}

TEST_F(NewTagFormTest, EachOfTheElevenCharactersIsForbidden) {
    EXPECT_EQ(TAppCore::ForbiddenTagNameMessage(), Forbidden);
    for (const QChar c : QStringLiteral("\\/:,;*?\"<>|")) {
        Type(QStringLiteral("tag") + c + QStringLiteral("name"));
        EXPECT_EQ(Notice(), Forbidden) << QString(c).toStdString();
        EXPECT_FALSE(Registrable());
    }
    for (const QString& allowed : {QStringLiteral("a.b"), QStringLiteral("a&b"),
                                   QStringLiteral("%'!#$()[]{}=~^+-_@`"), QStringLiteral("欧文")}) {
        Type(allowed);
        EXPECT_TRUE(Registrable()) << allowed.toStdString();
    }
}

TEST_F(NewTagFormTest, JapaneseTextTypedThroughTheInputMethodIsChecked) {
    form->show();
    form->ui->TagName->setFocus();
    QInputMethodEvent commit;
    commit.setCommitString(QStringLiteral("お気に入り"));
    QApplication::sendEvent(form->ui->TagName, &commit);
    EXPECT_EQ(Notice(), Reserved);
}

TEST_F(NewTagFormTest, EnterRegistersOnlyWhileRegisterIsEnabled) {
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
    Type(QStringLiteral("work"));
    QTest::keyClick(form->ui->TagName, Qt::Key_Return);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->ResultName, "");
    Type(QStringLiteral(" new "));
    QTest::keyClick(form->ui->TagName, Qt::Key_Return);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->ResultName, " new ");
}

TEST_F(NewTagFormTest, CancelAndEscapeLeaveTheResultEmpty) {
    for (int way = 0; way < 2; ++way) {
        SetUp();
        form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        Type(QStringLiteral("fine"));
        ASSERT_TRUE(Registrable());
        if (way == 0)
            QTest::mouseClick(form->ui->Button1, Qt::LeftButton);
        else
            QTest::keyClick(form->ui->TagName, Qt::Key_Escape);
        EXPECT_FALSE(form->isVisible()) << way;
        EXPECT_EQ(form->ResultName, "") << way;
        EXPECT_EQ(form->result(), QDialog::Rejected) << way;
    }
}
