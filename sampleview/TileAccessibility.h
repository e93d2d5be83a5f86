#pragma once

#include "sampleview/TileUnits.h"

class FlowLayoutPanel;

// Screen readers see the flow panel as a list and each tile as one of its items, named by its
// family, described as a favourite when it is one and said to be selected when it is. The
// tile's name label and marks are its own painting to them, not objects of their own.
//
// The names are looked up when asked for: with tens of thousands of tiles, naming each as it
// is made would cost every start time and memory for something only a screen reader reads.
// A tile that takes the focus gets its name as its own (QWidget::accessibleName), as the
// focused widget is what many tools ask.
void InstallTileAccessibility(FlowLayoutPanel* flow, ViewUnits units);
