#pragma once

#include <QList>
#include <QWidget>

class QHBoxLayout;

// The tag bar: a row of buttons rebuilt from the tag list after every change.
class TagToolBar : public QWidget {
    Q_OBJECT
public:
    explicit TagToolBar(QWidget* parent = nullptr);

    // Removes every button. They are deleted once control returns to the event loop, since
    // the bar is rebuilt from inside the handlers of its own buttons (a drop, a menu).
    void Clear();
    // Puts a button (or separator) at the right end of the bar.
    void AddButton(QWidget* button);
    // The buttons, left to right.
    QList<QWidget*> Buttons() const;
    QWidget* ButtonAt(int position) const;

private:
    QHBoxLayout* layout();
};
