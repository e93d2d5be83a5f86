// The tile builder thread.
#include "fonts/FontPoolCore.h"

#include "fonts/FontPool.h"
#include "ui/Glyphorama.h"

#include <QProgressBar>

TFontPoolCore::TFontPoolCore(bool createSuspended, QProgressBar* progressBar,
                             const TGlyphoramaOptions& options)
    : platform::Thread(createSuspended), ProgressBar(progressBar), Options(options) {
    if (Glyphorama)
        Glyphorama->DisableViewButtons();
}

TFontPoolCore::~TFontPoolCore() {
    // This builder is deleted after its catalogue's Building flag has dropped; if a newer
    // build has begun since, the buttons are that build's and stay disabled. While the window
    // tears the catalogue down, FontPool is already gone and the buttons are still there.
    if (!Glyphorama)
        return;
    if (Glyphorama->FontPool && Glyphorama->FontPool->Building)
        return;
    Glyphorama->EnableViewButtons();
}

void TFontPoolCore::Cancel() {
    cancelled_ = true;
    Running = false;
}

void TFontPoolCore::Execute() {
    Index = 0;
    Running = true;
    // Cancel sets its flag before clearing Running, so one of the two is seen here.
    if (cancelled_)
        Running = false;
    for (int i = 0; i < static_cast<int>(Units.size()) && Running; ++i) {
        Index = i;
        // One blocking call per tile: the GUI thread goes back to its event loop between two
        // tiles, so the window stays usable and Esc is seen.
        Synchronize([this] {
            StepProgress();
            BuildTile();
        });
    }
    Running = false;
}

void TFontPoolCore::StepProgress() {
    if (!ProgressBar)
        return;
    // A progress bar repaints at once, and with it everything else waiting to be painted in
    // the window: a frame for every few tiles. With updates off for the step, the new value
    // is painted with the next frame instead.
    const bool updates = ProgressBar->updatesEnabled();
    ProgressBar->setUpdatesEnabled(false);
    ProgressBar->setValue(ProgressBar->value() + 1);
    ProgressBar->setUpdatesEnabled(updates);
}

void TFontPoolCore::BuildTile() {
    // While the window releases its catalogue, FontPool is already empty: the pending step
    // is served without a tile, so the run can end.
    if (!Glyphorama || !Glyphorama->FontPool)
        return;
    Glyphorama->FontPool->BuildTile(*Units[Index], Index, Options);
}
