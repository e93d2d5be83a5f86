#pragma once

#include <QElapsedTimer>
#include <QHash>
#include <QList>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <functional>

class TPanel;
class TileText;

// Holds the font tiles in rows, left to right, wrapping at its width. A new tile goes to the
// end of the flow without moving the tiles before it, so each one costs the same however
// many there are; a change of width, or a removed tile, lays the tiles out once more. Hidden
// tiles keep their place in the list but take no room in the rows. A tile wider than the
// panel is narrowed to the panel's width while it is (its sample is cut, its name stays in
// view), and gets its own width back when the panel grows again.
class FlowLayoutPanel : public QWidget {
    Q_OBJECT
public:
    explicit FlowLayoutPanel(QWidget* parent = nullptr);

    // Makes the tile a child of this panel, places it at the end of the flow and shows it,
    // unless the tile filter turns it down.
    void AddTile(TPanel* tile);
    // Decides which tiles are shown; none means all of them.
    using TileFilter = std::function<bool(const TPanel*)>;
    void SetTileFilter(TileFilter filter);
    // Shows and hides the tiles by the filter again, closes the gaps and fits the height.
    void ApplyTileFilter();
    // Places every tile again, e.g. after tiles changed their width.
    void Relayout();
    // Takes every tile out of the flow at once, hidden; they are destroyed a slice at a time
    // from the event loop. Destroying tens of thousands of tiles at once would freeze the
    // window. Hiding the flow or a widget that holds it before this would tell each tile of
    // its hiding as well: once per tile is what a hidden tile costs.
    void DiscardTiles();
    // Destroys the discarded tiles still waiting, all of them now.
    void DestroyDiscardedTiles();
    static constexpr qint64 DiscardSliceNanoseconds = 6'000'000;
    // Fits the panel's height to its tiles, so that the scroll range follows the build.
    void FitHeight();
    // The same for a stream of new tiles: fits at once, then at most once per FitInterval,
    // the last time at most FitInterval after the last call. Each fit that changes the
    // height repaints the scroll bar, which costs more than a tile.
    void FitHeightSoon();
    static constexpr int FitInterval = 40; // ms
    // The height the tiles need at the current width.
    int ContentHeight() const;
    const QList<TPanel*>& Tiles() const { return tiles_; }
    // The families a drag of the tile carries (by default none but its tile number): the
    // whole selection when the tile is selected.
    std::function<QStringList(TPanel*)> DraggedFamilies;

signals:
    void Resized();
    // A tile joined the flow (shown or not).
    void TileAdded(TPanel* tile);

protected:
    void resizeEvent(QResizeEvent* event) override;
    // The flow is one stop of the Tab order however many tiles it holds: Tab from a tile
    // leaves the flow.
    bool focusNextPrevChild(bool next) override;
    void childEvent(QChildEvent* event) override;

private:
    void dropStaleHover();
    void place(TPanel* tile);
    // Narrows the tile to the panel's width, or gives a narrowed one its own width back.
    void fitWidth(TPanel* tile);

    void destroyDiscarded(qint64 budgetNs);

    QList<TPanel*> tiles_;
    // Discarded tiles, in the order of the panel's children, and whether one is being
    // destroyed (its removal then needs no search among the tiles).
    QList<TPanel*> discarded_;
    bool destroyingDiscarded_ = false;
    QTimer discardTimer_;
    TileFilter filter_;
    // The tiles narrowed to the panel: their own width, the width given them and the sample
    // they had then. A tile whose width or sample has changed since has been measured anew.
    struct Narrowed {
        int width;
        int narrowedTo;
        const TileText* sample;
    };
    QHash<const void*, Narrowed> narrowed_;
    bool dirty_ = false; // a tile was removed: the rows are out of date
    int nextX_ = 0;
    int rowTop_ = 0;
    int rowHeight_ = 0;
    QElapsedTimer lastFit_;
    QTimer pendingFit_;
};
