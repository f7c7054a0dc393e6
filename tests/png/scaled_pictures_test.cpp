// Decoded images read as straight RGBA, RGBA images made from pixels, and fitting an image to
// another size.
#include "png/png_scaled_pictures.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;

namespace {

std::vector<int> Rgba(const TPNGObject& png, int y) {
    std::vector<std::uint8_t> out(std::size_t(png.Width()) * 4);
    ReadRgbaPixels(png, y, 0, png.Width(), out.data());
    return std::vector<int>(out.begin(), out.end());
}

TEST(ScaledPictures, EveryFormatReadsAsStraightRgba) {
    TPNGObject rgba, grey, keyed, palette, keyedPalette;
    Read(rgba, BuildPng(Image{2, 1, 8, 6, {1, 2, 3, 4, 250, 251, 252, 0}}, false));
    EXPECT_EQ(Rgba(rgba, 0), (std::vector<int>{1, 2, 3, 4, 250, 251, 252, 0}));
    Read(grey, BuildPng(Image{2, 1, 8, 4, {9, 200, 80, 255}}, false));
    EXPECT_EQ(Rgba(grey, 0), (std::vector<int>{9, 9, 9, 200, 80, 80, 80, 255}));
    Read(keyed,
         BuildPng(Image{2, 1, 8, 2, {5, 6, 7, 5, 6, 8}}, false, Chunk("tRNS", {0, 5, 0, 6, 0, 7})));
    EXPECT_EQ(Rgba(keyed, 0), (std::vector<int>{5, 6, 7, 0, 5, 6, 8, 255}));

    Bytes plte = Chunk("PLTE", {255, 0, 0, 0, 255, 0, 0, 0, 255});
    Bytes perEntry = plte, single = plte;
    Append(perEntry, Chunk("tRNS", {255, 0, 128}));
    Append(single, Chunk("tRNS", {255, 0}));
    Read(palette, BuildPng(Image{3, 1, 8, 3, {0, 1, 2}}, false, perEntry));
    EXPECT_EQ(Rgba(palette, 0), (std::vector<int>{255, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 128}));
    Read(keyedPalette, BuildPng(Image{3, 1, 8, 3, {0, 1, 2}}, false, single));
    EXPECT_EQ(Rgba(keyedPalette, 0),
              (std::vector<int>{255, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 255}));
}

TEST(ScaledPictures, FittingCopiesReducesWithTheAreaFilterAndNeverEnlarges) {
    // A 4 x 2 picture: a red 2 x 2 block beside transparent black.
    const std::vector<std::uint8_t> pixels{255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0,
                                           255, 0, 0, 255, 255, 0, 0, 255, 0, 0, 0, 0, 0, 0, 0, 0};
    std::unique_ptr<TPNGObject> png = RgbaPng(4, 2, pixels);
    ASSERT_EQ(png->HeaderChunk().ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(Rgba(*png, 1), std::vector<int>(pixels.begin() + 16, pixels.end()));

    EXPECT_EQ(Rgba(*FitPng(*png, 4, 2), 0), Rgba(*png, 0));
    std::unique_ptr<TPNGObject> half = FitPng(*png, 2, 1);
    EXPECT_EQ(Rgba(*half, 0), (std::vector<int>{255, 0, 0, 255, 0, 0, 0, 0}));
    std::unique_ptr<TPNGObject> odd = FitPng(*png, 3, 1); // the middle pixel: half red, no black
    EXPECT_EQ(Rgba(*odd, 0), (std::vector<int>{255, 0, 0, 255, 255, 0, 0, 128, 0, 0, 0, 0}));

    std::unique_ptr<TPNGObject> larger = FitPng(*png, 6, 4); // centred at its own size
    EXPECT_EQ(Rgba(*larger, 0), std::vector<int>(24, 0));
    EXPECT_EQ(Rgba(*larger, 1), (std::vector<int>{0, 0, 0, 0, 255, 0, 0, 255, 255, 0, 0, 255,
                                                  0, 0, 0, 0, 0,   0, 0, 0,   0,   0, 0, 0}));
    EXPECT_THROW(FitPng(*png, 0, 3), EPNGSizeExceeds);
}

} // namespace
