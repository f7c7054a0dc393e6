// TPNGObject drawn with GDI into memory bitmaps: opaque, key-colour and per-pixel alpha images.
#include "memory_canvas.h"
#include "png/png_blend.h"
#include "png/png_functions.h"
#include "png/png_picture_format_win32.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;
using pictest::MemoryCanvas;

namespace {

Bytes PaletteChunks(const Bytes& alphas) {
    Bytes b = Chunk("PLTE", {255, 0, 0, 0, 0, 255, 0, 255, 0});
    Append(b, Chunk("tRNS", alphas));
    return b;
}

// The picture format installs GDI as the images' platform.
class PngDraw : public ::testing::Test {
    TPngPictureFormat format_;
};

} // namespace

TEST_F(PngDraw, OpaqueAndKeyColourImagesFillTheRectangle) {
    TPNGObject opaque;
    Read(opaque, BuildPng(Image{2, 1, 8, 2, {255, 0, 0, 0, 0, 255}}, false));
    MemoryCanvas target(8, 4, RGB(9, 9, 9));
    opaque.Draw(target.canvas(), tk::TRect{0, 0, 8, 2}); // stretched to twice its size x 4
    EXPECT_EQ(target.at(0, 0), 0xFF0000u);
    EXPECT_EQ(target.at(3, 1), 0xFF0000u);
    EXPECT_EQ(target.at(4, 0), 0x0000FFu);
    EXPECT_EQ(target.at(7, 1), 0x0000FFu);
    EXPECT_EQ(target.at(0, 2), 0x090909u);

    // Palette image with exactly one entry at 0: key colour, the background shows through.
    TPNGObject keyed;
    Read(keyed, BuildPng(Image{3, 1, 8, 3, {0, 1, 2}}, false, PaletteChunks({255, 0})));
    ASSERT_EQ(keyed.TransparencyKind(), tkKeyColor);
    MemoryCanvas over(6, 2, RGB(9, 9, 9));
    keyed.Draw(over.canvas(), tk::TRect{0, 0, 6, 2});
    EXPECT_EQ(over.at(0, 0), 0xFF0000u);
    EXPECT_EQ(over.at(1, 1), 0xFF0000u);
    EXPECT_EQ(over.at(2, 0), 0x090909u);
    EXPECT_EQ(over.at(3, 1), 0x090909u);
    EXPECT_EQ(over.at(5, 0), 0x00FF00u);
}

TEST_F(PngDraw, PerPixelImagesBlendAtTheirOwnSize) {
    // The same palette with a second entry at 128: alpha-blended, not keyed.
    TPNGObject png;
    Read(png, BuildPng(Image{3, 1, 8, 3, {0, 1, 2}}, false, PaletteChunks({255, 0, 128})));
    ASSERT_EQ(png.TransparencyKind(), tkPerPixel);
    MemoryCanvas target(8, 3, RGB(0, 0, 0));
    png.Draw(target.canvas(), tk::TRect{1, 1, 7, 3}); // twice its size: drawn at its own
    EXPECT_EQ(target.at(1, 1), 0xFF0000u);
    EXPECT_EQ(target.at(2, 1), 0x000000u);
    EXPECT_EQ(target.at(3, 1), 0x008000u); // (128 x 255 + 255) >> 8 = 128
    EXPECT_EQ(target.at(4, 1), 0x000000u);
    EXPECT_EQ(target.at(1, 2), 0x000000u);

    // RGBA: the formula per channel over a coloured background.
    TPNGObject rgba;
    Read(rgba, BuildPng(Image{2, 1, 8, 6, {200, 100, 50, 77, 10, 20, 30, 255}}, false));
    MemoryCanvas over(2, 1, RGB(40, 80, 160));
    rgba.Draw(over.canvas(), tk::TRect{0, 0, 2, 1});
    const std::uint32_t expected = std::uint32_t(BlendChannel(77, 200, 40)) << 16 |
                                   std::uint32_t(BlendChannel(77, 100, 80)) << 8 |
                                   BlendChannel(77, 50, 160);
    EXPECT_EQ(over.at(0, 0), expected);
    EXPECT_EQ(over.at(1, 0), 0x0A141Eu);
}

TEST_F(PngDraw, GreyWithAlphaBlendsItsSamplesAndEmptyImagesDrawNothing) {
    Bytes gamma;
    Put32(gamma, 100000); // a gamma table far from identity
    TPNGObject png;
    Read(png, BuildPng(Image{1, 1, 8, 4, {100, 255}}, false, Chunk("gAMA", gamma)));
    MemoryCanvas target(1, 1, RGB(0, 0, 0));
    png.Draw(target.canvas(), tk::TRect{0, 0, 1, 1});
    EXPECT_EQ(target.at(0, 0), 0x646464u);

    TPNGObject empty;
    MemoryCanvas untouched(2, 2, RGB(1, 2, 3));
    EXPECT_NO_THROW(empty.Draw(untouched.canvas(), tk::TRect{0, 0, 2, 2}));
    EXPECT_EQ(untouched.at(1, 1), 0x010203u);
}

// A 65535 x 65535 grey image with alpha whose first rows are opaque black: drawn into a small
// bitmap, only the visible part is blended, so nothing of the whole image's size is allocated.
TEST_F(PngDraw, HugeImageBlendsOnlyTheVisiblePart) {
    TPNGObject png;
    ReadHugeImageOfFourBlackRows(png);
    ASSERT_EQ(png.Width(), 65535);
    ASSERT_NE(png.HeaderChunk().Pixels(), nullptr);
    MemoryCanvas target(171, 238, RGB(255, 255, 255));
    ASSERT_NO_THROW(png.Draw(target.canvas(), tk::TRect{-10, -1, 161, 237}));
    EXPECT_EQ(target.at(0, 0), 0x000000u);
    EXPECT_EQ(target.at(170, 2), 0x000000u);
    EXPECT_EQ(target.at(170, 3), 0xFFFFFFu); // row 4: alpha 0
}

TEST_F(PngDraw, PaletteOfGreyAndPaletteImagesIsBuiltOnceAndAssignedBack) {
    TPNGObject png;
    Read(png, BuildPng(Image{2, 1, 8, 3, {0, 1}}, false, PaletteChunks({255, 255})));
    HPALETTE palette = static_cast<HPALETTE>(png.Palette());
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(png.Palette(), palette);
    PALETTEENTRY entries[2]{};
    ASSERT_EQ(GetPaletteEntries(palette, 0, 2, entries), 2u);
    EXPECT_EQ(entries[1].peBlue, 255);

    // Assigning a palette puts its entries into the colour table and forgets the cached one.
    struct {
        WORD version, count;
        PALETTEENTRY entries[1];
    } logical{0x300, 1, {{1, 2, 3, 0}}};
    HPALETTE other = CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical));
    png.SetPalette(other);
    DeleteObject(other);
    EXPECT_EQ(png.CachedSystemPalette(), nullptr);
    EXPECT_EQ(PixelColor(png, 0, 0), 0x030201u);
    EXPECT_EQ(PixelColor(png, 1, 0), 0xFF0000u);

    TPNGObject rgb, empty;
    Read(rgb, BuildPng(Pattern(2, 2, 8, 2), false));
    EXPECT_EQ(rgb.Palette(), nullptr);
    EXPECT_THROW(empty.Palette(), EPNGHeaderNotPresent);
}
