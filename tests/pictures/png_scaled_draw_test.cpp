// PNG images drawn scaled for a DPI: centred in the area, cut to it and to the clip, blended,
// and for a huge image only the visible part resampled.
#include "memory_canvas.h"
#include "png/png_blend.h"
#include "png/png_scaled_draw_win32.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;
using pictest::MemoryCanvas;

namespace {

TEST(PngScaledDraw, ScalesByTheDpiCentredInTheAreaAndBlendsOverTheBackground) {
    // 2 x 1: opaque red, half-transparent white.
    TPNGObject png;
    Read(png, BuildPng(Image{2, 1, 8, 6, {255, 0, 0, 255, 255, 255, 255, 128}}, false));
    MemoryCanvas target(12, 6, RGB(0, 0, 0));
    DrawPngScaled(png, target.dc(), tk::TRect{2, 1, 12, 5}, 192); // 4 x 2 at (5, 2)
    EXPECT_EQ(target.at(5, 2), 0xFF0000u);
    EXPECT_EQ(target.at(6, 3), 0xFF0000u);
    const std::uint32_t half = BlendChannel(128, 255, 0);
    EXPECT_EQ(target.at(7, 2), half << 16 | half << 8 | half);
    EXPECT_EQ(target.at(8, 3), half << 16 | half << 8 | half);
    EXPECT_EQ(target.at(4, 2), 0u);
    EXPECT_EQ(target.at(9, 2), 0u);
    EXPECT_EQ(target.at(5, 4), 0u);

    // Cut to the area: a 3 x 3 area at (1, 1) shows the picture's first three columns there.
    MemoryCanvas small(5, 5, RGB(0, 0, 255));
    DrawPngScaled(png, small.dc(), tk::TRect{1, 1, 4, 4}, 192);
    EXPECT_EQ(small.at(1, 1), 0xFF0000u);
    EXPECT_EQ(small.at(3, 2), half << 16 | half << 8 | 0xFF);
    EXPECT_EQ(small.at(4, 1), 0x0000FFu) << "beyond the area";
    EXPECT_EQ(small.at(1, 3), 0x0000FFu) << "below the picture";
}

// A 65535 x 65535 grey image whose first four rows are opaque black, at 200 % in an area as
// large as the scaled image: the device's 171 x 238 pixels show rows 0 to 7 black.
TEST(PngScaledDraw, HugeImageResamplesOnlyTheVisiblePart) {
    TPNGObject png;
    ReadHugeImageOfFourBlackRows(png);
    ASSERT_NE(png.HeaderChunk().Pixels(), nullptr);
    MemoryCanvas target(171, 238, RGB(255, 255, 255));
    ASSERT_NO_THROW(DrawPngScaled(png, target.dc(), tk::TRect{0, 0, 131070, 131070}, 192));
    EXPECT_EQ(target.at(0, 0), 0x000000u);
    EXPECT_EQ(target.at(170, 7), 0x000000u);
    EXPECT_EQ(target.at(170, 8), 0xFFFFFFu);
}

} // namespace
