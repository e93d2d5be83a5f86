#include "tags/TagToolBar.h"

#include <QHBoxLayout>

TagToolBar::TagToolBar(QWidget* parent) : QWidget(parent) {}

QHBoxLayout* TagToolBar::layout() {
    auto* box = qobject_cast<QHBoxLayout*>(QWidget::layout());
    if (!box) {
        delete QWidget::layout();
        box = new QHBoxLayout(this);
        box->setContentsMargins(0, 0, 0, 0);
        box->setSpacing(0);
    }
    return box;
}

void TagToolBar::Clear() {
    for (QWidget* button : Buttons()) {
        layout()->removeWidget(button);
        button->hide();
        button->deleteLater(); // still our child: freed with the bar if no loop runs again
    }
}

void TagToolBar::AddButton(QWidget* button) {
    layout()->addWidget(button);
    button->show();
}

QList<QWidget*> TagToolBar::Buttons() const {
    QList<QWidget*> buttons;
    if (const QLayout* box = QWidget::layout())
        for (int i = 0; i < box->count(); ++i)
            if (QWidget* widget = box->itemAt(i)->widget())
                buttons.append(widget);
    return buttons;
}

QWidget* TagToolBar::ButtonAt(int position) const {
    const QList<QWidget*> buttons = Buttons();
    return position >= 0 && position < buttons.size() ? buttons[position] : nullptr;
}
