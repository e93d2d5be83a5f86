// Font tiles and their mouse handlers. (Being written.)
#include "fonts/FontPool.h"

void TFontPool::BuildTile(TFontUnit&, int, const TGlyphoramaOptions&) {}
void TFontPool::BuilderTerminated() { Building = false; }
void TFontPool::TileMouseEnter(TPanel*) {}
void TFontPool::TileMouseLeave(TPanel*) {}
void TFontPool::TileMouseDown(TPanel*, Qt::MouseButton, QPoint) {}
