#pragma once

#include <QObject>

class FavouriteMarks;
class PreviewSize;
class QKeyEvent;
class QLineEdit;
class TAppCore;
class TGlyphorama;
class TPanel;
class TileKeyboard;
class ViewSearch;

// What the main window offers for finding and handling fonts without the mouse: the name
// search in the top bar (Ctrl+F), the preview size (Ctrl+Plus, Ctrl+Minus, Ctrl+0, Ctrl+wheel),
// the keyboard's commands on the focused tile, the hearts of favourite fonts and the names
// screen readers give the window's icon-only buttons.
class SampleViewControls : public QObject {
    Q_OBJECT
public:
    explicit SampleViewControls(TGlyphorama& window);

    QLineEdit* SearchField() const { return searchField_; }
    ViewSearch* Search() const { return search_; }
    PreviewSize* Size() const { return size_; }
    TileKeyboard* Keyboard() const { return keyboard_; }
    FavouriteMarks* Favourites() const { return favourites_; }

    // A key the window previews before the focused widget: Esc in a search field holding
    // text clears it, instead of closing the window. True when the key was taken.
    bool TakeKey(const QKeyEvent& event);
    // A turn of the wheel with Ctrl held: one size step per notch.
    void WheelZoom(int angleDelta);
    // Steps the preview size; refused while tiles are built, as the other view changes are.
    void StepSize(int direction);
    void ResetSize();

    void LoadSettings(const TAppCore& core);
    void SaveSettings(const TAppCore& core) const;

private:
    void createSearchField();
    void createShortcuts();
    void nameButtons();
    void connectCatalogue();
    void showCount(int count);
    bool viewCanChange() const;
    // The tile's font into the tag, as a drop of the tile on the tag's button does.
    void tagTile(const QString& tagName, TPanel* tile);

    TGlyphorama& window_;
    QLineEdit* searchField_ = nullptr;
    ViewSearch* search_ = nullptr;
    PreviewSize* size_ = nullptr;
    TileKeyboard* keyboard_ = nullptr;
    FavouriteMarks* favourites_ = nullptr;
    int wheelRest_ = 0; // wheel turn not yet worth a step
};
