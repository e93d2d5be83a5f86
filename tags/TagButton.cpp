#include "tags/TagButton.h"

#include "fonts/Panel.h"

#include <QDragEnterEvent>
#include <QMimeData>
#include <QMouseEvent>

std::function<QObject*(const QDropEvent*)> TagButton::DragSource = [](const QDropEvent* event) {
    return event->source();
};

TagButton::TagButton(int tag, QWidget* parent) : QToolButton(parent), Tag(tag) {
    setAcceptDrops(true);
}

void TagButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::RightButton)
        return QToolButton::mousePressEvent(event);
    event->accept();
    emit RightPressed(event->position().toPoint());
}

// Only tiles of this very window are taken: a drag from another program, or from another
// copy of this one, carries a tile number that means nothing here.
bool TagButton::IsTileDrag(const QDropEvent* event) {
    return event->mimeData() && event->mimeData()->hasFormat(TPanel::DragMimeType) &&
           qobject_cast<TPanel*>(DragSource(event));
}

void TagButton::dragEnterEvent(QDragEnterEvent* event) {
    if (IsTileDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TagButton::dragMoveEvent(QDragMoveEvent* event) {
    if (IsTileDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TagButton::dropEvent(QDropEvent* event) {
    if (!IsTileDrag(event))
        return event->ignore();
    event->acceptProposedAction();
    // This may rebuild the bar; the button is then only scheduled for deletion.
    emit TileDropped(DragSource(event));
}
