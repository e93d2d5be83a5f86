#include "tags/TagToolBar.h"

#include <QDragEnterEvent>
#include <QHBoxLayout>
#include <QTimer>
#include <QToolButton>
#include <algorithm>

namespace {

constexpr int ArrowWidth = 16;
// While a drag rests on an arrow the row moves this far every tick: about a short tag button
// a quarter of a second, slow enough to stop on the wanted one.
constexpr int DragScrollStep = 20;
constexpr int DragScrollMilliseconds = 50;

QToolButton* newArrow(Qt::ArrowType direction, const QString& name, QWidget* parent) {
    auto* arrow = new QToolButton(parent);
    arrow->setArrowType(direction);
    arrow->setAutoRaise(true);
    arrow->setAutoRepeat(true);
    arrow->setFocusPolicy(Qt::NoFocus);
    arrow->setAcceptDrops(true);
    arrow->setAccessibleName(name);
    arrow->setToolTip(name);
    arrow->hide();
    return arrow;
}

} // namespace

TagToolBar::TagToolBar(QWidget* parent)
    : QWidget(parent), viewport_(new QWidget(this)),
      left_(newArrow(Qt::LeftArrow, tr("前のタグ"), this)),
      right_(newArrow(Qt::RightArrow, tr("次のタグ"), this)), dragScroll_(new QTimer(this)) {
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    NewRow();
    connect(left_, &QToolButton::clicked, this, [this] { ScrollBy(-viewport_->width() / 2); });
    connect(right_, &QToolButton::clicked, this, [this] { ScrollBy(viewport_->width() / 2); });
    left_->installEventFilter(this);
    right_->installEventFilter(this);
    dragScroll_->setInterval(DragScrollMilliseconds);
    connect(dragScroll_, &QTimer::timeout, this,
            [this] { ScrollBy(dragDirection_ * DragScrollStep); });
}

QHBoxLayout* TagToolBar::NewRow() {
    row_ = new QWidget(viewport_);
    row_->hide();
    rowLayout_ = new QHBoxLayout(row_);
    rowLayout_->setContentsMargins(0, 0, 0, 0);
    rowLayout_->setSpacing(0);
    rowLayout_->setSizeConstraint(QLayout::SetFixedSize);
    row_->installEventFilter(this);
    return rowLayout_;
}

void TagToolBar::AdoptDesignedButtons() const {
    auto* designed = qobject_cast<QBoxLayout*>(QWidget::layout());
    if (!designed)
        return;
    auto* self = const_cast<TagToolBar*>(this);
    while (QLayoutItem* item = designed->takeAt(0)) {
        if (QWidget* button = item->widget()) {
            button->setParent(row_);
            rowLayout_->addWidget(button);
        }
        delete item;
    }
    delete designed;
    // What that layout asked of the bar goes with it.
    self->setMinimumSize(0, 0);
    row_->show();
    self->Arrange();
}

void TagToolBar::Clear() {
    AdoptDesignedButtons();
    QWidget* old = row_;
    old->removeEventFilter(this);
    // Hidden with its updates off: otherwise every button of a long row would have the area
    // it leaves worked out on its own (about a third of a rebuild with 10,000 tags).
    old->setUpdatesEnabled(false);
    old->hide();
    old->deleteLater(); // its buttons go with it
    NewRow();
}

void TagToolBar::AddButton(QWidget* button) {
    AdoptDesignedButtons();
    // The row is hidden while it fills: showing each button in a visible bar would lay the
    // whole row out again every time.
    button->setParent(row_);
    rowLayout_->addWidget(button);
    button->installEventFilter(this); // a button reached with Tab scrolls into view
}

void TagToolBar::EndRebuild() {
    row_->show();
    Arrange();
    updateGeometry();
}

QList<QWidget*> TagToolBar::Buttons() const {
    AdoptDesignedButtons();
    QList<QWidget*> buttons;
    buttons.reserve(rowLayout_->count());
    for (int i = 0; i < rowLayout_->count(); ++i)
        if (QWidget* widget = rowLayout_->itemAt(i)->widget())
            buttons.append(widget);
    return buttons;
}

QWidget* TagToolBar::ButtonAt(int position) const {
    AdoptDesignedButtons();
    if (position < 0 || position >= rowLayout_->count())
        return nullptr;
    return rowLayout_->itemAt(position)->widget();
}

int TagToolBar::IndexOf(const QWidget* button) const {
    AdoptDesignedButtons();
    return button ? rowLayout_->indexOf(button) : -1;
}

int TagToolBar::RowWidth() const {
    return rowLayout_->sizeHint().width();
}

QSize TagToolBar::sizeHint() const {
    AdoptDesignedButtons();
    return rowLayout_->sizeHint();
}

QSize TagToolBar::minimumSizeHint() const {
    AdoptDesignedButtons();
    return {2 * ArrowWidth, rowLayout_->sizeHint().height()};
}

void TagToolBar::ScrollBy(int pixels) {
    const int before = offset_;
    offset_ += pixels;
    Arrange();
    if (offset_ == before)
        dragScroll_->stop();
}

void TagToolBar::EnsureVisible(const QWidget* button) {
    if (!button || button->parentWidget() != row_)
        return;
    const int left = button->x() - offset_;
    const int right = left + button->width();
    if (left < 0)
        ScrollBy(left);
    else if (right > viewport_->width())
        ScrollBy(right - viewport_->width());
}

void TagToolBar::Arrange() {
    const QSize row = rowLayout_->sizeHint();
    const bool overflow = row.width() > width();
    left_->setVisible(overflow);
    right_->setVisible(overflow);
    QRect view = rect();
    if (overflow) {
        left_->setGeometry(0, 0, ArrowWidth, height());
        right_->setGeometry(width() - ArrowWidth, 0, ArrowWidth, height());
        view.adjust(ArrowWidth, 0, -ArrowWidth, 0);
    }
    viewport_->setGeometry(view);
    offset_ = std::clamp(offset_, 0, std::max(0, row.width() - view.width()));
    row_->setGeometry(-offset_, 0, row.width(), row.height());
    left_->setEnabled(offset_ > 0);
    right_->setEnabled(offset_ < row.width() - view.width());
}

void TagToolBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    Arrange();
}

bool TagToolBar::event(QEvent* event) {
    if (event->type() == QEvent::Polish)
        AdoptDesignedButtons();
    return QWidget::event(event);
}

bool TagToolBar::eventFilter(QObject* watched, QEvent* event) {
    if (watched == row_) {
        if (event->type() == QEvent::LayoutRequest || event->type() == QEvent::Resize) {
            // A caption changed or a button came or went: the bar wants another width.
            updateGeometry();
            Arrange();
        }
        return false;
    }
    if (event->type() == QEvent::FocusIn) {
        EnsureVisible(qobject_cast<QWidget*>(watched));
        return false;
    }
    if (watched != left_ && watched != right_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter: {
        // Taken only to learn when the drag leaves: nothing is ever dropped on an arrow.
        auto* enter = static_cast<QDragEnterEvent*>(event);
        enter->accept();
        dragDirection_ = watched == left_ ? -1 : 1;
        dragScroll_->start();
        return true;
    }
    case QEvent::DragMove:
        static_cast<QDragMoveEvent*>(event)->ignore();
        return true;
    case QEvent::DragLeave:
    case QEvent::Drop:
        dragScroll_->stop();
        event->ignore();
        return true;
    default:
        return false;
    }
}
