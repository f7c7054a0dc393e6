// A glyph button's paint read back: the button paints into a 32-bit memory bitmap through the
// print request.
#pragma once

#include "toolkit/control.h"
#include "toolkit/handles.h"

#include <windows.h>

#include <algorithm>
#include <climits>
#include <cstdint>

namespace sc::controls {

// The button's paint into a 32-bit memory bitmap, through the print request.
class Capture {
  public:
    explicit Capture(tk::TWinControl& control)
        : width_(control.width()), height_(control.height()) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), width_, -height_, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        HDC screen = GetDC(nullptr);
        dc_.reset(CreateCompatibleDC(screen));
        ReleaseDC(nullptr, screen);
        void* bits = nullptr;
        bitmap_.reset(CreateDIBSection(dc_.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        SelectObject(dc_.get(), bitmap_.get());
        GdiFlush();
        pixels_ = static_cast<const std::uint32_t*>(bits);
        SendMessageA(control.handle(), WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc_.get()),
                     PRF_CLIENT);
        GdiFlush();
    }
    // As COLORREF (0x00BBGGRR).
    COLORREF at(int x, int y) const {
        std::uint32_t p = pixels_[y * width_ + x];
        return RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF);
    }
    // The bounding box of pixels of one colour inside r.
    RECT boxOf(COLORREF colour, RECT r) const {
        RECT box{INT_MAX, INT_MAX, INT_MIN, INT_MIN};
        for (int y = r.top; y < r.bottom; ++y) {
            for (int x = r.left; x < r.right; ++x) {
                if (at(x, y) == colour) {
                    box = {std::min<LONG>(box.left, x), std::min<LONG>(box.top, y),
                           std::max<LONG>(box.right, x + 1), std::max<LONG>(box.bottom, y + 1)};
                }
            }
        }
        return box;
    }

  private:
    int width_, height_;
    tk::UniqueMemoryDc dc_;
    tk::UniqueBitmap bitmap_;
    const std::uint32_t* pixels_ = nullptr;
};

inline bool operator==(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

} // namespace sc::controls
