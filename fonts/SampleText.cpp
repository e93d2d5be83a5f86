// Sample text and drawing modes.
#include "fonts/FontPool.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "fonts/StepwiseRemeasure.h"

void TFontPool::ApplySampleText(const QString& text) {
    if (Building)
        return;
    Options.SampleString = text;
    ResampleTiles();
    emit SampleTextApplied(text);
}

void TFontPool::SetSamplePointSize(int pointSize) {
    if (Building || pointSize <= 0)
        return;
    Options.SamplePointSize = pointSize;
    ResampleTiles();
}

void TFontPool::ResampleTiles() {
    // The part of the flow on screen; nothing when the flow is hidden.
    const QRect view = FlowPanel ? FlowPanel->visibleRegion().boundingRect() : QRect();
    resampler_->Start(ViewList, view);
}

void TFontPool::SetSampleViewMode(int mode) {
    if (Building)
        return;
    Options.SampleViewMode = mode;
    for (TFontUnit* unit : ViewList)
        if (unit->Tile)
            PaintTileColors(unit->Tile, mode);
}

int TFontPool::ToggleSampleViewMode() {
    const int old = Options.SampleViewMode;
    if (old == 0)
        SetSampleViewMode(1);
    else if (old == 1)
        SetSampleViewMode(0);
    return old;
}
