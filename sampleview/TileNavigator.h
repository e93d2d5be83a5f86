#pragma once

#include <QRect>
#include <vector>

// Where the arrow and page keys lead from one tile of the flow, worked out on the tiles'
// rectangles alone. The tiles are given in flow order: left to right in a row, rows from top
// to bottom, a row beginning where a tile no longer lies right of the one before.
class TileNavigator {
public:
    explicit TileNavigator(std::vector<QRect> tiles);

    // Each returns the index of the tile to go to; where there is nowhere to go, the tile it
    // starts from (or -1 when there are no tiles at all).
    int Left(int from) const;  // within the row
    int Right(int from) const; // within the row
    int Up(int from) const;    // the nearest tile of the row above, by their centres
    int Down(int from) const;  // the same in the row below
    int First() const;
    int Last() const;
    // A page is the height of the visible part of the flow: these go to the row that far
    // away, or the farthest row within it, and at least one row; from the first or last row,
    // to the first or last tile.
    int PageUp(int from, int pageHeight) const;
    int PageDown(int from, int pageHeight) const;

private:
    struct Row {
        int begin;
        int end; // one past the last tile
    };
    int rowOf(int tile) const;
    int nearestIn(const Row& row, int centreX) const;
    bool valid(int tile) const { return tile >= 0 && tile < static_cast<int>(tiles_.size()); }

    std::vector<QRect> tiles_;
    std::vector<Row> rows_;
};
