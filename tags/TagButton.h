#pragma once

#include <QToolButton>
#include <functional>

class QDropEvent;

// A button of the tag bar that takes font tiles dropped on it. It only reports what happens;
// the catalogue decides what it means.
class TagButton : public QToolButton {
    Q_OBJECT
    Q_PROPERTY(int Tag MEMBER Tag)
public:
    TagButton(int tag, QWidget* parent);

    // Index of the button's entry in the tag list.
    int Tag;

    // Finds the widget a drag came from. A drag carries its source only while the desktop
    // runs it, so tests that send drag events of their own put theirs here.
    static std::function<QObject*(const QDropEvent*)> DragSource;

    // A tile dragged over the button would be taken: the button shows it, filled with the
    // selection's colour.
    bool DropHighlighted() const { return dropHighlighted_; }

signals:
    // A right press, or the menu key or Shift+F10 while the button has the focus (pos is
    // then the button's centre): the button's menu is asked for.
    void RightPressed(QPoint pos);
    // F2 while the button has the focus.
    void RenameRequested();
    // A font tile or its name label was dropped on the button.
    void TileDropped(QObject* source);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void dragLeaveEvent(QDragLeaveEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static bool IsTileDrag(const QDropEvent* event);
    void highlightDrop(bool on);

    bool dropHighlighted_ = false;
};
