// Scaling of layout figures, which are given in pixels of a 96-DPI screen (design units), to the
// DPI a window is shown at. Platform-neutral.
#pragma once

#include <cstdint>

namespace tk {

inline constexpr int kDesignDpi = 96;
// The range of DPI values a window is laid out for; values outside are clamped into it.
inline constexpr int kMinDpi = 48;
inline constexpr int kMaxDpi = 480;

// value * multiplier / divisor rounded to the nearest integer, halves away from zero, as the
// platform's MulDiv does; -1 for a zero divisor or a result outside the range of int.
constexpr int mulDiv(int value, int multiplier, int divisor) {
    if (divisor == 0) {
        return -1;
    }
    std::int64_t product = static_cast<std::int64_t>(value) * multiplier;
    std::int64_t d = divisor;
    if (d < 0) {
        product = -product;
        d = -d;
    }
    const std::int64_t rounded = product >= 0 ? (product + d / 2) / d : (product - d / 2) / d;
    if (rounded > INT32_MAX || rounded < INT32_MIN) {
        return -1;
    }
    return static_cast<int>(rounded);
}

constexpr int clampDpi(int dpi) {
    return dpi < kMinDpi ? kMinDpi : (dpi > kMaxDpi ? kMaxDpi : dpi);
}

// A design-unit figure (offset, size or font height; negative values too) at `dpi`. Always from
// the design value, never from an earlier scaled one, so repeated DPI changes cannot drift.
constexpr int scaleToDpi(int designValue, int dpi) {
    return dpi == kDesignDpi ? designValue : mulDiv(designValue, dpi, kDesignDpi);
}

} // namespace tk

namespace tk {

// Bounds (anything with left, top, width and height) at `dpi`: each figure scaled on its own, so
// that equal sizes in the design stay equal.
template <typename B> constexpr B scaleBounds(B bounds, int dpi) {
    bounds.left = scaleToDpi(bounds.left, dpi);
    bounds.top = scaleToDpi(bounds.top, dpi);
    bounds.width = scaleToDpi(bounds.width, dpi);
    bounds.height = scaleToDpi(bounds.height, dpi);
    return bounds;
}

} // namespace tk
