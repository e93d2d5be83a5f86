#include "fonts/FirstPaintBudget.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

struct Budget {
    int holders = 0;
    qint64 budgetNs = FirstPaintBudget::FrameBudgetNs;
    bool frameOpen = false;
    QElapsedTimer clock;
};

Budget& budget() {
    static Budget state;
    return state;
}

} // namespace

void FirstPaintBudget::Hold(qint64 budgetNs) {
    ++budget().holders;
    budget().budgetNs = budgetNs;
}

void FirstPaintBudget::Release() {
    if (budget().holders > 0)
        --budget().holders;
}

bool FirstPaintBudget::Active() {
    return budget().holders > 0;
}

bool FirstPaintBudget::Take() {
    Budget& state = budget();
    if (state.holders == 0)
        return true;
    if (!state.frameOpen) {
        // A frame is painted within one event: the next turn of the event loop begins the
        // next frame's budget.
        state.frameOpen = true;
        state.clock.start();
        QTimer::singleShot(0, [] { budget().frameOpen = false; });
        return true;
    }
    return state.clock.nsecsElapsed() < state.budgetNs;
}
