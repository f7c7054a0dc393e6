#pragma once
// Whether a photograph of a window shows a given PNG file at a place, read by the system's own
// decoder: a picture swapped with another or drawn elsewhere fails.

#include "rgb_image.h"
#include "wic_decoder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

namespace e2e {

// Every pixel that the file has opaque must lie at (left, top) + its place in the photograph,
// each channel within 2; half-transparent pixels are left out, as what lies beneath shows.
inline ::testing::AssertionResult showsPicture(const snapshot::RgbImage& shot, int left, int top,
                                               const std::string& file) {
    const auto picture = WicDecoder().decodeFile(file, true);
    if (!picture) {
        return ::testing::AssertionFailure() << "cannot read " << file;
    }
    int opaque = 0, differing = 0;
    for (int y = 0; y < picture->height; ++y) {
        for (int x = 0; x < picture->width; ++x) {
            const std::uint8_t* p = &picture->pixels[std::size_t(y * picture->width + x) * 4];
            if (p[3] != 255) {
                continue;
            }
            ++opaque;
            const int sx = left + x, sy = top + y;
            if (sx < 0 || sy < 0 || sx >= shot.width || sy >= shot.height) {
                ++differing;
                continue;
            }
            const std::uint8_t* s = &shot.pixels[std::size_t(sy * shot.width + sx) * 3];
            differing +=
                std::abs(s[0] - p[0]) > 2 || std::abs(s[1] - p[1]) > 2 || std::abs(s[2] - p[2]) > 2;
        }
    }
    if (opaque * 10 < picture->width * picture->height || differing > 0) {
        return ::testing::AssertionFailure()
               << differing << " of the " << opaque << " opaque pixels of " << file << " differ at "
               << left << ", " << top;
    }
    return ::testing::AssertionSuccess();
}

// A file of the main window's artwork.
inline std::string artwork(const std::string& name) {
    return SC_PICTURE_DIR "/" + name;
}

} // namespace e2e
