#include "sampleview/TileNavigator.h"

#include <cstdlib>
#include <utility>

TileNavigator::TileNavigator(std::vector<QRect> tiles) : tiles_(std::move(tiles)) {
    for (int i = 0; i < static_cast<int>(tiles_.size()); ++i) {
        if (i == 0 || tiles_[i].left() <= tiles_[i - 1].left())
            rows_.push_back({i, i + 1});
        else
            rows_.back().end = i + 1;
    }
}

int TileNavigator::rowOf(int tile) const {
    for (int r = 0; r < static_cast<int>(rows_.size()); ++r)
        if (tile < rows_[r].end)
            return r;
    return -1;
}

int TileNavigator::nearestIn(const Row& row, int centreX) const {
    int best = row.begin;
    for (int i = row.begin + 1; i < row.end; ++i)
        if (std::abs(tiles_[i].center().x() - centreX) <
            std::abs(tiles_[best].center().x() - centreX))
            best = i;
    return best;
}

int TileNavigator::Left(int from) const {
    if (!valid(from))
        return First();
    return from > rows_[rowOf(from)].begin ? from - 1 : from;
}

int TileNavigator::Right(int from) const {
    if (!valid(from))
        return First();
    return from + 1 < rows_[rowOf(from)].end ? from + 1 : from;
}

int TileNavigator::Up(int from) const {
    if (!valid(from))
        return First();
    const int row = rowOf(from);
    return row > 0 ? nearestIn(rows_[row - 1], tiles_[from].center().x()) : from;
}

int TileNavigator::Down(int from) const {
    if (!valid(from))
        return First();
    const int row = rowOf(from);
    return row + 1 < static_cast<int>(rows_.size())
               ? nearestIn(rows_[row + 1], tiles_[from].center().x())
               : from;
}

int TileNavigator::First() const {
    return tiles_.empty() ? -1 : 0;
}

int TileNavigator::Last() const {
    return static_cast<int>(tiles_.size()) - 1;
}

int TileNavigator::PageUp(int from, int pageHeight) const {
    if (!valid(from))
        return First();
    const int row = rowOf(from);
    if (row == 0)
        return First();
    const int limit = tiles_[from].top() - pageHeight;
    int target = row - 1;
    while (target > 0 && tiles_[rows_[target - 1].begin].top() >= limit)
        --target;
    return nearestIn(rows_[target], tiles_[from].center().x());
}

int TileNavigator::PageDown(int from, int pageHeight) const {
    if (!valid(from))
        return First();
    const int row = rowOf(from);
    const int lastRow = static_cast<int>(rows_.size()) - 1;
    if (row == lastRow)
        return Last();
    const int limit = tiles_[from].top() + pageHeight;
    int target = row + 1;
    while (target < lastRow && tiles_[rows_[target + 1].begin].top() <= limit)
        ++target;
    return nearestIn(rows_[target], tiles_[from].center().x());
}
