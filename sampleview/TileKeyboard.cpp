#include "sampleview/TileKeyboard.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"
#include "sampleview/TileNavigator.h"
#include "sampleview/TileSelection.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QTimer>
#include <algorithm>

namespace {

// A frame over the focused tile. It lies on top of the tile, beside it in the flow panel, so
// the tile's own painting knows nothing of it; a blue that stands out on the white, the black
// and the hover green of the tiles alike.
class TileFocusMark : public QWidget {
public:
    explicit TileFocusMark(QWidget* tile) : QWidget(tile->parentWidget()), tile_(tile) {
        setObjectName(QStringLiteral("TileFocusMark"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        setGeometry(tile->geometry());
        tile->installEventFilter(this);
        show();
        raise();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched != tile_)
            return false;
        switch (event->type()) {
        case QEvent::Move:
        case QEvent::Resize:
            setGeometry(tile_->geometry());
            break;
        case QEvent::Hide:
            hide();
            break;
        case QEvent::Show:
            show();
            break;
        default:
            break;
        }
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.setPen(QPen(QColor(0x30, 0x8C, 0xC6), 3));
        painter.drawRect(QRectF(rect()).adjusted(1.5, 1.5, -1.5, -1.5));
    }

private:
    QWidget* const tile_;
};

} // namespace

TileKeyboard::TileKeyboard(FlowLayoutPanel* flowPanel, QScrollArea* scrollBox, QObject* parent)
    : QObject(parent), flowPanel_(flowPanel), scrollBox_(scrollBox) {
    flowPanel_->installEventFilter(this);
    // The scroll box would be a stop of its own, with nothing to show for it.
    if (scrollBox_)
        scrollBox_->setFocusPolicy(Qt::NoFocus);
    connect(qApp, &QApplication::focusChanged, this, &TileKeyboard::focusChanged);
}

bool TileKeyboard::isTile(const QWidget* widget) const {
    return widget && widget->parentWidget() == flowPanel_ && qobject_cast<const TPanel*>(widget);
}

std::vector<TPanel*> TileKeyboard::ShownTiles() const {
    std::vector<TPanel*> shown;
    for (TPanel* tile : flowPanel_->Tiles())
        if (!tile->isHidden())
            shown.push_back(tile);
    return shown;
}

void TileKeyboard::Focus(TPanel* tile) {
    if (!tile)
        return;
    tile->setFocus(Qt::OtherFocusReason);
    // A range selected from the keys starts where the keyboard was taken.
    if (selection_)
        selection_->SetAnchor(tile);
    if (scrollBox_)
        scrollBox_->ensureWidgetVisible(tile, tile->Margins.left(), tile->Margins.top());
}

void TileKeyboard::focusChanged(QWidget* old, QWidget* now) {
    if (isTile(old) && old != now)
        delete mark_;
    if (!isTile(now))
        return;
    auto* tile = static_cast<TPanel*>(now);
    if (current_ != tile) {
        if (current_)
            disconnect(current_, &QObject::destroyed, this, nullptr);
        current_ = tile;
        connect(tile, &QObject::destroyed, this, &TileKeyboard::currentDestroyed);
        delete mark_;
    }
    currentIndex_ = static_cast<int>(flowPanel_->Tiles().indexOf(tile));
    if (!mark_)
        mark_ = new TileFocusMark(tile);
}

void TileKeyboard::currentDestroyed() {
    delete mark_;
    // The focused tile went to the trash, or the view was rebuilt: the keyboard stays in the
    // flow, on the tile that took the place of the one gone, once it has left the flow.
    if (QApplication::focusWidget() && QApplication::focusWidget() != flowPanel_->window())
        return;
    QTimer::singleShot(0, this, [this, index = currentIndex_] {
        if (QApplication::focusWidget() && QApplication::focusWidget() != flowPanel_->window())
            return;
        // The tile that took the gone one's place, else the one before it.
        const QList<TPanel*>& tiles = flowPanel_->Tiles();
        const int count = static_cast<int>(tiles.size());
        TPanel* next = nullptr;
        for (int i = std::max(index, 0); i < count && !next; ++i)
            if (!tiles[i]->isHidden())
                next = tiles[i];
        for (int i = std::min(index, count) - 1; i >= 0 && !next; --i)
            if (!tiles[i]->isHidden())
                next = tiles[i];
        if (next)
            Focus(next);
        else
            flowPanel_->setFocus(Qt::OtherFocusReason);
    });
}

bool TileKeyboard::eventFilter(QObject* watched, QEvent* event) {
    if (watched != flowPanel_)
        return false;
    switch (event->type()) {
    case QEvent::FocusIn: {
        // Tab reached the flow: hand the focus on to a tile.
        if (current_ && !current_->isHidden())
            Focus(current_);
        else if (const std::vector<TPanel*> shown = ShownTiles(); !shown.empty())
            Focus(shown.front());
        return false;
    }
    case QEvent::KeyPress: {
        // Keys come here from the focused tile, which takes none itself.
        auto* key = static_cast<QKeyEvent*>(event);
        if (handleKey(key->key(), key->modifiers() & ~Qt::KeypadModifier)) {
            key->accept();
            return true;
        }
        return false;
    }
    case QEvent::ContextMenu: {
        auto* menu = static_cast<QContextMenuEvent*>(event);
        if (menu->reason() != QContextMenuEvent::Keyboard || !isTile(QApplication::focusWidget()))
            return false;
        handleKey(Qt::Key_Menu, Qt::NoModifier);
        return true;
    }
    default:
        return false;
    }
}

bool TileKeyboard::handleKey(int key, Qt::KeyboardModifiers modifiers) {
    TPanel* tile = isTile(QApplication::focusWidget())
                       ? static_cast<TPanel*>(QApplication::focusWidget())
                       : nullptr;
    const std::vector<TPanel*> shown = ShownTiles();
    std::vector<QRect> rects;
    rects.reserve(shown.size());
    for (const TPanel* t : shown)
        rects.push_back(t->geometry());
    const TileNavigator navigator(std::move(rects));
    const auto at = std::find(shown.begin(), shown.end(), tile);
    const int from = at == shown.end() ? -1 : static_cast<int>(at - shown.begin());
    const int page = scrollBox_ ? scrollBox_->viewport()->height() : flowPanel_->height();

    int to = -2;
    const bool plain = modifiers == Qt::NoModifier;
    const bool ctrl = modifiers == Qt::ControlModifier;
    // With Shift, a move selects from the anchor to where it goes.
    const bool shift = modifiers == Qt::ShiftModifier;
    const bool move = plain || shift;
    switch (key) {
    case Qt::Key_Left:
        to = move ? navigator.Left(from) : -2;
        break;
    case Qt::Key_Right:
        to = move ? navigator.Right(from) : -2;
        break;
    case Qt::Key_Up:
        to = move ? navigator.Up(from) : -2;
        break;
    case Qt::Key_Down:
        to = move ? navigator.Down(from) : -2;
        break;
    case Qt::Key_Home:
        to = move || ctrl ? navigator.First() : -2;
        break;
    case Qt::Key_End:
        to = move || ctrl ? navigator.Last() : -2;
        break;
    case Qt::Key_PageUp:
        to = move ? navigator.PageUp(from, page) : -2;
        break;
    case Qt::Key_PageDown:
        to = move ? navigator.PageDown(from, page) : -2;
        break;
    default:
        break;
    }
    if (to != -2) {
        if (to < 0)
            return true;
        if (!selection_ || !shift) {
            Focus(shown[to]);
            return true;
        }
        if (!selection_->Anchor() || selection_->Anchor()->isHidden())
            selection_->SetAnchor(tile ? tile : shown[to]);
        TPanel* anchor = selection_->Anchor();
        Focus(shown[to]);
        selection_->SetAnchor(anchor);
        selection_->SelectRange(shown[to]);
        return true;
    }
    if (selection_ && key == Qt::Key_A && ctrl) {
        selection_->SelectAll();
        return true;
    }
    if (!tile)
        return false;
    if ((key == Qt::Key_Menu && plain) || (key == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        emit MenuRequested(tile, tile->mapToGlobal(QPoint(tile->width() / 2, tile->height() / 2)));
        return true;
    }
    if (key == Qt::Key_C && ctrl) {
        emit CopyRequested(tile);
        return true;
    }
    if (selection_ && key == Qt::Key_Space && ctrl) {
        selection_->Toggle(tile);
        return true;
    }
    if (key == Qt::Key_Delete && plain) {
        emit DeleteRequested(tile);
        return true;
    }
    if (key == Qt::Key_D && ctrl) {
        emit FavouriteRequested(tile);
        return true;
    }
    return false;
}
