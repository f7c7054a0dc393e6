// A 32-bit top-down memory bitmap with a canvas over it, for drawing tests.
#pragma once

#include "toolkit/canvas.h"
#include "toolkit/handles.h"

#include <cstdint>

namespace pictest {

class MemoryCanvas {
  public:
    MemoryCanvas(int width, int height, COLORREF background) : width_(width), canvas_(fonts_) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = 40;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        dc_.reset(CreateCompatibleDC(nullptr));
        bitmap_.reset(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits_, nullptr, 0));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
        RECT all{0, 0, width, height};
        tk::UniqueBrush brush(CreateSolidBrush(background));
        FillRect(dc_.get(), &all, brush.get());
        canvas_.setHandle(dc_.get());
    }
    ~MemoryCanvas() { SelectObject(dc_.get(), previous_); }

    tk::TCanvas& canvas() { return canvas_; }
    HDC dc() const { return dc_.get(); }
    // 0x00RRGGBB of pixel (x, y).
    std::uint32_t at(int x, int y) const {
        GdiFlush();
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
    }

  private:
    int width_;
    tk::FontCache fonts_;
    tk::TCanvas canvas_;
    tk::UniqueMemoryDc dc_;
    tk::UniqueBitmap bitmap_;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
};

} // namespace pictest
