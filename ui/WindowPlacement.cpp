#include "ui/WindowPlacement.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace {

// Long enough for a window manager on a loaded machine to frame the window; after that a
// change of the frame is the user's doing (a theme, a maximised window) and is left alone.
constexpr int SettleMilliseconds = 10000;

} // namespace

WindowPlacement::WindowPlacement(QWidget* window)
    : QObject(window), window_(window), deadline_(new QTimer(this)) {
    deadline_->setSingleShot(true);
    connect(deadline_, &QTimer::timeout, this, &WindowPlacement::StopSettling);
    window_->setMinimumSize(MinimumOuterSize);
}

void WindowPlacement::Apply(const QRect& outer) {
    target_ = QRect(outer.topLeft(), outer.size().expandedTo(MinimumOuterSize));
    decoration_ = Decoration();
    Fit();
    settling_ = true;
    window_->installEventFilter(this);
    deadline_->start(SettleMilliseconds);
}

QRect WindowPlacement::Outer() const {
    return window_->frameGeometry();
}

QSize WindowPlacement::Decoration() const {
    return window_->frameGeometry().size() - window_->geometry().size();
}

void WindowPlacement::Fit() {
    // Qt sizes the client area; the frame takes the rest of the outer bounds.
    window_->setMinimumSize((MinimumOuterSize - decoration_).expandedTo(QSize(1, 1)));
    window_->resize((target_.size() - decoration_).expandedTo(window_->minimumSize()));
    // Before the first show this is the frame's position; once the frame is known Qt turns
    // it into the client's position by itself.
    window_->move(target_.topLeft());
}

void WindowPlacement::StopSettling() {
    if (!settling_)
        return;
    settling_ = false;
    deadline_->stop();
    window_->removeEventFilter(this);
}

bool WindowPlacement::eventFilter(QObject* watched, QEvent* event) {
    if (watched != window_ || !settling_)
        return false;
    switch (event->type()) {
    case QEvent::WindowStateChange:
        StopSettling();
        break;
    case QEvent::Move:
    case QEvent::Resize: {
        const QSize decoration = Decoration();
        if (decoration != decoration_) {
            // The window manager has framed the window: the frame now takes its share.
            decoration_ = decoration;
            Fit();
        } else if (!decoration_.isNull() && Outer() == target_) {
            StopSettling();
        }
        break;
    }
    default:
        break;
    }
    return false;
}
