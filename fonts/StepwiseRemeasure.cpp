#include "fonts/StepwiseRemeasure.h"

#include "fonts/FirstPaintBudget.h"
#include "fonts/FontUnit.h"
#include "fonts/Panel.h"

#include <algorithm>

StepwiseRemeasure::StepwiseRemeasure(std::function<void(TFontUnit&)> sample,
                                     std::function<void()> relayout, QObject* parent)
    : QObject(parent), sample_(std::move(sample)), relayout_(std::move(relayout)) {
    // Zero: the next step runs as soon as the events that came meanwhile (input, paints)
    // have been handled.
    timer_.setInterval(0);
    connect(&timer_, &QTimer::timeout, this, [this] { step(laterBudget_); });
}

StepwiseRemeasure::~StepwiseRemeasure() {
    holdBudget(false);
}

void StepwiseRemeasure::holdBudget(bool hold) {
    if (hold == holdingBudget_)
        return;
    holdingBudget_ = hold;
    if (hold)
        FirstPaintBudget::Hold();
    else
        FirstPaintBudget::Release();
}

void StepwiseRemeasure::SetBudgets(int firstMs, int laterMs) {
    firstBudget_ = std::max(0, firstMs);
    laterBudget_ = std::max(0, laterMs);
}

void StepwiseRemeasure::Start(const std::vector<TFontUnit*>& units, const QRect& view) {
    Cancel();
    queue_ = units;
    const auto rest =
        std::stable_partition(queue_.begin(), queue_.end(), [&view](const TFontUnit* unit) {
            return unit->Tile && unit->Tile->geometry().intersects(view);
        });
    inView_ = static_cast<size_t>(rest - queue_.begin());
    holdBudget(true);
    step(firstBudget_);
}

void StepwiseRemeasure::Cancel() {
    timer_.stop();
    queue_.clear();
    next_ = 0;
    inView_ = 0;
    holdBudget(false);
}

void StepwiseRemeasure::step(int budgetMs) {
    QElapsedTimer clock;
    clock.start();
    const bool first = next_ == 0;
    while (Pending()) {
        // A tile removed meanwhile has left its unit without one; the unit itself stays.
        TFontUnit* unit = queue_[next_++];
        if (unit->Tile)
            sample_(*unit);
        // The first step ends with the tiles in view: the screen shows them at once.
        if ((first && next_ >= inView_) || budgetMs == 0 || clock.hasExpired(budgetMs))
            break;
    }

    if (!Pending()) {
        timer_.stop();
        queue_.clear();
        next_ = 0;
        relayout_();
        sinceRelayout_.invalidate();
        holdBudget(false);
        emit Finished();
        return;
    }
    if (first || sinceRelayout_.hasExpired(RelayoutInterval)) {
        relayout_();
        sinceRelayout_.start();
    }
    timer_.start();
}
