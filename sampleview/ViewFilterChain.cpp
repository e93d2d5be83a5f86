#include "sampleview/ViewFilterChain.h"

#include "fonts/FlowLayoutPanel.h"

#include <algorithm>
#include <utility>

ViewFilterChain::ViewFilterChain(FlowLayoutPanel* flowPanel, ViewUnits units,
                                 std::function<void()> rebuild, QObject* parent)
    : QObject(parent), flowPanel_(flowPanel), units_(std::move(units)),
      rebuild_(std::move(rebuild)) {
    flowPanel_->SetTileFilter([this](const TPanel* tile) { return shows(tile); });
}

ViewFilterChain::~ViewFilterChain() {
    // A flow that outlives the chain must not ask it about tiles any more.
    if (flowPanel_)
        flowPanel_->SetTileFilter(nullptr);
}

void ViewFilterChain::add(std::unique_ptr<ViewFilter> filter) {
    ViewFilter* added = filter.get();
    connect(added, &ViewFilter::Changed, this, [this, added] { Reapply(added->AppliesTo()); });
    filters_.push_back(std::move(filter));
}

void ViewFilterChain::Reapply(ViewFilter::Stage changed) {
    if (changed == ViewFilter::Stage::Families) {
        // The count follows once the view has been rebuilt.
        if (rebuild_)
            rebuild_();
        return;
    }
    flowPanel_->ApplyTileFilter();
    emit ShownCountChanged(ShownCount());
}

void ViewFilterChain::NarrowFamilies(std::vector<TFontUnit*>& units) {
    for (const auto& filter : filters_) {
        if (filter->AppliesTo() != ViewFilter::Stage::Families)
            continue;
        if (filter->IsActive())
            std::erase_if(units, [&filter](TFontUnit* unit) { return !filter->Admits(*unit); });
        filter->Arrange(units);
    }
}

void ViewFilterChain::ViewRebuilt() {
    emit ShownCountChanged(ShownCount());
}

bool ViewFilterChain::hidesTiles() const {
    return std::any_of(filters_.begin(), filters_.end(), [](const auto& filter) {
        return filter->AppliesTo() == ViewFilter::Stage::Tiles && filter->IsActive();
    });
}

bool ViewFilterChain::showsTileOf(const TFontUnit& unit) const {
    return std::all_of(filters_.begin(), filters_.end(), [&unit](const auto& filter) {
        return filter->AppliesTo() != ViewFilter::Stage::Tiles || !filter->IsActive() ||
               filter->Admits(unit);
    });
}

bool ViewFilterChain::shows(const TPanel* tile) const {
    if (!hidesTiles())
        return true;
    const std::vector<TFontUnit*>* view = units_();
    const TFontUnit* unit = view ? UnitOfTile(*view, tile) : nullptr;
    return unit && showsTileOf(*unit);
}

int ViewFilterChain::ShownCount() const {
    const std::vector<TFontUnit*>* view = units_();
    if (!view)
        return 0;
    return static_cast<int>(std::count_if(
        view->begin(), view->end(), [this](const TFontUnit* unit) { return showsTileOf(*unit); }));
}

bool ViewFilterChain::Admits(const TFontUnit& unit) const {
    // The cheap tests of the Tiles stage first: most families fail the name search.
    return showsTileOf(unit) &&
           std::all_of(filters_.begin(), filters_.end(), [&unit](const auto& filter) {
               return filter->AppliesTo() != ViewFilter::Stage::Families || !filter->IsActive() ||
                      filter->Admits(unit);
           });
}
