// The main window's tag menu and tag dialog commands. (Being written.)
#include "ui/Glyphorama.h"

void TGlyphorama::TagMenuPopup() {}
void TGlyphorama::DeleteTagClick() {}
void TGlyphorama::RenameTagClick() {}
void TGlyphorama::NewTagButtonClick() {}
void TGlyphorama::AskRenameTag(const QString&) {}
