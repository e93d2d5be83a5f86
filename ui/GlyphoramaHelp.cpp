// The help menu and shell commands. (Being written.)
#include "ui/Glyphorama.h"

void TGlyphorama::S1Click() {}
void TGlyphorama::U1Click() {}
void TGlyphorama::O2Click() {}
void TGlyphorama::M1Click() {}
void TGlyphorama::X2Click() { close(); }
void TGlyphorama::ShowAboutClick() {}
void TGlyphorama::CopyFontNameClick() {}
