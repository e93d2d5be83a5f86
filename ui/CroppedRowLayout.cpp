#include "ui/CroppedRowLayout.h"

#include <QWidget>
#include <algorithm>

QSize CroppedRowLayout::minimumSize() const {
    return {0, QHBoxLayout::minimumSize().height()};
}

void CroppedRowLayout::setGeometry(const QRect& rect) {
    // Laid out at no less than the contents' minimum; the widget clips what lies beyond it.
    const int width = std::max(rect.width(), QHBoxLayout::minimumSize().width());
    QHBoxLayout::setGeometry(QRect(rect.topLeft(), QSize(width, rect.height())));
}

CroppedRowLayout* CroppedRowLayout::Replace(QWidget* widget) {
    auto* designed = qobject_cast<QBoxLayout*>(widget->layout());
    auto* row = new CroppedRowLayout;
    if (designed) {
        row->setContentsMargins(designed->contentsMargins());
        row->setSpacing(designed->spacing());
        while (designed->count() > 0) {
            const int stretch = designed->stretch(0);
            row->addItem(designed->takeAt(0));
            row->setStretch(row->count() - 1, stretch);
        }
        delete designed;
    }
    widget->setLayout(row);
    return row;
}
