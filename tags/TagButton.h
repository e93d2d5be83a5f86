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

signals:
    void RightPressed(QPoint pos);
    // A font tile or its name label was dropped on the button.
    void TileDropped(QObject* source);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    static bool IsTileDrag(const QDropEvent* event);
};
