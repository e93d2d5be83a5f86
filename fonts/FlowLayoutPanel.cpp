#include "fonts/FlowLayoutPanel.h"

#include "fonts/Panel.h"

#include <QChildEvent>
#include <QCoreApplication>
#include <QCursor>
#include <QResizeEvent>
#include <algorithm>
#include <utility>

FlowLayoutPanel::FlowLayoutPanel(QWidget* parent) : QWidget(parent) {
    setFocusPolicy(Qt::TabFocus);
    // The panel grows a row at a time while tiles are built: only the new strip needs
    // painting, not every tile already in view.
    setAttribute(Qt::WA_StaticContents);
    pendingFit_.setSingleShot(true);
    connect(&pendingFit_, &QTimer::timeout, this, &FlowLayoutPanel::FitHeight);
    connect(&discardTimer_, &QTimer::timeout, this,
            [this] { destroyDiscarded(DiscardSliceNanoseconds); });
}

void FlowLayoutPanel::DiscardTiles() {
    for (TPanel* tile : std::as_const(tiles_))
        tile->hide();
    discarded_.append(tiles_);
    tiles_.clear();
    narrowed_.clear();
    dirty_ = false;
    nextX_ = rowTop_ = rowHeight_ = 0;
    if (!discarded_.isEmpty() && !discardTimer_.isActive())
        discardTimer_.start(0);
}

void FlowLayoutPanel::DestroyDiscardedTiles() {
    destroyDiscarded(-1);
}

void FlowLayoutPanel::destroyDiscarded(qint64 budgetNs) {
    QElapsedTimer slice;
    slice.start();
    // Front to back: each is then the first child of the panel, which Qt removes from its
    // lists without searching or moving the rest.
    while (!discarded_.isEmpty() && (budgetNs < 0 || slice.nsecsElapsed() < budgetNs)) {
        destroyingDiscarded_ = true;
        delete discarded_.takeFirst();
        destroyingDiscarded_ = false;
    }
    if (discarded_.isEmpty())
        discardTimer_.stop();
}

void FlowLayoutPanel::AddTile(TPanel* tile) {
    if (dirty_)
        Relayout();
    if (tile->parentWidget() != this)
        tile->setParent(this);
    tiles_.append(tile);
    // Clicking a tile gives it the focus; the keyboard reaches it through the flow panel.
    tile->setFocusPolicy(Qt::ClickFocus);
    emit TileAdded(tile);
    if (filter_ && !filter_(tile))
        return; // made hidden, it stays so
    place(tile);
    tile->show();
}

void FlowLayoutPanel::SetTileFilter(TileFilter filter) {
    filter_ = std::move(filter);
}

void FlowLayoutPanel::ApplyTileFilter() {
    // One repaint at the end instead of one per tile shown, hidden or moved.
    setUpdatesEnabled(false);
    for (TPanel* tile : std::as_const(tiles_)) {
        const bool shown = !filter_ || filter_(tile);
        if (shown == tile->isHidden())
            tile->setVisible(shown);
    }
    Relayout();
    FitHeight();
    setUpdatesEnabled(true);
}

void FlowLayoutPanel::fitWidth(TPanel* tile) {
    if (width() <= 0)
        return; // not laid out yet
    int own = tile->width();
    const auto it = narrowed_.constFind(tile);
    if (it != narrowed_.cend()) {
        if (own == it->narrowedTo && tile->Sample() == it->sample)
            own = it->width;
        narrowed_.erase(it);
    }
    const int room = std::max(1, width() - tile->Margins.left() - tile->Margins.right());
    const int given = std::min(own, room);
    if (given < own)
        narrowed_.insert(tile, {own, given, tile->Sample()});
    if (tile->width() != given)
        tile->resize(given, tile->height());
}

void FlowLayoutPanel::place(TPanel* tile) {
    fitWidth(tile);
    const QMargins& m = tile->Margins;
    const int outerWidth = m.left() + tile->width() + m.right();
    const int outerHeight = m.top() + tile->height() + m.bottom();
    if (nextX_ > 0 && nextX_ + outerWidth > width()) {
        rowTop_ += rowHeight_;
        nextX_ = 0;
        rowHeight_ = 0;
    }
    // Moving a shown widget costs even when it stays where it is; a relayout after a few
    // widths changed leaves most tiles in place.
    const QPoint at(nextX_ + m.left(), rowTop_ + m.top());
    if (tile->pos() != at)
        tile->move(at);
    nextX_ += outerWidth;
    rowHeight_ = std::max(rowHeight_, outerHeight);
}

void FlowLayoutPanel::Relayout() {
    dirty_ = false;
    nextX_ = rowTop_ = rowHeight_ = 0;
    for (TPanel* tile : std::as_const(tiles_))
        if (!tile->isHidden())
            place(tile);
    dropStaleHover();
}

void FlowLayoutPanel::dropStaleHover() {
    // Qt tells a widget that the pointer has left only when the pointer moves: a tile that
    // the layout moved away from a still pointer would keep its hover colour until then.
    const QPoint pointer = mapFromGlobal(QCursor::pos());
    for (TPanel* tile : std::as_const(tiles_)) {
        if (tile->underMouse() && !tile->geometry().contains(pointer)) {
            tile->setAttribute(Qt::WA_UnderMouse, false);
            QEvent leave(QEvent::Leave);
            QCoreApplication::sendEvent(tile, &leave);
        }
    }
}

int FlowLayoutPanel::ContentHeight() const {
    return rowTop_ + rowHeight_;
}

void FlowLayoutPanel::FitHeight() {
    pendingFit_.stop();
    lastFit_.start();
    if (dirty_)
        Relayout();
    const int height = ContentHeight();
    if (minimumHeight() != height)
        setMinimumHeight(height);
    if (this->height() < height)
        resize(width(), height);
}

void FlowLayoutPanel::FitHeightSoon() {
    if (!lastFit_.isValid() || lastFit_.hasExpired(FitInterval)) {
        FitHeight();
        return;
    }
    if (!pendingFit_.isActive())
        pendingFit_.start(static_cast<int>(std::max<qint64>(0, FitInterval - lastFit_.elapsed())));
}

void FlowLayoutPanel::resizeEvent(QResizeEvent* event) {
    if (event->oldSize().width() != event->size().width())
        Relayout();
    emit Resized();
}

bool FlowLayoutPanel::focusNextPrevChild(bool next) {
    for (QWidget* w = next ? nextInFocusChain() : previousInFocusChain(); w != this;
         w = next ? w->nextInFocusChain() : w->previousInFocusChain()) {
        if (isAncestorOf(w) || w->window() != window() || !(w->focusPolicy() & Qt::TabFocus) ||
            !w->isEnabled() || !w->isVisibleTo(window()))
            continue;
        w->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
        return true;
    }
    return false;
}

void FlowLayoutPanel::childEvent(QChildEvent* event) {
    // A tile being destroyed is no longer a TPanel here, so no cast may touch it: compare
    // addresses only (QObject is the first base of every widget).
    if (event->type() == QEvent::ChildRemoved && !destroyingDiscarded_) {
        const void* child = event->child();
        // A discarded tile destroyed by someone else (or with the panel) leaves that list.
        discarded_.removeIf(
            [child](TPanel* tile) { return reinterpret_cast<const void*>(tile) == child; });
        narrowed_.remove(child);
        const auto it = std::find_if(tiles_.begin(), tiles_.end(), [child](TPanel* tile) {
            return reinterpret_cast<const void*>(tile) == child;
        });
        if (it != tiles_.end()) {
            tiles_.erase(it);
            dirty_ = true;
        }
    }
    QWidget::childEvent(event);
}
