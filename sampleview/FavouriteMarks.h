#pragma once

#include "sampleview/TileUnits.h"

#include <QObject>
#include <QStringList>

class FlowLayoutPanel;

// Marks the tiles of favourite fonts with a small heart in the top right corner, in both
// drawing modes. The heart lies over the tile, apart from the tile's own painting.
class FavouriteMarks : public QObject {
    Q_OBJECT
public:
    // favouriteNames reads the favourites tag: the family names it lists, in any language.
    FavouriteMarks(FlowLayoutPanel* flowPanel, ViewUnits units,
                   std::function<QStringList()> favouriteNames, QObject* parent = nullptr);

    // Reads the favourites again and marks or unmarks every tile of the view.
    void Reload();
    static bool IsMarked(const QWidget* tile);
    // Object name of the heart, for whoever looks for it.
    static constexpr const char* MarkName = "FavouriteMark";

private:
    void tileAdded(TPanel* tile);
    void mark(TPanel* tile, bool favourite);
    bool isFavourite(const TFontUnit& unit) const;

    const ViewUnits units_;
    const std::function<QStringList()> favouriteNames_;
    QStringList names_;
};
