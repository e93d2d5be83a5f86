// The tile builder thread. (Being written.)
#include "fonts/FontPoolCore.h"

TFontPoolCore::TFontPoolCore(bool createSuspended, QProgressBar* progressBar,
                             const TGlyphoramaOptions& options)
    : platform::Thread(createSuspended), ProgressBar(progressBar), Options(options) {}
TFontPoolCore::~TFontPoolCore() = default;
void TFontPoolCore::Execute() {}
void TFontPoolCore::BuildTile() {}
