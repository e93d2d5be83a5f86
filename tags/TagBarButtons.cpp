// The tag bar's buttons and the drop handling. (Being written.)
#include "fonts/FontPool.h"

void TFontPool::RebuildTagBar() {}
void TFontPool::AddTagButton(int) {}
void TFontPool::AddNewTagButton() {}
void TFontPool::TagButtonMouseDown(QToolButton*, Qt::MouseButton, QPoint) {}
void TFontPool::TagButtonDragDrop(QToolButton*, QObject*) {}
void TFontPool::TagButtonClick(QToolButton*) {}
