// Sample text and drawing modes. (Being written.)
#include "fonts/FontPool.h"

void TFontPool::ApplySampleText(const QString&) {}
void TFontPool::SetSampleViewMode(int mode) { Options.SampleViewMode = mode; }
int TFontPool::ToggleSampleViewMode() { return Options.SampleViewMode; }
