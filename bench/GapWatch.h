#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <algorithm>

// The longest time between two ticks of a 10 ms timer on the GUI thread: how long the user
// would have waited for the window to react.
class GapWatch {
public:
    GapWatch() {
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] {
            const qint64 now = clock_.nsecsElapsed();
            maxGapMs = std::max(maxGapMs, (now - last_) / 1e6);
            last_ = now;
        });
    }
    void Start() {
        maxGapMs = 0;
        clock_.start();
        last_ = 0;
        timer_.start(10);
    }
    void Stop() {
        // The span from the last tick to the end counts as well.
        maxGapMs = std::max(maxGapMs, (clock_.nsecsElapsed() - last_) / 1e6);
        timer_.stop();
    }
    double maxGapMs = 0;

private:
    QTimer timer_;
    QElapsedTimer clock_;
    qint64 last_ = 0;
};
