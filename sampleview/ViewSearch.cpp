#include "sampleview/ViewSearch.h"

#include "fonts/FlowLayoutPanel.h"

#include <utility>

ViewSearch::ViewSearch(FlowLayoutPanel* flowPanel, ViewUnits units, QObject* parent)
    : QObject(parent), flowPanel_(flowPanel), units_(std::move(units)) {
    flowPanel_->SetTileFilter([this](const TPanel* tile) { return admits(tile); });
}

bool ViewSearch::admits(const TPanel* tile) const {
    if (search_.IsEmpty())
        return true;
    const std::vector<TFontUnit*>* view = units_();
    const TFontUnit* unit = view ? UnitOfTile(*view, tile) : nullptr;
    return unit && search_.Matches(unit->Name, unit->OtherNames);
}

int ViewSearch::ShownCount() const {
    const std::vector<TFontUnit*>* view = units_();
    if (!view)
        return 0;
    int count = 0;
    for (const TFontUnit* unit : *view)
        count += search_.Matches(unit->Name, unit->OtherNames);
    return count;
}

void ViewSearch::SetText(const QString& text) {
    const bool wasEmpty = search_.IsEmpty();
    search_.SetText(text);
    // Blanks added around the text, say, change nothing that is shown.
    if (wasEmpty && search_.IsEmpty())
        return;
    flowPanel_->ApplyTileFilter();
    emit ShownCountChanged(ShownCount());
}

void ViewSearch::ViewRebuilt() {
    emit ShownCountChanged(ShownCount());
}
