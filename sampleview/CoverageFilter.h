#pragma once

#include "fontengine/CoverageIndex.h"

#include <QString>
#include <vector>

// The view filter "only families that can show the whole sample text". It narrows a view
// only while switched on and given a text with something to draw.
class CoverageFilter {
public:
    explicit CoverageFilter(_FcConfig* config = nullptr) : index_(config) {}

    bool Enabled() const { return enabled_; }
    void SetEnabled(bool enabled) { enabled_ = enabled; }

    // Whether the family stays in a view whose sample text is the given one.
    bool Admits(const QString& family, const QString& sampleText);
    // Whether the filter changes a view whose sample text is the given one.
    bool Narrows(const QString& sampleText);

    CoverageIndex& Index() { return index_; }

private:
    const std::vector<char32_t>& charactersOf(const QString& sampleText);

    CoverageIndex index_;
    bool enabled_ = false;
    bool computed_ = false;
    QString lastText_;
    std::vector<char32_t> lastCharacters_;
};
