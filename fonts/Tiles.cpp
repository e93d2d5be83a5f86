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
const QColor NameLabelColor(0x80, 0x80, 0x80);

// Family names come from font files; a tooltip would take one that looks like markup as
// rich text.
QString plainToolTip(const QString& text) {
    if (!Qt::mightBeRichText(text))
        return text;
    return QStringLiteral("<p style='white-space:pre'>") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

// The tile a handler acts on: the name label stands for the tile that holds it.
TPanel* hoverTarget(TPanel* sender) {
    if (sender && sender->AlignBottom)
        return qobject_cast<TPanel*>(sender->parentWidget());
    return sender;
}

// The name label names the family and, when the sample has characters the family lacks,
// how many.
QString labelCaption(const QString& name, int missing) {
    if (missing == 0)
        return name;
    return TFontPool::tr("%1 — %2 文字なし").arg(name, QString::number(missing));
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
    if (unit.NameLabel)
        unit.NameLabel->SetCaption(labelCaption(unit.Name, sample->Missing()));
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

    if (options.ShowNameLabel) {
        auto* label = new TPanel(tile);
        unit.NameLabel = label;
        label->SetCaption(unit.Name);
        label->SetAlignment(Qt::AlignRight | Qt::AlignVCenter);
        label->Margins = QMargins(3, 3, 2, 2);
        label->resize(label->width(), 12);
        label->SetFontColor(NameLabelColor);
        // The label's font and pointer come from the flow panel and the tile: set on each of
        // thousands of labels, they would cost every build time and memory.
        label->AlignBottom = true;
        label->Tag = index;
        label->OnMouseEnter = tile->OnMouseEnter;
        label->OnMouseLeave = tile->OnMouseLeave;
        label->OnMouseDown = tile->OnMouseDown;
    }
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
    if (TPanel* target = hoverTarget(sender))
        target->SetColor(HoverColor);
}

void TFontPool::TileMouseLeave(TPanel* sender) {
    TPanel* target = hoverTarget(sender);
    if (!target)
        return;
    // Moving from the name label back onto its tile leaves only the label: the pointer is
    // still on the tile, which stays green until the pointer leaves the tile itself.
    if (target != sender && target->underMouse())
        return;
    if (Options.SampleViewMode == 0)
        target->SetColor(Qt::white);
    else if (Options.SampleViewMode == 1)
        target->SetColor(Qt::black);
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
