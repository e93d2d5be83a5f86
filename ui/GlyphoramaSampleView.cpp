// The main window's sample view commands. (Being written.)
#include "ui/Glyphorama.h"

void TGlyphorama::SelectFontType(int fontType, bool) { ChosenFontType = fontType; }
void TGlyphorama::DisableViewButtons() {}
void TGlyphorama::EnableViewButtons() {}
void TGlyphorama::ShowEnglishClick() {}
void TGlyphorama::ShowJapaneseClick() {}
void TGlyphorama::ShowAllClick() {}
void TGlyphorama::SampleTextLeftButtonClick() {}
void TGlyphorama::SampleTextRightButtonClick() {}
void TGlyphorama::SwitchSampleViewModeButtonClick() {}
void TGlyphorama::FlowPanelResize() {}
bool TGlyphorama::ApplicationEventsMessage(QObject*, QEvent*) { return false; }
