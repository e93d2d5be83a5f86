#pragma once

#include "sampleview/TileUnits.h"
#include "sampleview/ViewFilter.h"

#include <QObject>
#include <QPointer>
#include <functional>
#include <memory>
#include <vector>

class FlowLayoutPanel;

// The one way the sample view is narrowed and ordered beyond the font type and the tags: an
// ordered list of filters, applied again from one entry point whenever one of them changes.
// A new filter or order is one class and one line that registers it.
//
// Filters of the Families stage narrow and order the view's families, in the order they were
// added, before any tile is built; filters of the Tiles stage then hide the built tiles they
// turn down. The chain counts what it shows.
class ViewFilterChain : public QObject {
    Q_OBJECT
public:
    // flowPanel: holds the tiles. units: the view's families in view order. rebuild: builds
    // the view shown again, with the same font type or tag.
    ViewFilterChain(FlowLayoutPanel* flowPanel, ViewUnits units, std::function<void()> rebuild,
                    QObject* parent = nullptr);
    ~ViewFilterChain() override;

    // Registers the filter after those added before; the chain owns it.
    template <typename Filter> Filter* Add(std::unique_ptr<Filter> filter) {
        Filter* added = filter.get();
        add(std::move(filter));
        return added;
    }

    // Applies the chain again after a filter of the stage changed: the Families stage
    // rebuilds the view, the Tiles stage hides and shows the built tiles and counts anew.
    // Every filter's Changed() comes here.
    void Reapply(ViewFilter::Stage changed);

    // For the view, once it has picked its families and before it builds their tiles.
    void NarrowFamilies(std::vector<TFontUnit*>& units);
    // For the view, once its new tiles are being built: counts what it will show.
    void ViewRebuilt();
    // The view's families that the chain shows, built or not.
    int ShownCount() const;
    // Whether the chain, as it is set now, shows the family in a view that holds it: for
    // counting what other views would show.
    bool Admits(const TFontUnit& unit) const;

signals:
    void ShownCountChanged(int count);

private:
    void add(std::unique_ptr<ViewFilter> filter);
    // Whether any Tiles filter turns families down now.
    bool hidesTiles() const;
    bool showsTileOf(const TFontUnit& unit) const;
    bool shows(const TPanel* tile) const;

    const QPointer<FlowLayoutPanel> flowPanel_;
    const ViewUnits units_;
    const std::function<void()> rebuild_;
    std::vector<std::unique_ptr<ViewFilter>> filters_;
};
