#include "sampleview/TileUnits.h"

#include "fonts/Panel.h"

#include <algorithm>

TFontUnit* UnitOfTile(const std::vector<TFontUnit*>& view, const TPanel* tile) {
    if (!tile)
        return nullptr;
    // A tile's number is its unit's place in the view when it was built; only removals
    // have moved units forward since, so look there first and then before it.
    const int tag = tile->Tag;
    if (tag >= 0 && tag < static_cast<int>(view.size()) && view[tag]->Tile == tile)
        return view[tag];
    for (int i = std::min(tag, static_cast<int>(view.size()) - 1); i >= 0; --i)
        if (view[i]->Tile == tile)
            return view[i];
    for (TFontUnit* unit : view)
        if (unit->Tile == tile)
            return unit;
    return nullptr;
}
