#pragma once

#include <QObject>

class QBoxLayout;
class QFrame;
class QLineEdit;
class QWidget;

// The top bar in one row where the window is wide enough for both text fields at a useful
// width, else in two: the buttons, the label and the sample text keep the first row, and the
// search field and the progress bar go to a second row under it, in the same order. The sample
// text then has room for about twenty characters in a window of 500 pixels.
class TopBarRows : public QObject {
    Q_OBJECT
public:
    // The bar's row holds the sample text, then the search field, then the progress panel.
    TopBarRows(QFrame* bar, QBoxLayout* row, QLineEdit* sampleText, QLineEdit* search,
               QWidget* progressPanel, QBoxLayout* windowLayout);

    bool TwoRows() const { return twoRows_; }
    // The narrowest bar that holds everything in one row.
    int OneRowWidth() const;
    QFrame* SecondRow() const { return secondRow_; }

    // The sample text field's least useful width: a short mixed text, shown whole.
    static int SampleTextWidth(const QLineEdit& field);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void arrange(int width);

    QFrame* bar_;
    QBoxLayout* row_;
    QLineEdit* sampleText_;
    QLineEdit* search_;
    QWidget* progressPanel_;
    QFrame* secondRow_;
    QBoxLayout* secondRowLayout_;
    bool twoRows_ = false;
};
