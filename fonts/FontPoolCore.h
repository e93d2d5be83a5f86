#pragma once

#include "fonts/FontUnit.h"
#include "platform/Thread.h"

#include <atomic>
#include <vector>

class QProgressBar;

// Builds the tiles of a rebuild: for each unit it steps the progress bar and has the GUI
// thread make the unit's tile, in order, as many tiles per synchronised step as fit in
// BatchNanoseconds (at least one). A cancel stops the run after the current tile.
class TFontPoolCore : public platform::Thread {
    Q_OBJECT
public:
    TFontPoolCore(bool createSuspended, QProgressBar* progressBar,
                  const TGlyphoramaOptions& options);
    ~TFontPoolCore() override;

    int Index = 0;
    static constexpr qint64 BatchNanoseconds = 2'000'000;
    std::vector<TFontUnit*> Units;
    QProgressBar* const ProgressBar;
    const TGlyphoramaOptions Options;
    // Cleared from the GUI thread to stop after the current tile.
    std::atomic<bool> Running{false};
    // GUI thread: stops the run after the current tile, even when it has not begun yet.
    void Cancel();

protected:
    void Execute() override;

private:
    void BuildTile();
    void StepProgress();

    // Set by Cancel, so that a cancel that comes before the run begins is not lost.
    std::atomic<bool> cancelled_{false};
};
