#pragma once

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPainterPath;

namespace platform {

class ImageList;

// A balloon that points at a spot on the screen: an image, a bold title and a description,
// all plain text. It takes no focus, hides when clicked, and hides by itself after HideAfter
// milliseconds (0 or less: it stays until clicked).
class BalloonHint : public QWidget {
    Q_OBJECT
public:
    explicit BalloonHint(QWidget* parent = nullptr);

    QString Title;
    QString Description;
    QPointer<const ImageList> Images;
    int ImageIndex = -1;
    int HideAfter = -1;

    // Shows the balloon with its pointer's tip at the screen point: above the point when
    // there is room on that screen, below it otherwise.
    void ShowHint(QPoint globalPos);
    // Where the pointer's tip is on the screen, as the balloon stands now.
    QPoint PointerTip() const;
    bool PointsDown() const { return pointsDown_; }

    static constexpr int PointerHeight = 14;
    static constexpr int PointerInset = 28; // from the balloon's left edge to the tip
    static constexpr int MaxTextWidth = 400;

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    QPainterPath outline() const;
    void applyContents();
    void pointDown(bool down);
    void updateMask();

    QLabel* image_;
    QLabel* title_;
    QLabel* description_;
    QTimer hideTimer_;
    int tipX_ = PointerInset;
    bool pointsDown_ = true;
};

} // namespace platform
