#pragma once

#include "fontengine/CoverageIndex.h"
#include "sampleview/ViewFilter.h"

#include <QString>
#include <vector>

// The view filter "only families that can show the whole sample text". It narrows a view
// only while switched on and given a text with something to draw. Asking fontconfig about
// every family costs too much for each tile at each change, and it may leave a handful of
// thousands: it chooses the families before their tiles are built.
class CoverageFilter : public ViewFilter {
    Q_OBJECT
public:
    explicit CoverageFilter(_FcConfig* config = nullptr, QObject* parent = nullptr)
        : ViewFilter(Stage::Families, parent), index_(config) {}

    bool Enabled() const { return enabled_; }
    // Says Changed() when switching changes the view.
    void SetEnabled(bool enabled);
    // The sample text the view draws; says Changed() when the filter is on and the text new.
    void SetSampleText(const QString& text);

    bool IsActive() override { return Narrows(sampleText_); }
    bool Admits(const TFontUnit& unit) override;

    // Whether the family stays in a view whose sample text is the given one.
    bool Admits(const QString& family, const QString& sampleText);
    // Whether the filter changes a view whose sample text is the given one.
    bool Narrows(const QString& sampleText);

    CoverageIndex& Index() { return index_; }

private:
    const std::vector<char32_t>& charactersOf(const QString& sampleText);

    CoverageIndex index_;
    bool enabled_ = false;
    QString sampleText_;
    bool computed_ = false;
    QString lastText_;
    std::vector<char32_t> lastCharacters_;
};
