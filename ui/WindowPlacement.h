#pragma once

#include <QObject>
#include <QRect>
#include <QSize>

class QWidget;
class QTimer;

// Puts a top-level window at outer bounds, frame included, which is how the settings keep
// them. A window manager takes a requested position as the frame's only while the window is
// not on screen yet, and it tells the size of its frame only once it has framed the window; so
// the bounds are applied before the first show, and the client size is set again as soon as
// the frame is known. Without a window manager (or offscreen) there is no frame and the first
// application is already exact.
class WindowPlacement : public QObject {
    Q_OBJECT
public:
    // The smallest outer size the window can take.
    static constexpr QSize MinimumOuterSize{200, 150};

    explicit WindowPlacement(QWidget* window);

    // Takes the outer bounds; a size below the minimum is raised to it.
    void Apply(const QRect& outer);
    // The window's outer bounds now.
    QRect Outer() const;
    // Whether the bounds still wait for the window manager's frame.
    bool Settling() const { return settling_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QSize Decoration() const;
    void Fit();
    void StopSettling();

    QWidget* const window_;
    QRect target_;
    QSize decoration_;
    bool settling_ = false;
    QTimer* deadline_;
};
