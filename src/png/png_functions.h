// Free functions on PNG images used by the image lists: the disabled looks (alpha scaled down,
// colours turned grey), the colour of one pixel, and a blank RGB image to fill. Platform-neutral;
// the drawing and conversion functions are in png_functions_win32.h.
#pragma once

#include "png/png_image.h"

#include <cstdint>

namespace sc::png {

enum TPngOption : unsigned { pngBlendOnDisabled = 1, pngGrayscaleOnDisabled = 2 };
// A set of TPngOption bits.
using TPngOptions = unsigned;

// Scales the alpha of every pixel by (amount + 1) / 256, rounded half to even; key-colour
// pixels get 0. Grey and palette images become RGB images with alpha amount (0 on key-colour
// pixels); RGB images gain an alpha plane first.
void BlendPngAlpha(TPNGObject& png, std::uint8_t amount);
// Moves every colour towards its grey by amount (255: fully grey). Grey images are left alone;
// palette images change their colour table, RGB images their pixels. Alpha is untouched.
void GrayscalePng(TPNGObject& png, std::uint8_t amount);

// The colour of pixel (x, y) as 0x00BBGGRR: the DIB bytes of RGB images, the grey byte of grey
// images with alpha, the colour table entry of grey and palette images. 0 outside the image.
std::uint32_t PixelColor(const TPNGObject& png, int x, int y);
// Stores red, green and blue of colour into pixel (x, y) of an RGB image (colour type 2 or 6);
// ignored outside the image and for other colour types.
void SetPixelColor(TPNGObject& png, int x, int y, std::uint32_t colour);

// Makes png a blank (black) 8-bit RGB image of width x height: an IHDR, an empty IDAT and an
// IEND chunk. Raises EPngInvalidIHDR or EPNGSizeExceeds for sizes outside 1 .. 65535.
void CreateBlankRgb(TPNGObject& png, int width, int height);

// ---- the rounding the functions use (exposed for tests) ----

// Rounds to the nearest integer, ties to even, whatever the process's rounding mode.
long long RoundHalfEven(long double value);
// round(0.3 r + 0.59 g + 0.11 b) computed in 80-bit extended precision (x87 precision control
// set to 64-bit mantissas for the computation, so a unit left at 53 bits does not change it).
int GreyOf(int r, int g, int b);
// One channel under the pixel rule: (round(c / 256 x (255 - A)) + round(grey / 256 x (A + 1)))
// mod 256.
std::uint8_t GreyChannel(int c, int grey, std::uint8_t amount);
// round(alpha / 256 x (amount + 1)).
std::uint8_t ScaledAlpha(std::uint8_t alpha, std::uint8_t amount);

} // namespace sc::png
