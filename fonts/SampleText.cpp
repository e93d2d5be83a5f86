// Sample text and drawing modes.
#include "fonts/FontPool.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"

void TFontPool::ApplySampleText(const QString& text) {
    if (Building)
        return;
    Options.SampleString = text;
    for (TFontUnit* unit : ViewList) {
        if (!unit->Tile)
            continue;
        const QString& caption = text.isEmpty() ? unit->Name : text;
        unit->Tile->SetCaption(caption);
        unit->Tile->resize(SampleWidth(unit->Name, caption, Options.SamplePointSize),
                           unit->Tile->height());
    }
    // The tiles changed their widths: the rows are out of date.
    if (FlowPanel) {
        FlowPanel->Relayout();
        FlowPanel->FitHeight();
    }
}

void TFontPool::ApplySamplePointSize(int pointSize) {
    if (Building)
        return;
    Options.SamplePointSize = pointSize;
    for (TFontUnit* unit : ViewList) {
        if (!unit->Tile)
            continue;
        QFont font = unit->Tile->font();
        font.setPointSize(pointSize);
        unit->Tile->setFont(font);
        unit->Tile->resize(SampleWidth(unit->Name, unit->Tile->Caption(), pointSize),
                           TileHeight(pointSize));
    }
    if (FlowPanel) {
        FlowPanel->Relayout();
        FlowPanel->FitHeight();
    }
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
