// The tile builder thread.
#include "fonts/FontPoolCore.h"

#include "fonts/FontPool.h"
#include "ui/Glyphorama.h"

#include <QElapsedTimer>
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
    const int count = static_cast<int>(Units.size());
    int next = 0;
    while (next < count && Running) {
        // One blocking call per batch of tiles: the GUI thread goes back to its event loop
        // between two batches, each a fraction of a frame long, so the window stays usable
        // and Esc is seen. A call per tile would hand over between the threads tens of
        // thousands of times, and on a busy machine each hand-over waits for a core.
        Synchronize([this, &next, count] {
            QElapsedTimer batch;
            batch.start();
            do {
                Index = next++;
                StepProgress();
                BuildTile();
            } while (next < count && Running && batch.nsecsElapsed() < BatchNanoseconds);
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
