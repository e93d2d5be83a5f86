#pragma once

#include <QtGlobal>

// Spreads the first painting of many new tiles over several frames. A tile's first paint opens
// its face and builds its glyph outlines, about 0.7 ms; a frame that meets fifty new tiles at
// once, such as the window's very first, would keep the window from appearing, or from
// answering, for 35 ms or more. While active, each frame paints new tiles for at most its
// budget and leaves the rest to the frames that follow.
//
// Whatever makes many new tiles (a build, new samples for a sample text) holds the budget
// while it runs; with nothing holding it, every tile paints at once (as a grab needs).
class FirstPaintBudget {
public:
    static constexpr qint64 FrameBudgetNs = 8'000'000;

    static void Hold(qint64 budgetNs = FrameBudgetNs);
    static void Release();
    static bool Active();
    // Whether a tile may paint for the first time in the frame being painted. The first such
    // tile of a frame always may, so that every frame makes progress.
    static bool Take();
};
