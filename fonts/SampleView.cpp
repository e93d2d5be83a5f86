// Sample view rebuild, filters and status. (Being written.)
#include "fonts/FontPool.h"

bool TFontPool::FontTypeAdmits(int, int) { return false; }
void TFontPool::RebuildView(const QString&) {}
void TFontPool::CollectByFontType(int) {}
void TFontPool::KeepTagFonts(const QString&) {}
void TFontPool::DropTrashFonts() {}
void TFontPool::ClearView() { ViewList.clear(); }
void TFontPool::RemoveTile(int) {}
void TFontPool::UpdateStatus() {}
void TFontPool::SetFontType(int fontType) { Options.CurrentFontType = fontType; }
void TFontPool::CancelBuild() {}
TFontUnit* TFontPool::FindUnitByTileTag(int) const { return nullptr; }
