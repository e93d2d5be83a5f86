#pragma once

#include <QList>
#include <QWidget>

class QHBoxLayout;
class QTimer;
class QToolButton;

// The tag bar: a row of buttons rebuilt from the tag list after every change. The bar asks for
// the row's width but can be made as narrow as its two arrows: a row wider than the bar is
// scrolled with the arrows, or by holding a dragged tile over one of them, so that every tag
// stays within reach of a click and of a drop, however many there are.
class TagToolBar : public QWidget {
    Q_OBJECT
public:
    explicit TagToolBar(QWidget* parent = nullptr);

    // Starts a new, empty row. The old buttons are deleted once control returns to the event
    // loop, since the bar is rebuilt from inside the handlers of its own buttons (a drop, a
    // menu).
    void Clear();
    // Puts a button (or separator) at the right end of the new row; it shows after EndRebuild.
    void AddButton(QWidget* button);
    // Shows the row built since Clear, at the scroll position the old one had.
    void EndRebuild();
    // The buttons, left to right.
    QList<QWidget*> Buttons() const;
    QWidget* ButtonAt(int position) const;
    int IndexOf(const QWidget* button) const;

    // How far the row is scrolled to the left, in pixels.
    int Offset() const { return offset_; }
    void ScrollBy(int pixels);
    // Scrolls just enough to show the whole button.
    void EnsureVisible(const QWidget* button);
    QToolButton* ScrollLeftButton() const { return left_; }
    QToolButton* ScrollRightButton() const { return right_; }

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // The designer's sample buttons come in a layout of the bar's own; they move to the row.
    void AdoptDesignedButtons() const;
    QHBoxLayout* NewRow();
    void Arrange();
    int RowWidth() const;

    QWidget* viewport_;
    QWidget* row_ = nullptr;
    QHBoxLayout* rowLayout_ = nullptr;
    QToolButton* left_;
    QToolButton* right_;
    QTimer* dragScroll_;
    int dragDirection_ = 0;
    int offset_ = 0;
};
