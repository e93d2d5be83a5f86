#include "sampleview/CoverageFilter.h"

const std::vector<char32_t>& CoverageFilter::charactersOf(const QString& sampleText) {
    // A rebuild asks once per family with the same text.
    if (!computed_ || sampleText != lastText_) {
        computed_ = true;
        lastText_ = sampleText;
        lastCharacters_ = CoverageIndex::CharactersToCover(sampleText);
    }
    return lastCharacters_;
}

bool CoverageFilter::Narrows(const QString& sampleText) {
    return enabled_ && !charactersOf(sampleText).empty();
}

bool CoverageFilter::Admits(const QString& family, const QString& sampleText) {
    if (!Narrows(sampleText))
        return true;
    return index_.Covers(family, lastCharacters_);
}
