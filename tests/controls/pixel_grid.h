#pragma once
// A pixel grid that records what the button primitives draw, for the native tests.

#include "controls/button_drawing.h"

#include <algorithm>
#include <vector>

namespace sc::controls::test {

class PixelGrid : public PixelSurface {
  public:
    PixelGrid(int width, int height, Colour background = 0x123456)
        : width_(width), height_(height),
          pixels_(static_cast<std::size_t>(width * height), background) {}
    void fillRect(const Rect& r, Colour c) override {
        for (int y = std::max(r.top, 0); y < std::min(r.bottom, height_); ++y) {
            for (int x = std::max(r.left, 0); x < std::min(r.right, width_); ++x) {
                pixels_[static_cast<std::size_t>(y * width_ + x)] = c;
            }
        }
    }
    Colour at(int x, int y) const { return pixels_[static_cast<std::size_t>(y * width_ + x)]; }
    bool operator==(const PixelGrid& o) const { return pixels_ == o.pixels_; }

  private:
    int width_;
    int height_;
    std::vector<Colour> pixels_;
};

} // namespace sc::controls::test
