#include "ui/SampleViewControls.h"

#include "details/FontDetailsForm.h"
#include "fontengine/CoverageIndex.h"
#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "platform/ImageList.h"
#include "platform/Messages.h"
#include "platform/TextFileList.h"
#include "sampleview/CoverageFilter.h"
#include "sampleview/FavouriteMarks.h"
#include "sampleview/NoMatchNotice.h"
#include "sampleview/PreviewSize.h"
#include "sampleview/TileAccessibility.h"
#include "sampleview/TileCommands.h"
#include "sampleview/TileDetailsTrigger.h"
#include "sampleview/TileKeyboard.h"
#include "sampleview/TileOrder.h"
#include "sampleview/TileSelection.h"
#include "sampleview/ViewFilterChain.h"
#include "sampleview/ViewSearch.h"
#include "tags/TagCaption.h"
#include "ui/Glyphorama.h"
#include "ui/TopBarRows.h"
#include "ui_Glyphorama.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShortcut>
#include <QToolButton>
#include <QToolTip>

namespace {

constexpr int WheelNotch = 120;

} // namespace

SampleViewControls::SampleViewControls(TGlyphorama& window)
    : QObject(&window), window_(window), form_(*window.ui), pool_(window.FontPool.get()) {
    const ViewUnits units = [this]() -> const std::vector<TFontUnit*>* {
        return pool_ ? &pool_->ViewList : nullptr;
    };
    FlowLayoutPanel* flow = form_.FlowPanel;
    // Screen readers name each tile by its family.
    InstallTileAccessibility(flow, units);

    filters_ = new ViewFilterChain(
        flow, units,
        [this] {
            if (pool_)
                pool_->RebuildView(viewTag_);
        },
        this);
    connect(filters_, &ViewFilterChain::ShownCountChanged, this, &SampleViewControls::showCount);
    noMatch_ = new NoMatchNotice(form_.ScrollBox);
    connect(filters_, &ViewFilterChain::ShownCountChanged, this, &SampleViewControls::showNoMatch);
    createFilters();

    size_ = new PreviewSize(this);
    connect(size_, &PreviewSize::sizeChanged, this, [this](int pointSize) {
        if (pool_)
            pool_->SetSamplePointSize(pointSize);
        showSize();
    });
    showSize();

    selection_ = new TileSelection(flow, units, this);
    // A drag of a selected tile carries the whole selection.
    flow->DraggedFamilies = [selection = QPointer<TileSelection>(selection_)](TPanel* tile) {
        return selection ? selection->FamiliesFor(tile) : QStringList();
    };
    connect(filters_, &ViewFilterChain::ShownCountChanged, selection_, &TileSelection::Prune);
    createKeyboard();
    createCommands();
    favourites_ = new FavouriteMarks(
        flow, units,
        [this] {
            platform::TextFileList list;
            if (pool_ && pool_->LoadTagFile(TFontPool::FavoritesTagName, list))
                return list.Strings;
            return QStringList();
        },
        this);

    details_ = new TileDetailsTrigger(
        flow,
        [this](int tag) {
            const TFontUnit* unit = pool_ ? pool_->FindUnitByTileTag(tag) : nullptr;
            return unit ? unit->Name : QString();
        },
        this);
    connect(details_, &TileDetailsTrigger::DetailsRequested, this,
            &SampleViewControls::showDetails);

    createShortcuts();
    nameButtons();
    connectCatalogue();
}

void SampleViewControls::createFilters() {
    // The view's filters, in the order they apply.
    coverage_ = filters_->Add(std::make_unique<CoverageFilter>());
    search_ = filters_->Add(std::make_unique<ViewSearch>());
    order_ = filters_->Add(std::make_unique<TileOrder>(
        coverage_->Index(), [this] { return pool_ ? pool_->Options.SampleString : QString(); }));

    if (pool_)
        coverage_->SetSampleText(pool_->Options.SampleString);
    createCoverageButton();
    createSearchField();
    createOrderItem();
}

void SampleViewControls::createOrderItem() {
    auto* item = new QAction(tr("表示できない文字が少ない順に並べる"), this);
    item->setObjectName(QStringLiteral("OrderByMissingItem"));
    item->setCheckable(true);
    item->setToolTip(tr("サンプルテキストの文字が欠けていないフォントを先に表示します"));
    // Below the settings and the language, above help and exit.
    QMenu* menu = form_.ToolMenu;
    const QList<QAction*> items = menu->actions();
    const qsizetype after = items.indexOf(form_.N4);
    menu->insertAction(after >= 0 ? items.value(after + 1) : nullptr, item);
    connect(item, &QAction::toggled, this, &SampleViewControls::orderToggled);
    orderItem_ = item;
}

void SampleViewControls::orderToggled(bool fewestMissing) {
    if (!viewCanChange()) {
        const QSignalBlocker blocker(orderItem_);
        orderItem_->setChecked(order_->Current() == TileOrder::FewestMissing);
        return;
    }
    order_->SetOrder(fewestMissing ? TileOrder::FewestMissing : TileOrder::ByName);
}

void SampleViewControls::showNoMatch(int shownCount) {
    if (!pool_ || search_->Search().IsEmpty() || shownCount > 0) {
        noMatch_->hide();
        return;
    }
    // The views of the filter buttons, less the one shown.
    struct View {
        int fontType;
        QString caption;
        int count = 0;
    };
    std::vector<View> views;
    for (const auto& [fontType, caption] :
         {std::pair{1, QCoreApplication::translate("TFontPool", "日本語フォント")},
          std::pair{2, QCoreApplication::translate("TFontPool", "欧文フォント")},
          std::pair{5, QCoreApplication::translate("TFontPool", "全て")}})
        if (!viewTag_.isEmpty() || fontType != pool_->Options.CurrentFontType)
            views.push_back({fontType, caption});
    // The font-type views leave the trashed fonts out.
    platform::TextFileList trash;
    pool_->LoadTagFile(TFontPool::TrashTagName, trash);
    for (const auto& unit : pool_->FontList) {
        if (!filters_->Admits(*unit) ||
            std::any_of(trash.Strings.cbegin(), trash.Strings.cend(),
                        [&unit](const QString& name) { return unit->IsNamed(name); }))
            continue;
        for (View& view : views)
            if (TFontPool::FontTypeAdmits(view.fontType, unit->FontClass))
                ++view.count;
    }
    NoMatchNotice::ViewMatches others;
    for (const View& view : views)
        others.append({view.caption, view.count});
    noMatch_->ShowFor(others);
}

void SampleViewControls::createSearchField() {
    searchField_ = new QLineEdit(form_.SampleControlPanel);
    searchField_->setObjectName(QStringLiteral("FontNameSearch"));
    searchField_->setPlaceholderText(tr("フォント名で検索"));
    searchField_->setAccessibleName(tr("フォント名で検索"));
    searchField_->setToolTip(tr("フォント名で検索 (Ctrl+F)"));
    searchField_->setClearButtonEnabled(true);
    // Dressed as the sample text field beside it.
    searchField_->setFrame(form_.SampleText->hasFrame());
    searchField_->setPalette(form_.SampleText->palette());
    searchField_->setFont(form_.SampleText->font());
    searchField_->setMinimumHeight(form_.SampleText->minimumHeight());
    searchField_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    const int at = form_.SampleControlLayout->indexOf(form_.SampleText) + 1;
    form_.SampleControlLayout->insertSpacing(at, 4);
    form_.SampleControlLayout->insertWidget(at + 1, searchField_);
    form_.SampleControlLayout->setStretchFactor(form_.SampleText, 3);
    form_.SampleControlLayout->setStretchFactor(searchField_, 2);
    connect(searchField_, &QLineEdit::textChanged, search_, &ViewSearch::SetText);
    topBar_ = new TopBarRows(form_.SampleControlPanel, form_.SampleControlLayout, form_.SampleText,
                             searchField_, form_.StatusToolBarPanel, form_.FormLayout);
    // Idle, the bar is not shown at all: an empty bar in the top bar passed for a third text
    // field. It keeps its room, so that the fields do not move at each build.
    QSizePolicy policy = form_.ProgressBar->sizePolicy();
    policy.setRetainSizeWhenHidden(true);
    form_.ProgressBar->setSizePolicy(policy);
    form_.ProgressBar->hide();
    // Tab goes on from the search to what it found, not to the tag bar.
    QWidget::setTabOrder(searchField_, form_.FlowPanel);
    for (QToolButton* button : searchField_->findChildren<QToolButton*>())
        button->setAccessibleName(tr("検索を消去"));
}

void SampleViewControls::createCoverageButton() {
    auto* button = new QToolButton(form_.SwitchBar);
    button->setObjectName(QStringLiteral("CoverageFilterButton"));
    button->setCheckable(true);
    button->setAutoRaise(true);
    button->setText(tr("表示できるフォントだけ"));
    button->setToolTip(tr("サンプルテキストをすべて表示できるフォントだけ"));
    button->setAccessibleName(button->toolTip());
    const platform::ImageList icon(24, {QStringLiteral(":/forms/icons/coverage.svg")});
    button->setIcon(icon.Icon(0));
    button->setIconSize(QSize(24, 24));
    button->setFixedSize(form_.ShowAll->minimumSize());
    // Beside the filter buttons, whose view it narrows.
    auto* bar = static_cast<QBoxLayout*>(form_.SwitchBar->layout());
    bar->insertWidget(bar->indexOf(form_.ShowAll) + 1, button);
    connect(button, &QToolButton::toggled, this, &SampleViewControls::coverageToggled);
    coverageButton_ = button;
    coverageIcon_ = button->icon();
}

void SampleViewControls::showCoverageState(bool justPressed) {
    if (!coverageButton_)
        return;
    // Pressed without a sample text the filter has nothing to test: the button says so,
    // greyed, instead of leaving the user to wonder why the view stays as it is.
    const QString sample = pool_ ? pool_->Options.SampleString : QString();
    const bool waiting =
        coverageButton_->isChecked() && CoverageIndex::CharactersToCover(sample).empty();
    const QString hint = tr("サンプルテキストをすべて表示できるフォントだけ");
    if (!waiting) {
        coverageButton_->setIcon(coverageIcon_);
        coverageButton_->setToolTip(hint);
        coverageButton_->setAccessibleDescription(QString());
        return;
    }
    QIcon greyed;
    greyed.addPixmap(coverageIcon_.pixmap(coverageButton_->iconSize(), QIcon::Disabled));
    coverageButton_->setIcon(greyed);
    const QString why = tr("サンプルテキストを入力すると絞り込みます。");
    coverageButton_->setToolTip(hint + QLatin1Char('\n') + why);
    coverageButton_->setAccessibleDescription(why);
    if (justPressed && coverageButton_->isVisible())
        QToolTip::showText(coverageButton_->mapToGlobal(QPoint(0, coverageButton_->height())),
                           coverageButton_->toolTip(), coverageButton_);
}

void SampleViewControls::coverageToggled(bool checked) {
    if (!viewCanChange()) {
        // The view cannot follow now: the button keeps showing what the view shows.
        const QSignalBlocker blocker(coverageButton_);
        coverageButton_->setChecked(coverage_->Enabled());
        return;
    }
    coverage_->SetEnabled(checked);
    showCoverageState(checked);
}

void SampleViewControls::EnableViewButtons(bool enabled) {
    form_.ProgressBar->setVisible(!enabled);
    if (coverageButton_)
        coverageButton_->setEnabled(enabled);
    if (orderItem_)
        orderItem_->setEnabled(enabled);
}

void SampleViewControls::createKeyboard() {
    keyboard_ = new TileKeyboard(form_.FlowPanel, form_.ScrollBox, this);
    // The menu a right press on the tile opens, at the point the keyboard gives.
    connect(keyboard_, &TileKeyboard::MenuRequested, this, [this](TPanel* tile, QPoint pos) {
        if (pool_)
            pool_->TileMouseDown(tile, Qt::RightButton, tile->mapFromGlobal(pos));
    });
    // The tile menu's command, for this tile.
    connect(keyboard_, &TileKeyboard::CopyRequested, this, [this](TPanel* tile) {
        window_.ContextMenuTag = tile->Tag;
        window_.CopyFontNameClick();
    });
    keyboard_->SetSelection(selection_);
}

void SampleViewControls::createCommands() {
    commands_ = new TileCommands(
        selection_,
        [this] {
            QStringList names;
            if (pool_)
                for (const TFontTag& tag : pool_->TagList)
                    if (tag.Name != TFontPool::TrashTagName &&
                        tag.Name != TFontPool::FavoritesTagName &&
                        tag.Name != TFontPool::SeparatorTagName)
                        names.append(tag.Name);
            return names;
        },
        TagCaption, this);
    connect(keyboard_, &TileKeyboard::DeleteRequested, commands_, &TileCommands::DeletePressed);
    connect(keyboard_, &TileKeyboard::FavouriteRequested, commands_,
            &TileCommands::FavouritePressed);
    // The tile menu's commands follow its own, for the tile it opened on.
    connect(form_.ContextMenu, &QMenu::aboutToShow, this, [this] {
        const TFontUnit* unit = pool_ ? pool_->FindUnitByTileTag(window_.ContextMenuTag) : nullptr;
        commands_->FillMenu(form_.ContextMenu, unit ? unit->Tile : nullptr);
    });
}

void SampleViewControls::createShortcuts() {
    auto* find = new QShortcut(QKeySequence::Find, &window_);
    connect(find, &QShortcut::activated, this, [this] {
        searchField_->setFocus(Qt::ShortcutFocusReason);
        searchField_->selectAll();
    });
    // The size keys are read from the keys the window previews (TakeKey), not registered as
    // shortcuts: the platform's zoom sequences and the explicit ones overlap, and Qt fires
    // neither of two shortcuts that match the same key.
}

void SampleViewControls::nameButtons() {
    // The icon-only buttons are named by their hints.
    for (QToolButton* button :
         {form_.SwitchSampleViewModeButton, form_.ShowEnglish, form_.ShowJapanese, form_.ShowAll})
        button->setAccessibleName(button->toolTip());
    form_.ToolButton6->setAccessibleName(tr("ツールメニュー"));
    form_.ToolButton6->setToolTip(tr("ツールメニュー"));
    form_.SampleText->setAccessibleName(tr("サンプルテキスト"));
    // The field's two buttons are tool buttons made from its actions: they take the action's
    // text as their name.
    for (QAction* action : form_.SampleText->actions())
        if (action->text().isEmpty())
            action->setText(action->toolTip());
    for (QToolButton* button : form_.SampleText->findChildren<QToolButton*>())
        if (button->defaultAction())
            button->setAccessibleName(button->defaultAction()->toolTip());
}

void SampleViewControls::connectCatalogue() {
    if (!pool_)
        return;
    connect(pool_, &TFontPool::ViewCollected, this, [this](const QString& tagName) {
        viewTag_ = tagName;
        commands_->SetViewedTag(tagName);
        filters_->NarrowFamilies(pool_->ViewList);
    });
    connect(pool_, &TFontPool::ViewRebuilt, this, [this] {
        selection_->Clear();
        favourites_->Reload();
        filters_->ViewRebuilt();
    });
    connect(pool_, &TFontPool::SampleTextApplied, coverage_, &CoverageFilter::SetSampleText);
    connect(pool_, &TFontPool::SampleTextApplied, order_, &TileOrder::SampleTextChanged);
    connect(pool_, &TFontPool::SampleTextApplied, this, [this] { showCoverageState(false); });
    connect(pool_, &TFontPool::TagFontsChanged, this, [this](const QString& tagName) {
        if (tagName == TFontPool::FavoritesTagName)
            favourites_->Reload();
    });
    // A tile taken out of the view without a rebuild (to ゴミ箱, out of the tag shown).
    connect(pool_, &TFontPool::TileRemoved, filters_, &ViewFilterChain::ViewRebuilt);
}

void SampleViewControls::showCount(int count) {
    QLabel* panel = form_.StatusPanel0;
    panel->setTextFormat(Qt::PlainText);
    panel->setText(tr("%n fonts", nullptr, count));
}

void SampleViewControls::showSize() {
    // Status panel 3, which the window leaves empty.
    QLabel* panel = form_.StatusPanel3;
    panel->setTextFormat(Qt::PlainText);
    panel->setText(tr("%1 pt").arg(size_->Value()));
    panel->setToolTip(tr("サンプルの大きさ (Ctrl+プラス、Ctrl+マイナス、Ctrl+0、Ctrl+ホイール)"));
}

void SampleViewControls::showDetails(const QString& familyName) {
    if (familyName.isEmpty())
        return;
    const QString sample = pool_ ? pool_->Options.SampleString : QString();
    FontDetailsForm::ShowFor(familyName, sample, &window_);
}

bool SampleViewControls::TakeKey(const QKeyEvent& event) {
    switch (PreviewSize::StepOfKey(event)) {
    case PreviewSize::KeyStep::ZoomIn:
        StepSize(1);
        return true;
    case PreviewSize::KeyStep::ZoomOut:
        StepSize(-1);
        return true;
    case PreviewSize::KeyStep::Reset:
        ResetSize();
        return true;
    case PreviewSize::KeyStep::None:
        break;
    }
    const Qt::KeyboardModifiers modifiers = event.modifiers() & ~Qt::KeypadModifier;
    if (modifiers != Qt::NoModifier)
        return false;
    const bool inSearch = QApplication::focusWidget() == searchField_;
    switch (event.key()) {
    case Qt::Key_Escape:
        if (inSearch && !searchField_->text().isEmpty()) {
            searchField_->clear();
            return true;
        }
        if (!selection_->IsEmpty()) {
            selection_->Clear();
            return true;
        }
        return false;
    case Qt::Key_Down:
    case Qt::Key_Return:
    case Qt::Key_Enter: {
        // From the search to what it found.
        const std::vector<TPanel*> shown =
            inSearch ? keyboard_->ShownTiles() : std::vector<TPanel*>();
        if (shown.empty())
            return false;
        keyboard_->Focus(shown.front());
        return true;
    }
    default:
        return false;
    }
}

bool SampleViewControls::viewCanChange() const {
    return pool_ && !pool_->Building;
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
    order_->Load(core);
    const QSignalBlocker blocker(orderItem_);
    orderItem_->setChecked(order_->Current() == TileOrder::FewestMissing);
}

void SampleViewControls::SaveSettings(const TAppCore& core) const {
    size_->Save(core);
    order_->Save(core);
}
