#pragma once

// Screen readers see the flow panel as a list and each tile as one of its items, named by its
// family (the tile's accessible name) and described as a favourite when it is one. The tile's
// name label and marks are its own painting to them, not objects of their own.
void InstallTileAccessibility();
