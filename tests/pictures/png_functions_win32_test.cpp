// DrawPngImage's disabled looks, PngToIcon on both library paths and the bitmap conversions.
#include "memory_canvas.h"
#include "png/png_functions_win32.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;
using pictest::MemoryCanvas;

TEST(PngFunctionsWin32, DrawPngImageDrawsDisabledCopiesOnly) {
    TPNGObject png;
    Read(png, BuildPng(Image{1, 1, 8, 6, {255, 0, 0, 255}}, false));
    MemoryCanvas plain(1, 1, RGB(255, 255, 255)), blended(1, 1, RGB(255, 255, 255)),
        grey(1, 1, RGB(0, 0, 0));
    DrawPngImage(png, plain.canvas(), tk::TRect{0, 0, 1, 1}, 0);
    DrawPngImage(png, blended.canvas(), tk::TRect{0, 0, 1, 1}, pngBlendOnDisabled);
    DrawPngImage(png, grey.canvas(), tk::TRect{0, 0, 1, 1}, pngGrayscaleOnDisabled);
    EXPECT_EQ(plain.at(0, 0), 0xFF0000u);
    EXPECT_EQ(blended.at(0, 0), 0xFF7F7Fu); // alpha 128 over white
    EXPECT_EQ(grey.at(0, 0), 0x4C4C4Cu);
    EXPECT_EQ(PixelColor(png, 0, 0), 0x0000FFu); // the stored image is unchanged
    EXPECT_EQ(png.AlphaRow(0)[0], 255);
}
