// Centring one extent within another, as windows and pictures are placed. Platform-neutral.
#pragma once

#include "graphics/graphic.h"

namespace tk {

// The start of an extent of `inner` centred in one of `outer` starting at `outerStart`. The
// halving truncates toward zero, negative differences included: (-7) / 2 is -3.
constexpr int centredStart(int outerStart, int outerExtent, int innerExtent) {
    return outerStart + (outerExtent - innerExtent) / 2;
}

// A width x height rectangle centred in `outer`; larger than `outer` when the picture is.
constexpr TRect centredRect(const TRect& outer, int width, int height) {
    const int left = centredStart(outer.left, outer.right - outer.left, width);
    const int top = centredStart(outer.top, outer.bottom - outer.top, height);
    return TRect{left, top, left + width, top + height};
}

} // namespace tk
