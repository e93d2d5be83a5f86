#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QRect>
#include <QTimer>
#include <functional>
#include <vector>

struct TFontUnit;

// Measures the shown tiles again after the sample text or size changed. The tiles in view go
// first, in one step, so the screen shows the new sample at once; the rest follow a few
// milliseconds at a time from the event loop, so that thousands of faces being opened never
// freeze the window. A new start replaces whatever work is still pending.
class StepwiseRemeasure : public QObject {
    Q_OBJECT
public:
    // sample: re-measures one unit's tile; relayout: lays the flow out again after widths
    // changed.
    StepwiseRemeasure(std::function<void(TFontUnit&)> sample, std::function<void()> relayout,
                      QObject* parent = nullptr);

    ~StepwiseRemeasure() override;

    // Re-measures the units' tiles; those whose tiles meet view (flow coordinates) first.
    void Start(const std::vector<TFontUnit*>& units, const QRect& view);
    // Drops the pending work, e.g. because its tiles are about to go.
    void Cancel();
    bool Pending() const { return next_ < queue_.size(); }

    // How long one step may run: the first (the tiles in view) and each of the later ones.
    // A step always does at least one tile; 0 makes each step do just one.
    void SetBudgets(int firstMs, int laterMs);

signals:
    // All the tiles have their new samples and the flow is laid out for them.
    void Finished();

private:
    void step(int budgetMs);

    std::function<void(TFontUnit&)> sample_;
    std::function<void()> relayout_;
    std::vector<TFontUnit*> queue_;
    size_t next_ = 0;
    size_t inView_ = 0; // the first ones of queue_
    int firstBudget_ = 30;
    int laterBudget_ = 8;
    QTimer timer_;
    // Holds the first-paint budget while there is work: the new samples of the tiles in view
    // are painted over a few frames instead of in one long one.
    void holdBudget(bool hold);
    bool holdingBudget_ = false;
    // The flow is laid out again now and then while the steps run, not after each one.
    QElapsedTimer sinceRelayout_;
    static constexpr int RelayoutInterval = 100; // ms
};
