// GDI helpers of the PNG layer: a memory context holding a bitmap (selected out again before
// either is deleted), 32-bit DIB sections, and reading a toolkit bitmap's pixels.
#pragma once

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
    HBITMAP BitmapHandle() const { return Bitmap.get(); }
    // Selects the bitmap out and hands it to the caller.
    HBITMAP TakeBitmap();

  private:
    tk::UniqueMemoryDc Dc;
    tk::UniqueBitmap Bitmap;
    HGDIOBJ Previous = nullptr;
};

// A 32-bit top-down DIB section of width x height; bits receives its pixels.
HBITMAP CreateTopDownSection(int width, int height, void** bits);

// The bitmap's pixels as 0x00BBGGRR, rows top-down (copied through a 32-bit section, so any
// bitmap format and a bitmap selected into its canvas both work).
std::vector<std::uint32_t> ReadBitmapPixels(const tk::TBitmap& bitmap);

} // namespace sc::png
