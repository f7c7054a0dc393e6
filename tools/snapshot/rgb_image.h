#pragma once
// A picture of 8-bit red, green and blue samples, rows top-down, no row padding.

#include <cstdint>
#include <vector>

namespace snapshot {

struct RgbImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels; // width * height * 3 bytes, R G B per pixel
};

} // namespace snapshot
