#pragma once

#include "fonts/Panel.h"
#include "sampleview/TileUnits.h"

#include <QHash>
#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QSet>
#include <QStringList>
#include <vector>

class FlowLayoutPanel;

// The tiles the user has picked to act on together. With the mouse: Ctrl+click adds or takes
// out one tile, Shift+click picks the tiles from the anchor (the tile last clicked) to the
// clicked one in view order, Ctrl+Shift+click adds them; a plain click clears the selection.
// The keyboard's part comes through the methods below (see TileKeyboard). Only shown tiles
// are selected: one a filter hides, or a rebuild or the trash takes away, leaves the
// selection.
class TileSelection : public QObject {
    Q_OBJECT
public:
    TileSelection(FlowLayoutPanel* flowPanel, ViewUnits units, QObject* parent = nullptr);
    ~TileSelection() override;

    // The selected families, in view order.
    QStringList Families() const;
    bool Contains(const QString& family) const;
    bool IsSelected(const TPanel* tile) const { return selected_.contains(tile); }
    bool IsEmpty() const { return selected_.isEmpty(); }
    int Count() const { return static_cast<int>(selected_.size()); }
    // What a command on the tile applies to: the selection when the tile is in it, else the
    // tile's family alone.
    QStringList FamiliesFor(TPanel* tile) const;

    void Clear();
    void Toggle(TPanel* tile);
    // Every shown tile.
    void SelectAll();
    // The tiles from the anchor to this one, in view order, instead of the selection (or
    // added to it); the anchor stays where it is. Without an anchor, from the tile itself.
    void SelectRange(TPanel* to, bool add = false);
    // Where the next range starts from.
    void SetAnchor(TPanel* tile) { anchor_ = tile; }
    TPanel* Anchor() const { return anchor_; }
    // Drops the tiles no longer shown.
    void Prune();

signals:
    void Changed();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Pending { None, Clear, Deselect };

    bool isTile(const QObject* object) const;
    std::vector<TPanel*> shownTiles() const;
    // Makes these tiles the selection, repainting those that change.
    void select(const QSet<const TPanel*>& tiles);
    void tileDestroyed(QObject* tile);
    void mousePressed(TPanel* tile, Qt::KeyboardModifiers modifiers);

    FlowLayoutPanel* const flowPanel_;
    const ViewUnits units_;
    QSet<const TPanel*> selected_;
    // The selected tiles by their QObject, for the destroyed signal: by then a tile is no longer
    // a panel, and its pointer cannot be cast back.
    QHash<const QObject*, const TPanel*> watched_;
    QPointer<TPanel> anchor_;
    // A press on a selected tile may start a drag of the whole selection: what a plain or
    // Ctrl press would change waits for the release, and a drag cancels it.
    Pending pending_ = Pending::None;
    QPointer<TPanel> pressed_;
    QPoint pressPos_;
};
