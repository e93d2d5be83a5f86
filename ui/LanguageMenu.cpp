#include "ui/LanguageMenu.h"

#include "app/Language.h"
#include "platform/Application.h"

#include <QActionGroup>
#include <QMessageBox>
#include <QPushButton>

namespace {

QString nativeName(const QString& language) {
    if (language == language::English)
        return QStringLiteral("English");
    return QStringLiteral("日本語");
}

QString actionName(const QString& language) {
    return language == language::English ? QStringLiteral("LanguageEnglish")
                                         : QStringLiteral("LanguageJapanese");
}

} // namespace

LanguageMenu::LanguageMenu(const QString& current, QWidget* parent)
    : QMenu(QStringLiteral("言語 / Language"), parent), group_(new QActionGroup(this)) {
    setObjectName(QStringLiteral("LanguageMenu"));
    group_->setExclusive(true);
    for (const QString& language : language::Available()) {
        QAction* item = addAction(nativeName(language));
        item->setObjectName(actionName(language));
        item->setData(language);
        item->setCheckable(true);
        group_->addAction(item);
    }
    SetCurrent(current);
    connect(group_, &QActionGroup::triggered, this, [this](QAction* item) {
        const QString language = item->data().toString();
        if (language == current_)
            return;
        const QString previous = current_;
        current_ = language;
        try {
            emit LanguageChosen(language);
        } catch (...) {
            // Not saved: the mark goes back to the language that still holds. The error goes
            // to the error box from here rather than unwinding through Qt's signal code, which
            // would leave its guards behind.
            SetCurrent(previous);
            if (auto* app = platform::Application::instance())
                app->ShowException(std::current_exception());
        }
    });
}

QAction* LanguageMenu::Item(const QString& language) const {
    return findChild<QAction*>(actionName(language));
}

void LanguageMenu::SetCurrent(const QString& language) {
    current_ = language;
    for (QAction* item : group_->actions())
        item->setChecked(item->data().toString() == language);
}

bool SaveLanguageChoice(QWidget* parent, const QString& iniPath, const QString& language) {
    LanguageSetting(iniPath).Write(language);
    // Back to the language the window speaks: nothing is waiting for a restart.
    if (language == InterfaceLanguage::Current())
        return false;
    QMessageBox box(QMessageBox::Question, QStringLiteral("Glyphorama"),
                    QStringLiteral("言語の変更は次回の起動から有効になります。\n"
                                   "The new language applies from the next start."),
                    QMessageBox::NoButton, parent);
    box.setObjectName(QStringLiteral("LanguageNotice"));
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(QStringLiteral("今すぐ再起動しますか？\nRestart now?"));
    QPushButton* now =
        box.addButton(QStringLiteral("今すぐ再起動 / Restart now"), QMessageBox::AcceptRole);
    now->setObjectName(QStringLiteral("RestartNow"));
    QPushButton* later = box.addButton(QStringLiteral("後で / Later"), QMessageBox::RejectRole);
    later->setObjectName(QStringLiteral("RestartLater"));
    box.setDefaultButton(now);
    box.setEscapeButton(later);
    box.exec();
    return box.clickedButton() == now;
}
