#include "tags/TagButton.h"

#include "fonts/Panel.h"

#include <QContextMenuEvent>
#include <QDragEnterEvent>
#include <QKeyEvent>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>

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

void TagButton::keyPressEvent(QKeyEvent* event) {
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if ((event->key() == Qt::Key_Menu && modifiers == Qt::NoModifier) ||
        (event->key() == Qt::Key_F10 && modifiers == Qt::ShiftModifier)) {
        event->accept();
        emit RightPressed(rect().center());
        return;
    }
    if (event->key() == Qt::Key_F2 && modifiers == Qt::NoModifier) {
        event->accept();
        emit RenameRequested();
        return;
    }
    QToolButton::keyPressEvent(event);
}

void TagButton::contextMenuEvent(QContextMenuEvent* event) {
    // The menu key, where the desktop sends it as a request for a menu rather than a key.
    if (event->reason() != QContextMenuEvent::Keyboard)
        return QToolButton::contextMenuEvent(event);
    event->accept();
    emit RightPressed(rect().center());
}

void TagButton::highlightDrop(bool on) {
    if (on == dropHighlighted_)
        return;
    dropHighlighted_ = on;
    update();
}

void TagButton::paintEvent(QPaintEvent* event) {
    QToolButton::paintEvent(event);
    if (!dropHighlighted_)
        return;
    // Over the button as the style drew it, raised or not, with its caption showing through.
    QPainter painter(this);
    QColor fill = TPanel::SelectionColor();
    fill.setAlpha(150);
    painter.fillRect(rect(), fill);
    painter.setPen(QPen(TPanel::SelectionColor(true), 2));
    painter.drawRect(QRectF(rect()).adjusted(1, 1, -1, -1));
}

// Only tiles of this very window are taken: a drag from another program, or from another
// copy of this one, carries a tile number that means nothing here.
bool TagButton::IsTileDrag(const QDropEvent* event) {
    return event->mimeData() && event->mimeData()->hasFormat(TPanel::DragMimeType) &&
           qobject_cast<TPanel*>(DragSource(event));
}

void TagButton::dragEnterEvent(QDragEnterEvent* event) {
    if (IsTileDrag(event)) {
        event->acceptProposedAction();
        highlightDrop(true);
    } else {
        event->ignore();
    }
}

void TagButton::dragLeaveEvent(QDragLeaveEvent* event) {
    highlightDrop(false);
    QToolButton::dragLeaveEvent(event);
}

void TagButton::dragMoveEvent(QDragMoveEvent* event) {
    if (IsTileDrag(event))
        event->acceptProposedAction();
    else
        event->ignore();
}

void TagButton::dropEvent(QDropEvent* event) {
    if (!IsTileDrag(event)) {
        highlightDrop(false);
        return event->ignore();
    }
    event->acceptProposedAction();
    highlightDrop(false);
    // This may rebuild the bar; the button is then only scheduled for deletion.
    emit TileDropped(DragSource(event));
}
