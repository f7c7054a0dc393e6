// The arithmetic of drawing a per-pixel alpha image: which part of it can be seen, and the blend
// of that part over a 32-bit top-down buffer of what lies beneath. Platform-neutral; the Windows
// layer only copies the device's pixels in and out.
#pragma once

#include "graphics/graphic.h"

#include <cstdint>

namespace sc::png {

class TPNGObject;

// One channel of the blend: (a x s + (255 - a) x t + 255) >> 8.
constexpr std::uint8_t BlendChannel(unsigned alpha, unsigned source, unsigned target) {
    return static_cast<std::uint8_t>((alpha * source + (255 - alpha) * target + 255) >> 8);
}

// The palette index of pixel x in a row of a 1, 4 or 8 bit DIB.
inline unsigned PaletteIndex(const std::uint8_t* row, unsigned bits, unsigned x) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (x & 1) ? row[x >> 1] & 15 : row[x >> 1] >> 4;
    default:
        return row[x];
    }
}

// Whether the rectangle is empty: right <= left or bottom <= top.
inline bool IsEmptyRect(const tk::TRect& r) {
    return r.right <= r.left || r.bottom <= r.top;
}

// The part of an image of width x height drawn with its top-left corner at (left, top) that lies
// inside clip, in image coordinates; empty when nothing of it can be seen. Works in 64 bits, so
// far-off positions cannot overflow.
tk::TRect VisibleImagePart(const tk::TRect& clip, int left, int top, int width, int height);

// Blends the image pixels of part (image coordinates, inside the image) over buffer: rows of
// (part width x 4) bytes blue, green, red, unused, top-down, one per row of part. The source of
// each pixel follows the header: 24 bits take the DIB bytes and the alpha plane; 1, 4 or 8 bits
// of colour type 4 the grey byte and the alpha plane; other 1, 4 or 8 bit images the tRNS alpha
// and the colour of the palette index, raising EPngError "There is no such palette entry." for
// an index beyond the PLTE entries. Images without pixels leave the buffer as it is.
void BlendImagePart(const TPNGObject& image, const tk::TRect& part, std::uint8_t* buffer);

} // namespace sc::png
