#pragma once

#include "sampleview/NameSearch.h"
#include "sampleview/ViewFilter.h"

// Narrows the sample view to the families whose names match the name search. It works on the
// tiles the view has built, so a keystroke costs no rebuild; tiles built later are judged as
// they join the flow, so text typed during a build holds for the whole view.
class ViewSearch : public ViewFilter {
    Q_OBJECT
public:
    explicit ViewSearch(QObject* parent = nullptr) : ViewFilter(Stage::Tiles, parent) {}

    void SetText(const QString& text);
    const NameSearch& Search() const { return search_; }

    bool IsActive() override { return !search_.IsEmpty(); }
    bool Admits(const TFontUnit& unit) override;

private:
    NameSearch search_;
};
