#pragma once

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <vector>

class FlowLayoutPanel;
class QScrollArea;
class QWidget;
class TPanel;
class TileSelection;

// The keyboard's way through the tiles of the flow panel. Tab into the flow gives the focus
// to the tile that had it last (else the first one); the arrow keys go to the neighbouring
// tile on screen, Home and End to the first and last, Page Up and Page Down a screen's height;
// the view scrolls to keep the focused tile in sight, and that tile wears a frame. The
// commands on a tile are reported to whoever carries them out.
class TileKeyboard : public QObject {
    Q_OBJECT
public:
    TileKeyboard(FlowLayoutPanel* flowPanel, QScrollArea* scrollBox, QObject* parent = nullptr);

    // The tile that has or last had the focus, if it is still there.
    TPanel* Current() const { return current_; }
    // Gives the tile the focus and scrolls it into view; a range selected with Shift starts
    // there.
    void Focus(TPanel* tile);
    // The tiles shown, in flow order.
    std::vector<TPanel*> ShownTiles() const;
    // The keys that select: Shift with a move selects from the anchor to where it goes (a
    // plain move takes the anchor along), Ctrl+A selects every shown tile, Ctrl+Space toggles
    // the focused one.
    void SetSelection(TileSelection* selection) { selection_ = selection; }

signals:
    void MenuRequested(TPanel* tile, QPoint globalPos); // Menu key, Shift+F10
    void CopyRequested(TPanel* tile);                   // Ctrl+C
    void DeleteRequested(TPanel* tile);                 // Delete
    void FavouriteRequested(TPanel* tile);              // Ctrl+D

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* old, QWidget* now);
    bool isTile(const QWidget* widget) const;
    bool handleKey(int key, Qt::KeyboardModifiers modifiers);
    void currentDestroyed();

    FlowLayoutPanel* const flowPanel_;
    QScrollArea* const scrollBox_;
    QPointer<TPanel> current_;
    int currentIndex_ = -1; // the current tile's place in the flow when it took the focus
    bool hadFocus_ = false; // the current tile held the focus when it was destroyed
    QPointer<QWidget> mark_;
    TileSelection* selection_ = nullptr;
};
