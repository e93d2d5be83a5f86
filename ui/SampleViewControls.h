#pragma once

#include <QIcon>
#include <QObject>
#include <QPointer>

class CoverageFilter;
class NoMatchNotice;
class QAction;
class TileOrder;
class FavouriteMarks;
class PreviewSize;
class QKeyEvent;
class QLineEdit;
class QToolButton;
class TAppCore;
class TFontPool;
class TGlyphorama;
class TPanel;
class TileDetailsTrigger;
class TileCommands;
class TileKeyboard;
class TopBarRows;
class TileSelection;
class ViewFilterChain;
class ViewSearch;
namespace Ui {
class TGlyphorama;
}

// Wires what the sample view offers beyond the window's own commands to the window: the
// filter chain that narrows the view (the name search in the top bar, Ctrl+F, and the coverage
// filter button) and the count of fonts shown in status panel 0; the preview size (Ctrl+Plus,
// Ctrl+Minus, Ctrl+0, Ctrl+wheel); the keyboard's commands on the focused tile, the selection
// of tiles and the commands of the tile menu, for the selection or one tile; the hearts of
// favourite fonts; the details window of a tile; and the names screen readers give the
// window's icon-only buttons. Made once the catalogue exists. The extensions it creates get
// what they need through their constructors and signals, and are kept here, not in the window
// or the catalogue.
class SampleViewControls : public QObject {
    Q_OBJECT
public:
    explicit SampleViewControls(TGlyphorama& window);

    QLineEdit* SearchField() const { return searchField_; }
    TopBarRows* TopBar() const { return topBar_; }
    ViewFilterChain* Filters() const { return filters_; }
    ViewSearch* Search() const { return search_; }
    CoverageFilter* Coverage() const { return coverage_; }
    TileOrder* Order() const { return order_; }
    NoMatchNotice* NoMatch() const { return noMatch_; }
    PreviewSize* Size() const { return size_; }
    TileKeyboard* Keyboard() const { return keyboard_; }
    FavouriteMarks* Favourites() const { return favourites_; }
    TileSelection* Selection() const { return selection_; }
    TileCommands* Commands() const { return commands_; }

    // A key the window previews before the focused widget: Esc in a search field holding
    // text clears it, and else Esc with tiles selected clears the selection, instead of
    // closing the window; Down or Enter in the search field goes on to the first tile shown.
    // True when the key was taken.
    bool TakeKey(const QKeyEvent& event);
    // A turn of the wheel with Ctrl held: one size step per notch.
    void WheelZoom(int angleDelta);
    // Steps the preview size; refused while tiles are built, as the other view changes are.
    void StepSize(int direction);
    void ResetSize();
    // The buttons that change the view are disabled while tiles are built, with the window's.
    void EnableViewButtons(bool enabled);

    void LoadSettings(const TAppCore& core);
    void SaveSettings(const TAppCore& core) const;

private:
    void createFilters();
    void createSearchField();
    void createCoverageButton();
    void createOrderItem();
    void orderToggled(bool fewestMissing);
    // The notice in the view when the name search finds nothing in it, with what the other
    // views of the filter buttons hold.
    void showNoMatch(int shownCount);
    void createKeyboard();
    void createCommands();
    void createShortcuts();
    void nameButtons();
    void connectCatalogue();
    // Status panel 0: the fonts the view shows, less those its filters hide.
    void showCount(int count);
    // Status panel 3: the preview size in points.
    void showSize();
    void coverageToggled(bool checked);
    // The button's look and hint: greyed, and saying why, while pressed without a sample.
    void showCoverageState(bool justPressed);
    void showDetails(const QString& familyName);
    bool viewCanChange() const;

    TGlyphorama& window_;
    Ui::TGlyphorama& form_;
    // Released by the window when it closes, before the controls go.
    const QPointer<TFontPool> pool_;
    // The tag the view shows, empty for a font type: a change of the filters rebuilds it.
    QString viewTag_;
    ViewFilterChain* filters_ = nullptr;
    ViewSearch* search_ = nullptr;
    CoverageFilter* coverage_ = nullptr;
    QLineEdit* searchField_ = nullptr;
    TopBarRows* topBar_ = nullptr;
    QPointer<QToolButton> coverageButton_;
    TileOrder* order_ = nullptr;
    QPointer<QAction> orderItem_;
    NoMatchNotice* noMatch_ = nullptr;
    QIcon coverageIcon_;
    PreviewSize* size_ = nullptr;
    TileKeyboard* keyboard_ = nullptr;
    TileSelection* selection_ = nullptr;
    TileCommands* commands_ = nullptr;
    FavouriteMarks* favourites_ = nullptr;
    TileDetailsTrigger* details_ = nullptr;
    int wheelRest_ = 0; // wheel turn not yet worth a step
};
