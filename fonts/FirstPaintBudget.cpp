#include "fonts/FirstPaintBudget.h"

#include <QElapsedTimer>
#include <QTimer>

namespace {

struct Budget {
    bool active = false;
    qint64 budgetNs = FirstPaintBudget::FrameBudgetNs;
    bool frameOpen = false;
    QElapsedTimer clock;
};

Budget& budget() {
    static Budget state;
    return state;
}

} // namespace

void FirstPaintBudget::SetActive(bool active, qint64 budgetNs) {
    budget().active = active;
    budget().budgetNs = budgetNs;
}

bool FirstPaintBudget::Active() {
    return budget().active;
}

bool FirstPaintBudget::Take() {
    Budget& state = budget();
    if (!state.active)
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
