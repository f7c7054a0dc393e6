// GDI helpers of the PNG layer: a memory context holding a bitmap (selected out again before
// either is deleted), 32-bit DIB sections, and reading a toolkit bitmap's pixels.
#pragma once

#include "png/png_image.h"
#include "toolkit/bitmap.h"
#include "toolkit/handles.h"

#include <cstdint>
#include <vector>

namespace sc::png {

class TMemoryBitmap {
  public:
    // A memory context compatible with reference (nullptr: the screen) holding bitmap; either
    // may come out empty when the system is out of resources (check Ok()).
    TMemoryBitmap(HDC reference, HBITMAP bitmap);
    ~TMemoryBitmap();
    TMemoryBitmap(const TMemoryBitmap&) = delete;
    TMemoryBitmap& operator=(const TMemoryBitmap&) = delete;

    bool Ok() const { return Dc && Bitmap; }
    HDC Handle() const { return Dc.get(); }
    // Selects the bitmap out and hands it to the caller.
    HBITMAP TakeBitmap();

  private:
    tk::UniqueMemoryDc Dc;
    tk::UniqueBitmap Bitmap;
    HGDIOBJ Previous = nullptr;
};

// The description of a 32-bit top-down DIB of width x height.
BITMAPINFO TopDownInfo32(int width, int height);

// A 32-bit top-down DIB section of width x height; bits receives its pixels.
HBITMAP CreateTopDownSection(int width, int height, void** bits);

// Which pixels of an icon made from a PNG image let the background through: those of its alpha
// plane (colour types 4 and 6), else those of its key colour, else none.
class TIconTransparency {
  public:
    explicit TIconTransparency(const TPNGObject& png);
    // The fourth byte of pixel x of a row of an icon with real alpha, the pixel's colour c:
    // the alpha byte, else 255 off and 0 on the key colour, else 0.
    std::uint8_t AlphaByte(const std::uint8_t* alphaRow, int x, std::uint32_t c) const;
    // Whether the mask of an icon composited over a background leaves pixel (x, y) out.
    bool Masked(const TPNGObject& png, const std::uint8_t* alphaRow, int x, int y) const;

  private:
    bool HasAlpha, Keyed;
    std::uint32_t Key;
};

// Draws png as TPNGObject::Draw does: nothing without a header or pixels.
void DrawWithGdi(const TPNGObject& png, tk::TCanvas& canvas, const tk::TRect& rect);

// The platform of TPNGObject on Windows (png_platform.h), installed by TPngPictureFormat.
TPngPlatform& GdiPngPlatform();

// The bitmap's pixels as 0x00BBGGRR, rows top-down (copied through a 32-bit section, so any
// bitmap format and a bitmap selected into its canvas both work).
std::vector<std::uint32_t> ReadBitmapPixels(const tk::TBitmap& bitmap);

} // namespace sc::png
