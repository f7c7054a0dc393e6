// A 32-bit top-down memory bitmap with a canvas over it, for drawing tests.
#pragma once

#include "png/png_gdi_win32.h"
#include "toolkit/canvas.h"
#include "toolkit/handles.h"

#include <cstdint>
#include <vector>

namespace pictest {

class MemoryCanvas {
  public:
    MemoryCanvas(int width, int height, COLORREF background)
        : width_(width), height_(height), canvas_(fonts_),
          bitmap_(nullptr, sc::png::CreateTopDownSection(width, height, &bits_)) {
        RECT all{0, 0, width, height};
        tk::UniqueBrush brush(CreateSolidBrush(background));
        FillRect(bitmap_.Handle(), &all, brush.get());
        canvas_.setHandle(bitmap_.Handle());
    }

    tk::TCanvas& canvas() { return canvas_; }
    HDC dc() const { return bitmap_.Handle(); }
    // 0x00RRGGBB of pixel (x, y).
    std::uint32_t at(int x, int y) const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
    }
    // Every pixel as 0x00RRGGBB, row by row from the top.
    std::vector<std::uint32_t> pixels() const {
        GdiFlush();
        const auto* p = static_cast<const std::uint32_t*>(bits_);
        std::vector<std::uint32_t> all(p, p + width_ * height_);
        for (std::uint32_t& v : all) {
            v &= 0xFFFFFF;
        }
        return all;
    }

  private:
    int width_, height_;
    tk::FontCache fonts_;
    tk::TCanvas canvas_;
    void* bits_ = nullptr;
    sc::png::TMemoryBitmap bitmap_;
};

} // namespace pictest
