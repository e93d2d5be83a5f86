#include "sampleview/TileSelection.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"

#include <QAccessible>
#include <QApplication>
#include <QMouseEvent>
#include <algorithm>
#include <utility>

TileSelection::TileSelection(FlowLayoutPanel* flowPanel, ViewUnits units, QObject* parent)
    : QObject(parent), flowPanel_(flowPanel), units_(std::move(units)) {
    // The tiles' presses go to the catalogue's handlers; the selection watches them on the way.
    qApp->installEventFilter(this);
}

TileSelection::~TileSelection() {
    qApp->removeEventFilter(this);
}

bool TileSelection::isTile(const QObject* object) const {
    const auto* widget = qobject_cast<const TPanel*>(object);
    return widget && widget->parentWidget() == flowPanel_;
}

std::vector<TPanel*> TileSelection::shownTiles() const {
    std::vector<TPanel*> shown;
    for (TPanel* tile : flowPanel_->Tiles())
        if (!tile->isHidden())
            shown.push_back(tile);
    return shown;
}

QStringList TileSelection::Families() const {
    QStringList families;
    if (selected_.isEmpty())
        return families;
    if (const std::vector<TFontUnit*>* view = units_())
        for (const TFontUnit* unit : *view)
            if (unit->Tile && selected_.contains(unit->Tile))
                families.append(unit->Name);
    return families;
}

bool TileSelection::Contains(const QString& family) const {
    if (selected_.isEmpty())
        return false;
    const std::vector<TFontUnit*>* view = units_();
    return view && std::any_of(view->cbegin(), view->cend(), [&](const TFontUnit* unit) {
               return unit->Tile && selected_.contains(unit->Tile) && unit->IsNamed(family);
           });
}

QStringList TileSelection::FamiliesFor(TPanel* tile) const {
    if (tile && selected_.contains(tile))
        return Families();
    const std::vector<TFontUnit*>* view = units_();
    const TFontUnit* unit = view ? UnitOfTile(*view, tile) : nullptr;
    return unit ? QStringList{unit->Name} : QStringList();
}

void TileSelection::select(const QSet<const TPanel*>& tiles) {
    if (tiles == selected_)
        return;
    const QSet<const TPanel*> old = std::exchange(selected_, tiles);
    const auto tell = [](const TPanel* tile, bool selected) {
        auto* panel = const_cast<TPanel*>(tile);
        panel->SetSelected(selected);
        if (QAccessible::isActive()) {
            QAccessible::State changed;
            changed.selected = true;
            QAccessibleStateChangeEvent event(panel, changed);
            QAccessible::updateAccessibility(&event);
        }
    };
    for (const TPanel* tile : old)
        if (!selected_.contains(tile))
            tell(tile, false);
    for (const TPanel* tile : std::as_const(selected_))
        if (!old.contains(tile)) {
            // A tile destroyed while selected leaves the selection with it.
            watched_.insert(tile, tile);
            connect(tile, &QObject::destroyed, this, &TileSelection::tileDestroyed,
                    Qt::UniqueConnection);
            tell(tile, true);
        }
    emit Changed();
}

void TileSelection::tileDestroyed(QObject* tile) {
    const TPanel* panel = watched_.take(tile);
    if (panel && selected_.remove(panel))
        emit Changed();
}

void TileSelection::Clear() {
    select({});
}

void TileSelection::Toggle(TPanel* tile) {
    if (!isTile(tile) || tile->isHidden())
        return;
    QSet<const TPanel*> tiles = selected_;
    if (!tiles.remove(tile))
        tiles.insert(tile);
    anchor_ = tile;
    select(tiles);
}

void TileSelection::SelectAll() {
    QSet<const TPanel*> tiles;
    for (const TPanel* tile : shownTiles())
        tiles.insert(tile);
    select(tiles);
}

void TileSelection::SelectRange(TPanel* to, bool add) {
    if (!isTile(to) || to->isHidden())
        return;
    const std::vector<TPanel*> shown = shownTiles();
    TPanel* from = anchor_ && !anchor_->isHidden() && isTile(anchor_) ? anchor_.data() : to;
    const auto a = std::find(shown.begin(), shown.end(), from);
    const auto b = std::find(shown.begin(), shown.end(), to);
    QSet<const TPanel*> tiles = add ? selected_ : QSet<const TPanel*>();
    for (auto it = std::min(a, b); it <= std::max(a, b) && it != shown.end(); ++it)
        tiles.insert(*it);
    anchor_ = from;
    select(tiles);
}

void TileSelection::Prune() {
    QSet<const TPanel*> tiles = selected_;
    tiles.removeIf([](const TPanel* tile) { return tile->isHidden(); });
    select(tiles);
}

void TileSelection::mousePressed(TPanel* tile, Qt::KeyboardModifiers modifiers) {
    pending_ = Pending::None;
    pressed_ = tile;
    const bool ctrl = modifiers & Qt::ControlModifier;
    if (modifiers & Qt::ShiftModifier) {
        SelectRange(tile, ctrl);
    } else if (ctrl) {
        // Deselecting a tile held for a drag would leave the drag without it.
        if (IsSelected(tile))
            pending_ = Pending::Deselect;
        else
            Toggle(tile);
    } else {
        anchor_ = tile;
        if (IsSelected(tile))
            pending_ = Pending::Clear;
        else
            Clear();
    }
}

bool TileSelection::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::MouseButtonPress: {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && isTile(watched)) {
            pressPos_ = mouse->globalPosition().toPoint();
            mousePressed(static_cast<TPanel*>(watched), mouse->modifiers());
        }
        return false;
    }
    case QEvent::MouseMove:
        if (pending_ != Pending::None && watched == pressed_ &&
            (static_cast<QMouseEvent*>(event)->globalPosition().toPoint() - pressPos_)
                    .manhattanLength() >= QApplication::startDragDistance())
            pending_ = Pending::None; // a drag: it carries the selection as it is
        return false;
    case QEvent::MouseButtonRelease:
        if (pending_ != Pending::None && watched == pressed_ &&
            static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
            const Pending pending = std::exchange(pending_, Pending::None);
            if (pending == Pending::Clear)
                Clear();
            else
                Toggle(pressed_);
        }
        return false;
    default:
        return false;
    }
}
