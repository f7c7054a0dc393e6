// Pictures at the size a screen's DPI asks for: which of a picture's sets (drawn at several
// scales) fills a list of that size, and area-average resampling of RGBA pictures over
// premultiplied alpha. Platform-neutral.
//
// The filter: every target pixel is the average of the source area it covers, each source pixel
// weighted by the share of it that lies under the target pixel, colours weighted by their alpha
// (premultiplied), so transparent pixels lend no colour to their neighbours.
#pragma once

#include "graphics/dpi_scale.h"
#include "graphics/graphic.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace sc::gfx {

// The DPI that design sizes are given for, and the range of DPIs a window is laid out for
// (outside it, the nearer bound is taken).
inline constexpr int kDesignDpi = tk::kDesignDpi;
inline constexpr int kMinDpi = tk::kMinDpi;
inline constexpr int kMaxDpi = tk::kMaxDpi;
int ClampDpi(int dpi);

// value x dpi / 96, rounded to the nearest integer, halves away from zero (as MulDiv rounds);
// dpi is clamped first.
int ScaleForDpi(int value, int dpi);

// ---- choosing a set ----

struct PictureSetSize {
    int width = 0, height = 0;
};

enum class SetFit {
    exact,  // the set has the wanted size
    reduce, // the smallest larger set, resampled down
    centre  // only smaller sets: the largest, at its own size, centred in the larger cell
};

struct PictureSetChoice {
    int index = -1; // -1: no sets
    SetFit fit = SetFit::exact;
};

// The set that gives pictures of width x height: one of that size; else the smallest that is at
// least as large both ways (the first of equal ones); else the largest. Never an enlargement.
PictureSetChoice ChoosePictureSet(std::span<const PictureSetSize> sets, int width, int height);

// ---- the filter's weights along one axis ----

// On a grid where a source pixel s spans [s x target, (s + 1) x target) and a target pixel t
// spans [t x source, (t + 1) x source), target pixel t covers source pixels [first, end), each
// with its overlap as weight. The weights of one target pixel add up to `source`, those that one
// source pixel gives away to `target`.
struct AreaSpan {
    int first = 0, end = 0;
};
AreaSpan AreaSourceSpan(int source, int target, int t);
std::int64_t AreaWeight(int source, int target, int t, int s);

// ---- resampling ----

// Largest sides the resampler accepts: sources as the codec reads them, targets twice that.
inline constexpr int kMaxSourceSide = 65535;
inline constexpr int kMaxTargetSide = 2 * 65535;

// A source picture read a row piece at a time: read(y, x0, x1, out) writes the straight
// (not premultiplied) RGBA bytes of pixels [x0, x1) of row y to out.
struct RgbaRows {
    int width = 0, height = 0;
    std::function<void(int y, int x0, int x1, std::uint8_t* out)> read;
};

// Resamples only `part` (target coordinates) of the source scaled to targetWidth x targetHeight:
// writes straight RGBA rows of the part's width to out, reading only the source pixels under the
// part. False, with out untouched, when a size is out of range or the part is empty or not
// inside the target.
bool ResampleAreaPart(const RgbaRows& source, int targetWidth, int targetHeight,
                      const tk::TRect& part, std::uint8_t* out);

// A whole straight RGBA picture of width x height resampled to targetWidth x targetHeight;
// empty when a size is out of range or rgba is too short.
std::vector<std::uint8_t> ResampleArea(std::span<const std::uint8_t> rgba, int width, int height,
                                       int targetWidth, int targetHeight);

// ---- drawing a picture scaled ----

struct ScaledPlacement {
    tk::TRect placed;  // where the whole scaled picture lies (may reach far beyond the area)
    tk::TRect visible; // the part of the scaled picture that can be seen, in its own coordinates;
                       // empty when nothing can
};

// A width x height picture scaled by dpi / 96, centred in area (as an image control centres) and
// cut to area and clip.
ScaledPlacement PlaceScaledPicture(const tk::TRect& area, const tk::TRect& clip, int width,
                                   int height, int dpi);

} // namespace sc::gfx
