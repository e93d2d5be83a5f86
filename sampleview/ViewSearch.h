#pragma once

#include "sampleview/NameSearch.h"
#include "sampleview/TileUnits.h"

#include <QObject>

class FlowLayoutPanel;

// Narrows the sample view to the families whose names match the name search. It only hides
// and shows the tiles the view has built, so a keystroke costs no rebuild; tiles built later
// are judged as they join the flow, so text typed during a build holds for the whole view.
class ViewSearch : public QObject {
    Q_OBJECT
public:
    ViewSearch(FlowLayoutPanel* flowPanel, ViewUnits units, QObject* parent = nullptr);

    void SetText(const QString& text);
    const NameSearch& Search() const { return search_; }
    // The units of the view that the search lets through, built or not.
    int ShownCount() const;

    // The view has a new selection of fonts.
    void ViewRebuilt();

signals:
    void ShownCountChanged(int count);

private:
    bool admits(const TPanel* tile) const;

    FlowLayoutPanel* const flowPanel_;
    const ViewUnits units_;
    NameSearch search_;
};
