// The tag bar's buttons, the tag menu's opening and the drops of font tiles on tag buttons.
#include "fonts/FontPool.h"

#include "fonts/Panel.h"
#include "platform/ImageList.h"
#include "tags/TagButton.h"
#include "tags/TagCaption.h"
#include "tags/TagToolBar.h"
#include "ui/Glyphorama.h"

#include <QFrame>
#include <QMenu>
#include <QPointer>
#include <QTextDocument>

namespace {

constexpr int ButtonHeight = 23;
constexpr int SeparatorWidth = 4;
constexpr int NewTagImageIndex = 0;

// Tag names are the user's text: a tool button would take "&" as a mnemonic and a tooltip
// would take anything that looks like markup as rich text.
QString plainCaption(const QString& text) {
    return QString(text).replace(u'&', QStringLiteral("&&"));
}

QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

QWidget* newSeparator(QWidget* parent) {
    auto* separator = new QFrame(parent);
    separator->setFrameShape(QFrame::VLine);
    separator->setFrameShadow(QFrame::Sunken);
    separator->setFixedSize(SeparatorWidth, ButtonHeight);
    return separator;
}

void styleButton(QToolButton* button) {
    button->setAutoRaise(true);
    button->setMinimumHeight(ButtonHeight);
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    button->setCursor(Qt::PointingHandCursor);
}

} // namespace

void TFontPool::RebuildTagBar() {
    if (!TagBar)
        return;
    TagBar->setUpdatesEnabled(false);
    TagBar->Clear();
    // Our bar appends at the right end, so the buttons are made in the order they show.
    AddNewTagButton();
    for (int i = 0; i < static_cast<int>(TagList.size()); ++i)
        AddTagButton(i);
    TagBar->EndRebuild();
    TagBar->setUpdatesEnabled(true);
}

void TFontPool::AddNewTagButton() {
    auto* button = new QToolButton(TagBar);
    button->setObjectName(QStringLiteral("NewTagButton"));
    styleButton(button);
    button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    if (Glyphorama && Glyphorama->ImageList16)
        platform::SetButtonImage(button, *Glyphorama->ImageList16, NewTagImageIndex);
    button->setText(tr("新しいタグ"));
    button->setToolTip(tr("新しいタグを追加する"));
    if (Glyphorama)
        connect(button, &QToolButton::clicked, Glyphorama, &TGlyphorama::NewTagButtonClick);
    TagBar->AddButton(button);
    TagBar->AddButton(newSeparator(TagBar));
}

void TFontPool::AddTagButton(int index) {
    const TFontTag& tag = TagList[index];
    if (tag.Name == SeparatorTagName) {
        QWidget* separator = newSeparator(TagBar);
        separator->setProperty("Tag", index);
        TagBar->AddButton(separator);
        return;
    }
    auto* button = new TagButton(index, TagBar);
    styleButton(button);
    if ((tag.Name == TrashTagName || tag.Name == FavoritesTagName) && Glyphorama &&
        Glyphorama->ImageList16) {
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
        platform::SetButtonImage(button, *Glyphorama->ImageList16, tag.ImageIndex);
    } else {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
    }
    button->setText(plainCaption(TagCaption(tag.Name)) + QStringLiteral(" (") +
                    QString::number(tag.FontCount) + u')');
    button->setToolTip(plainToolTip(tag.Hint));
    connect(button, &TagButton::RightPressed, this,
            [this, button](QPoint pos) { TagButtonMouseDown(button, Qt::RightButton, pos); });
    // F2 renames as the menu's item does, a user's tag only.
    connect(button, &TagButton::RenameRequested, this, [this, button] {
        if (!Glyphorama || button->Tag < 0 || button->Tag >= static_cast<int>(TagList.size()))
            return;
        const QString name = TagList[button->Tag].Name;
        if (name != TrashTagName && name != FavoritesTagName)
            Glyphorama->AskRenameTag(name);
    });
    connect(button, &TagButton::TileDropped, this,
            [this, button](QObject* source) { TagButtonDragDrop(button, source); });
    connect(button, &QToolButton::clicked, this, [this, button] { TagButtonClick(button); });
    TagBar->AddButton(button);
}

void TFontPool::TagButtonMouseDown(QToolButton* button, Qt::MouseButton mouseButton, QPoint pos) {
    if (mouseButton != Qt::RightButton || !button || !Glyphorama || !Glyphorama->TagMenu)
        return;
    // A command of the menu rebuilds the bar, and the button goes with it.
    const QPointer<QToolButton> marked(button);
    button->setDown(true);
    Glyphorama->TagMenuTag = TagBar->IndexOf(button);
    Glyphorama->TagMenu->exec(button->mapToGlobal(pos));
    if (marked)
        marked->setDown(false);
}

void TFontPool::TagButtonDragDrop(QToolButton* target, QObject* source) {
    const auto* button = qobject_cast<TagButton*>(target);
    auto* panel = qobject_cast<TPanel*>(source);
    if (!button || !panel || button->Tag < 0 || button->Tag >= static_cast<int>(TagList.size()))
        return;
    // What the drop adds may rebuild the bar: take the name before.
    const QString tagName = TagList[button->Tag].Name;
    if (FindUnitByTileTag(panel->Tag))
        emit TileDroppedOnTag(tagName, panel);
}

void TFontPool::TagButtonClick(QToolButton* button) {
    const auto* tagButton = qobject_cast<TagButton*>(button);
    if (!tagButton || tagButton->Tag < 0 || tagButton->Tag >= static_cast<int>(TagList.size()))
        return;
    RebuildView(TagList[tagButton->Tag].Name);
}
