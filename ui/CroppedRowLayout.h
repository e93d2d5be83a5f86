#pragma once

#include <QHBoxLayout>

// A row that never makes its window wider: it asks for no width of its own, and when it gets
// less than its contents need, they keep their sizes and the row's right end is cut off, as
// the panels of a status bar are in a narrow window.
class CroppedRowLayout : public QHBoxLayout {
    Q_OBJECT
public:
    using QHBoxLayout::QHBoxLayout;

    QSize minimumSize() const override;
    void setGeometry(const QRect& rect) override;

    // Puts the widget's designed row into a cropped row, with its items, margins, spacing
    // and stretches.
    static CroppedRowLayout* Replace(QWidget* widget);
};
