#include "ui/SampleViewControls.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "platform/Messages.h"
#include "platform/TextFileList.h"
#include "sampleview/FavouriteMarks.h"
#include "sampleview/PreviewSize.h"
#include "sampleview/TileAccessibility.h"
#include "sampleview/TileKeyboard.h"
#include "sampleview/ViewSearch.h"
#include "ui/Glyphorama.h"
#include "ui_Glyphorama.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>

namespace {

constexpr int WheelNotch = 120;

} // namespace

SampleViewControls::SampleViewControls(TGlyphorama& window) : QObject(&window), window_(window) {
    InstallTileAccessibility();
    const ViewUnits units = [&window]() -> const std::vector<TFontUnit*>* {
        return window.FontPool ? &window.FontPool->ViewList : nullptr;
    };
    FlowLayoutPanel* flow = window.ui->FlowPanel;

    // Screen readers name each tile by its family.
    connect(flow, &FlowLayoutPanel::TileAdded, this, [units](TPanel* tile) {
        const std::vector<TFontUnit*>* view = units();
        if (const TFontUnit* unit = view ? UnitOfTile(*view, tile) : nullptr)
            tile->setAccessibleName(unit->Name);
    });

    search_ = new ViewSearch(flow, units, this);
    connect(search_, &ViewSearch::ShownCountChanged, this, &SampleViewControls::showCount);
    createSearchField();

    size_ = new PreviewSize(this);
    connect(size_, &PreviewSize::sizeChanged, this, [this](int pointSize) {
        if (window_.FontPool)
            window_.FontPool->SetSamplePointSize(pointSize);
    });

    keyboard_ = new TileKeyboard(flow, window.ui->ScrollBox, this);
    connect(keyboard_, &TileKeyboard::MenuRequested, this, [this](TPanel* tile, QPoint pos) {
        if (!window_.ContextMenu)
            return;
        window_.ContextMenuTag = tile->Tag;
        window_.ContextMenu->setProperty("Tag", tile->Tag);
        window_.ContextMenu->popup(pos);
    });
    connect(keyboard_, &TileKeyboard::CopyRequested, this, [this](TPanel* tile) {
        window_.ContextMenuTag = tile->Tag;
        window_.CopyFontNameClick();
    });
    connect(keyboard_, &TileKeyboard::TrashRequested, this,
            [this](TPanel* tile) { tagTile(TFontPool::TrashTagName, tile); });
    connect(keyboard_, &TileKeyboard::FavouriteRequested, this,
            [this](TPanel* tile) { tagTile(TFontPool::FavoritesTagName, tile); });

    favourites_ = new FavouriteMarks(
        flow, units,
        [&window] {
            platform::TextFileList list;
            if (window.FontPool && window.FontPool->LoadTagFile(TFontPool::FavoritesTagName, list))
                return list.Strings;
            return QStringList();
        },
        this);

    createShortcuts();
    nameButtons();
    connectCatalogue();
}

void SampleViewControls::createSearchField() {
    Ui::TGlyphorama& ui = *window_.ui;
    searchField_ = new QLineEdit(ui.SampleControlPanel);
    searchField_->setObjectName(QStringLiteral("FontNameSearch"));
    searchField_->setPlaceholderText(tr("フォント名で検索"));
    searchField_->setAccessibleName(tr("フォント名で検索"));
    searchField_->setToolTip(tr("フォント名で検索 (Ctrl+F)"));
    searchField_->setClearButtonEnabled(true);
    // Dressed as the sample text field beside it.
    searchField_->setFrame(ui.SampleText->hasFrame());
    searchField_->setPalette(ui.SampleText->palette());
    searchField_->setFont(ui.SampleText->font());
    // The top bar must still fit the 500-pixel window of a first start.
    searchField_->setMinimumSize(26, ui.SampleText->minimumHeight());
    searchField_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const int at = ui.SampleControlLayout->indexOf(ui.SampleText) + 1;
    ui.SampleControlLayout->insertSpacing(at, 4);
    ui.SampleControlLayout->insertWidget(at + 1, searchField_);
    ui.SampleControlLayout->setStretchFactor(ui.SampleText, 3);
    ui.SampleControlLayout->setStretchFactor(searchField_, 2);
    connect(searchField_, &QLineEdit::textChanged, search_, &ViewSearch::SetText);
    for (QToolButton* button : searchField_->findChildren<QToolButton*>())
        button->setAccessibleName(tr("検索を消去"));
}

void SampleViewControls::createShortcuts() {
    auto* find = new QShortcut(QKeySequence::Find, &window_);
    connect(find, &QShortcut::activated, this, [this] {
        searchField_->setFocus(Qt::ShortcutFocusReason);
        searchField_->selectAll();
    });
    // Ctrl with the key that bears "+", shifted or not, on the main keys or the keypad.
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::ZoomIn), QKeySequence(Qt::CTRL | Qt::Key_Plus),
          QKeySequence(Qt::CTRL | Qt::Key_Equal)}) {
        auto* shortcut = new QShortcut(keys, &window_);
        connect(shortcut, &QShortcut::activated, this, [this] { StepSize(1); });
    }
    for (const QKeySequence& keys :
         {QKeySequence(QKeySequence::ZoomOut), QKeySequence(Qt::CTRL | Qt::Key_Minus)}) {
        auto* shortcut = new QShortcut(keys, &window_);
        connect(shortcut, &QShortcut::activated, this, [this] { StepSize(-1); });
    }
    auto* reset = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_0), &window_);
    connect(reset, &QShortcut::activated, this, &SampleViewControls::ResetSize);
}

void SampleViewControls::nameButtons() {
    Ui::TGlyphorama& ui = *window_.ui;
    // The icon-only buttons are named by their hints.
    for (QToolButton* button :
         {ui.SwitchSampleViewModeButton, ui.ShowEnglish, ui.ShowJapanese, ui.ShowAll})
        button->setAccessibleName(button->toolTip());
    ui.ToolButton6->setAccessibleName(tr("ツールメニュー"));
    ui.ToolButton6->setToolTip(tr("ツールメニュー"));
    ui.SampleText->setAccessibleName(tr("サンプルテキスト"));
    // The field's two buttons are tool buttons made from its actions: they take the action's
    // text as their name.
    for (QAction* action : ui.SampleText->actions())
        if (action->text().isEmpty())
            action->setText(action->toolTip());
    for (QToolButton* button : ui.SampleText->findChildren<QToolButton*>())
        if (button->defaultAction())
            button->setAccessibleName(button->defaultAction()->toolTip());
}

void SampleViewControls::connectCatalogue() {
    TFontPool* pool = window_.FontPool.get();
    if (!pool)
        return;
    connect(pool, &TFontPool::ViewRebuilt, this, [this] {
        favourites_->Reload();
        search_->ViewRebuilt();
    });
    connect(pool, &TFontPool::TagFontsChanged, this, [this](const QString& tagName) {
        if (tagName == TFontPool::FavoritesTagName)
            favourites_->Reload();
    });
}

void SampleViewControls::showCount(int count) {
    if (QLabel* panel = window_.StatusPanel(0)) {
        panel->setTextFormat(Qt::PlainText);
        panel->setText(QString::number(count) + QStringLiteral(" fonts"));
    }
}

bool SampleViewControls::TakeKey(const QKeyEvent& event) {
    if (event.key() != Qt::Key_Escape || event.modifiers() != Qt::NoModifier ||
        QApplication::focusWidget() != searchField_ || searchField_->text().isEmpty())
        return false;
    searchField_->clear();
    return true;
}

bool SampleViewControls::viewCanChange() const {
    return window_.FontPool && !window_.FontPool->Building;
}

void SampleViewControls::StepSize(int direction) {
    if (!viewCanChange())
        return;
    if (direction > 0)
        size_->ZoomIn();
    else if (direction < 0)
        size_->ZoomOut();
}

void SampleViewControls::ResetSize() {
    if (viewCanChange())
        size_->Reset();
}

void SampleViewControls::WheelZoom(int angleDelta) {
    // A touchpad sends many small turns; a step is taken per whole notch.
    wheelRest_ += angleDelta;
    while (wheelRest_ >= WheelNotch) {
        wheelRest_ -= WheelNotch;
        StepSize(1);
    }
    while (wheelRest_ <= -WheelNotch) {
        wheelRest_ += WheelNotch;
        StepSize(-1);
    }
}

void SampleViewControls::LoadSettings(const TAppCore& core) {
    size_->Load(core);
}

void SampleViewControls::SaveSettings(const TAppCore& core) const {
    size_->Save(core);
}

void SampleViewControls::tagTile(const QString& tagName, TPanel* tile) {
    TFontPool* pool = window_.FontPool.get();
    const TFontUnit* unit = pool ? pool->FindUnitByTileTag(tile->Tag) : nullptr;
    if (!unit)
        return;
    const int tileTag = tile->Tag;
    pool->AddFontToTag(tagName, unit->Name);
    if (tagName == TFontPool::TrashTagName)
        platform::PostMessage(&window_, TGlyphorama::WM_REMOVE_TILE, 0, tileTag);
}
