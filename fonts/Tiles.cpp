// Font tiles and their mouse handlers.
#include "fonts/FontPool.h"

#include "fontengine/TileTextFactory.h"
#include "fonts/FirstPaintBudget.h"
#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "ui/Glyphorama.h"

#include <QMenu>
#include <QProgressBar>
#include <QTextDocument>

namespace {

// Room left and right of the sample.
constexpr int TilePadding = 20;
const QColor HoverColor(0xC0, 0xDC, 0xC0);

// Family names come from font files; a tooltip would take one that looks like markup as
// rich text.
QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace

int TFontPool::TileHeight(int pointSize) {
    return 34 + 3 * pointSize;
}

void TFontPool::SampleTile(TFontUnit& unit, const TGlyphoramaOptions& options) {
    if (!unit.Tile)
        return;
    std::unique_ptr<TileText> sample = samples_->Make(
        unit.FaceFile, unit.FaceIndex, unit.Name, options.SampleString, options.SamplePointSize);
    unit.Tile->resize(sample->Width() + TilePadding, TileHeight(options.SamplePointSize));
    // The name label names the family and, when the sample has characters the family lacks,
    // how many.
    if (unit.Tile->HasNameLabel())
        unit.Tile->SetNameLabel(unit.Name, sample->Missing());
    unit.Tile->SetSample(std::move(sample));
}

void TFontPool::PaintTileColors(TPanel* tile, int mode) {
    if (mode == 0) {
        tile->SetColor(Qt::white);
        tile->SetFontColor(Qt::black);
    } else if (mode == 1) {
        tile->SetColor(Qt::black);
        tile->SetFontColor(Qt::white);
    }
}

void TFontPool::BuildTile(TFontUnit& unit, int index, const TGlyphoramaOptions& options) {
    // Made whole while hidden, then shown once at the end of the flow.
    auto* tile = new TPanel(FlowPanel);
    unit.Tile = tile;
    tile->setToolTip(plainToolTip(unit.Name));
    tile->setCursor(Qt::PointingHandCursor);
    tile->Tag = index;
    // The catalogue's drawing mode (it cannot change while a build runs).
    PaintTileColors(tile, Options.SampleViewMode);
    tile->Margins = QMargins(5, 3, 5, 3);
    tile->OnMouseEnter = [this](TPanel* sender) { TileMouseEnter(sender); };
    tile->OnMouseLeave = [this](TPanel* sender) { TileMouseLeave(sender); };
    tile->OnMouseDown = [this](TPanel* sender, Qt::MouseButton button, QPoint pos) {
        TileMouseDown(sender, button, pos);
    };

    // The label's font, the flow panel's, is the tile's own: set on each of thousands of
    // tiles, it would cost every build time and memory.
    if (options.ShowNameLabel)
        tile->SetNameLabel(unit.Name, 0);
    // The sample, its width and the label's count, from the family's own face (the caption
    // is the sample text, or with none the family's name).
    SampleTile(unit, options);

    if (FlowPanel) {
        FlowPanel->AddTile(tile);
        FlowPanel->FitHeightSoon();
    }
}

void TFontPool::BuilderTerminated() {
    if (ProgressBar)
        ProgressBar->setValue(0);
    // The last tiles' fit may still be pending.
    if (FlowPanel)
        FlowPanel->FitHeight();
    Building = false;
    Builder = nullptr;
    FirstPaintBudget::Release();
    // A cancelled build leaves faces unmeasured, which no tile will take.
    samples_->StopMeasuring();
    // What this build learnt about the fonts spares the next start reading them.
    samples_->Cache().SaveInBackground();
}

void TFontPool::TileMouseEnter(TPanel* sender) {
    if (sender)
        sender->SetColor(HoverColor);
}

void TFontPool::TileMouseLeave(TPanel* sender) {
    if (!sender)
        return;
    if (Options.SampleViewMode == 0)
        sender->SetColor(Qt::white);
    else if (Options.SampleViewMode == 1)
        sender->SetColor(Qt::black);
}

void TFontPool::TileMouseDown(TPanel* sender, Qt::MouseButton button, QPoint pos) {
    if (!sender)
        return;
    if (button == Qt::LeftButton) {
        sender->BeginDrag();
    } else if (button == Qt::RightButton) {
        if (!Glyphorama || !Glyphorama->ContextMenu)
            return;
        Glyphorama->ContextMenuTag = sender->Tag;
        Glyphorama->ContextMenu->setProperty("Tag", sender->Tag);
        Glyphorama->ContextMenu->popup(sender->mapToGlobal(pos));
    }
}
