#include "sampleview/CoverageFilter.h"

#include "fonts/FontUnit.h"

const std::vector<char32_t>& CoverageFilter::charactersOf(const QString& sampleText) {
    // A rebuild asks once per family with the same text.
    if (!computed_ || sampleText != lastText_) {
        computed_ = true;
        lastText_ = sampleText;
        lastCharacters_ = CoverageIndex::CharactersToCover(sampleText);
    }
    return lastCharacters_;
}

void CoverageFilter::SetEnabled(bool enabled) {
    const bool narrowed = Narrows(sampleText_);
    enabled_ = enabled;
    // Without a sample text the filter has no effect, and the view is left as it is.
    if (Narrows(sampleText_) != narrowed)
        emit Changed();
}

void CoverageFilter::SetSampleText(const QString& text) {
    if (text == sampleText_)
        return;
    sampleText_ = text;
    if (enabled_)
        emit Changed();
}

bool CoverageFilter::Narrows(const QString& sampleText) {
    return enabled_ && !charactersOf(sampleText).empty();
}

bool CoverageFilter::Admits(const TFontUnit& unit) {
    return Admits(unit.Name, sampleText_);
}

bool CoverageFilter::Admits(const QString& family, const QString& sampleText) {
    if (!Narrows(sampleText))
        return true;
    return index_.Covers(family, lastCharacters_);
}
