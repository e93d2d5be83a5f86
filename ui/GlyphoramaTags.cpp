// The main window's tag menu and tag dialog commands.
#include "ui/Glyphorama.h"

#include "organise/OrganiseSteps.h"
#include "tags/NewTagForm.h"
#include "tags/TagButton.h"
#include "tags/TagToolBar.h"
#include "ui/OrganiseControls.h"
#include "ui_Glyphorama.h"
#include "ui_NewTagForm.h"

namespace {

// The tag list entry of the button whose menu is open, -1 if there is none.
int menuTagIndex(const TGlyphorama& window) {
    if (!window.FontPool)
        return -1;
    const auto* button = qobject_cast<TagButton*>(window.ui->TagBar->ButtonAt(window.TagMenuTag));
    if (!button || button->Tag < 0 ||
        button->Tag >= static_cast<int>(window.FontPool->TagList.size()))
        return -1;
    return button->Tag;
}

} // namespace

void TGlyphorama::TagMenuPopup() {
    const int index = menuTagIndex(*this);
    bool enable = index >= 0;
    if (enable) {
        const QString& name = FontPool->TagList[index].Name;
        enable = name != TFontPool::FavoritesTagName && name != TFontPool::TrashTagName;
    }
    ui->DeleteTag->setEnabled(enable);
    ui->RenameTag->setEnabled(enable);
}

void TGlyphorama::DeleteTagClick() {
    const int index = menuTagIndex(*this);
    if (index < 0)
        return;
    const QString name = FontPool->TagList[index].Name;
    // At once, without a question: 元に戻す brings it back.
    if (OrganiseSteps* steps = organise_->Steps())
        steps->DeleteTag(name);
}

void TGlyphorama::RenameTagClick() {
    const int index = menuTagIndex(*this);
    if (index < 0)
        return;
    // The list may change while the dialog is open: hold the name itself.
    const QString name = FontPool->TagList[index].Name;
    AskRenameTag(name);
}

namespace {

// Runs the tag dialog once and hands back the accepted name, empty when it was cancelled. A
// rename must not take over a file that is not the tag's own, listed or not; a new
// tag may, which is how a file left without a tag becomes reachable again.
QString askTagName(TGlyphorama& window, const QString& initialName, bool renaming) {
    TNewTagForm::NameTest fileTaken;
    if (renaming)
        fileTaken = [&window, initialName](const QString& name) {
            return window.FontPool && window.FontPool->TagFileTaken(name, initialName);
        };
    TNewTagForm form(
        &window,
        [&window](const QString& name) {
            return window.FontPool && window.FontPool->TagExists(name);
        },
        [&window](const QString& name) {
            return window.AppCore && window.AppCore->IsValidTagName(name);
        },
        std::move(fileTaken));
    form.ui->TagName->setText(initialName);
    form.exec();
    return form.ResultName;
}

} // namespace

void TGlyphorama::AskRenameTag(const QString& oldName) {
    if (!FontPool)
        return;
    const QString newName = askTagName(*this, oldName, true);
    if (OrganiseSteps* steps = FontPool ? organise_->Steps() : nullptr)
        steps->RenameTag(oldName, newName);
}

void TGlyphorama::NewTagButtonClick() {
    if (!FontPool)
        return;
    const QString name = askTagName(*this, QString(), false);
    if (OrganiseSteps* steps = FontPool ? organise_->Steps() : nullptr)
        steps->CreateTag(name);
}
