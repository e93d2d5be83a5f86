#pragma once

#include "sampleview/ViewFilter.h"

#include <QString>
#include <functional>

class CoverageIndex;
class TAppCore;

// The order of the tiles: by name, as the catalogue lists the families, or the families that
// lack the fewest characters of the sample text first, so that a user who types a text finds
// the fonts that can show it at the top (those lacking as many keep the order by name). An
// order is a choice of the families before their tiles are built: a change rebuilds the view.
class TileOrder : public ViewFilter {
    Q_OBJECT
public:
    enum Order { ByName = 0, FewestMissing = 1 };

    // index: which characters each family has. sampleText: the text the tiles show now.
    TileOrder(CoverageIndex& index, std::function<QString()> sampleText, QObject* parent = nullptr);

    Order Current() const { return order_; }
    // Says Changed() when the view's order may change.
    void SetOrder(Order order);
    // The tiles show another text: the order by what they lack changes with it.
    void SampleTextChanged();

    // Turns no family down; only orders them.
    bool IsActive() override { return false; }
    void Arrange(std::vector<TFontUnit*>& units) override;

    // Settings: section "preview", key "tile_order", there only while the order is not by name.
    void Load(const TAppCore& core);
    void Save(const TAppCore& core) const;

private:
    CoverageIndex& index_;
    const std::function<QString()> sampleText_;
    Order order_ = ByName;
};
