#pragma once

#include <cmath>

// A legal font can make a line of text billions of pixels long (advances of 65,535 units in
// an em of 16, a long sample, a large size): more than an int holds. Lengths measured from a
// font are capped far below that, so that widgets can still add paddings and positions.
inline constexpr int MaxTextPixels = 1 << 22;

// The whole pixels a length measured from a font takes: rounded up, capped, never negative.
inline int CeilPixels(double pixels) {
    if (!(pixels > 0)) // not a number too
        return 0;
    if (pixels >= MaxTextPixels)
        return MaxTextPixels;
    return static_cast<int>(std::ceil(pixels));
}
