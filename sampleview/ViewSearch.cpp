#include "sampleview/ViewSearch.h"

#include "fonts/FontUnit.h"

bool ViewSearch::Admits(const TFontUnit& unit) {
    return search_.Matches(unit.Name, unit.OtherNames);
}

void ViewSearch::SetText(const QString& text) {
    const bool wasEmpty = search_.IsEmpty();
    search_.SetText(text);
    // Blanks added around the text, say, change nothing that is shown.
    if (wasEmpty && search_.IsEmpty())
        return;
    emit Changed();
}
