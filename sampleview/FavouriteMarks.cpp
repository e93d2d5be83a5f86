#include "sampleview/FavouriteMarks.h"

#include "fonts/FlowLayoutPanel.h"
#include "fonts/Panel.h"

#include <QEvent>
#include <QPainter>
#include <QSvgRenderer>
#include <algorithm>
#include <utility>

namespace {

constexpr int HeartSize = 14;
constexpr int HeartInset = 3;

// The favourites' own heart, as on their tag button: pink with a dark rim, seen on white and
// on black.
class FavouriteHeart : public QWidget {
public:
    explicit FavouriteHeart(QWidget* tile) : QWidget(tile) {
        setObjectName(QString::fromLatin1(FavouriteMarks::MarkName));
        setAccessibleName(QStringLiteral("お気に入り"));
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setFocusPolicy(Qt::NoFocus);
        resize(HeartSize, HeartSize);
        place();
        tile->installEventFilter(this);
        show();
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == parent() && event->type() == QEvent::Resize)
            place();
        return false;
    }
    void paintEvent(QPaintEvent*) override {
        QSvgRenderer heart(QStringLiteral(":/forms/icons/16/2-heart.svg"));
        QPainter painter(this);
        heart.render(&painter, QRectF(rect()));
    }

private:
    void place() { move(parentWidget()->width() - HeartSize - HeartInset, HeartInset); }
};

} // namespace

FavouriteMarks::FavouriteMarks(FlowLayoutPanel* flowPanel, ViewUnits units,
                               std::function<QStringList()> favouriteNames, QObject* parent)
    : QObject(parent), units_(std::move(units)), favouriteNames_(std::move(favouriteNames)) {
    connect(flowPanel, &FlowLayoutPanel::TileAdded, this, &FavouriteMarks::tileAdded);
}

bool FavouriteMarks::IsMarked(const QWidget* tile) {
    return tile && tile->findChild<QWidget*>(QString::fromLatin1(MarkName),
                                             Qt::FindDirectChildrenOnly) != nullptr;
}

bool FavouriteMarks::isFavourite(const TFontUnit& unit) const {
    return std::any_of(names_.cbegin(), names_.cend(),
                       [&unit](const QString& name) { return unit.IsNamed(name); });
}

void FavouriteMarks::mark(TPanel* tile, bool favourite) {
    QWidget* heart =
        tile->findChild<QWidget*>(QString::fromLatin1(MarkName), Qt::FindDirectChildrenOnly);
    if (favourite && !heart)
        new FavouriteHeart(tile);
    else if (!favourite && heart)
        delete heart;
}

void FavouriteMarks::Reload() {
    names_ = favouriteNames_();
    const std::vector<TFontUnit*>* view = units_();
    if (!view)
        return;
    for (const TFontUnit* unit : *view)
        if (unit->Tile)
            mark(unit->Tile, isFavourite(*unit));
}

void FavouriteMarks::tileAdded(TPanel* tile) {
    if (names_.isEmpty())
        return;
    const std::vector<TFontUnit*>* view = units_();
    if (const TFontUnit* unit = view ? UnitOfTile(*view, tile) : nullptr)
        mark(tile, isFavourite(*unit));
}
