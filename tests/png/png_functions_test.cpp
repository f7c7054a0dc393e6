// The disabled looks, pixel colours, the blend of a visible part and the rounding they rest on.
#include "png/png_blend.h"
#include "png/png_functions.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace sc::png;
using namespace pngtest;

namespace {

// One row of RGBA pixels with the given alphas, colour (10, 20, 30).
void ReadRgbaRow(TPNGObject& png, const std::vector<std::uint8_t>& alphas) {
    Image img{static_cast<std::uint32_t>(alphas.size()), 1, 8, 6, {}};
    for (std::uint8_t a : alphas)
        img.samples.insert(img.samples.end(), {10, 20, 30, a});
    Read(png, BuildPng(img, false));
}

Bytes Plte(std::initializer_list<std::uint8_t> rgb) {
    return Chunk("PLTE", Bytes(rgb));
}

} // namespace

TEST(PngFunctions, BlendPngAlphaHalvesAlphaOfEveryColourType) {
    TPNGObject rgba;
    ReadRgbaRow(rgba, {255, 254, 128, 3, 1, 0});
    BlendPngAlpha(rgba, 127);
    const std::uint8_t* a = rgba.AlphaRow(0);
    EXPECT_EQ((std::vector<int>{a[0], a[1], a[2], a[3], a[4], a[5]}),
              (std::vector<int>{128, 127, 64, 2, 0, 0}));
    EXPECT_EQ(PixelColor(rgba, 0, 0), 0x1E140Au);

    // RGB without transparency: alpha 128 everywhere.
    TPNGObject rgb;
    Read(rgb, BuildPng(Pattern(3, 2, 8, 2), false));
    const std::uint32_t before = PixelColor(rgb, 2, 1);
    BlendPngAlpha(rgb, 127);
    EXPECT_EQ(rgb.HeaderChunk().ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(rgb.AlphaRow(1)[2], 128);
    EXPECT_EQ(PixelColor(rgb, 2, 1), before);

    // Palette with one transparent entry: 0 on its pixels, 127 on the others.
    Image pal{3, 1, 8, 3, {0, 1, 2}};
    TPNGObject palette;
    Read(palette, BuildPng(pal, false, [] {
             Bytes b = Plte({255, 0, 0, 0, 255, 0, 0, 0, 255});
             Append(b, Chunk("tRNS", {255, 0}));
             return b;
         }()));
    ASSERT_EQ(palette.TransparencyKind(), tkKeyColor);
    BlendPngAlpha(palette, 127);
    EXPECT_EQ(palette.HeaderChunk().ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(
        (std::vector<int>{palette.AlphaRow(0)[0], palette.AlphaRow(0)[1], palette.AlphaRow(0)[2]}),
        (std::vector<int>{127, 0, 127}));
    EXPECT_EQ(PixelColor(palette, 0, 0), 0x0000FFu);
    EXPECT_EQ(PixelColor(palette, 2, 0), 0xFF0000u);

    // Grey: 127 everywhere, colours kept; grey with alpha scales its own alpha.
    TPNGObject grey;
    Read(grey, BuildPng(Image{2, 1, 8, 0, {7, 200}}, false));
    BlendPngAlpha(grey, 127);
    EXPECT_EQ(grey.AlphaRow(0)[1], 127);
    EXPECT_EQ(PixelColor(grey, 1, 0), 0xC8C8C8u);
    TPNGObject greyAlpha;
    Read(greyAlpha, BuildPng(Image{1, 1, 8, 4, {50, 254}}, false));
    BlendPngAlpha(greyAlpha, 127);
    EXPECT_EQ(greyAlpha.HeaderChunk().ColorType(), COLOR_GRAYSCALEALPHA);
    EXPECT_EQ(greyAlpha.AlphaRow(0)[0], 127);
}

TEST(PngFunctions, GrayscalePngTurnsColoursGreyAndLeavesGreyImagesAlone) {
    TPNGObject rgba;
    Read(rgba, BuildPng(Image{2, 1, 8, 6, {255, 0, 0, 77, 0, 0, 255, 255}}, false));
    GrayscalePng(rgba, 255);
    EXPECT_EQ(PixelColor(rgba, 0, 0), 0x4C4C4Cu); // round(76.5) = 76
    EXPECT_EQ(rgba.AlphaRow(0)[0], 77);
    EXPECT_EQ(PixelColor(rgba, 1, 0), 0x1C1C1Cu); // round(28.05) = 28

    // Amount 0 leaves round(c x 255 / 256) + round(grey / 256).
    TPNGObject faint;
    Read(faint, BuildPng(Image{1, 1, 8, 2, {200, 100, 0}}, false));
    GrayscalePng(faint, 0);
    EXPECT_EQ(PixelColor(faint, 0, 0), 0x0064C7u);

    TPNGObject palette;
    Read(palette, BuildPng(Image{1, 1, 8, 3, {0}}, false, Plte({0, 255, 0})));
    GrayscalePng(palette, 255);
    EXPECT_EQ(PixelColor(palette, 0, 0), 0x969696u); // round(150.45)

    TPNGObject grey, greyAlpha;
    Read(grey, BuildPng(Pattern(4, 2, 8, 0), false));
    Read(greyAlpha, BuildPng(Pattern(4, 2, 8, 4), false));
    const std::uint32_t g = PixelColor(grey, 3, 1), ga = PixelColor(greyAlpha, 3, 1);
    GrayscalePng(grey, 255);
    GrayscalePng(greyAlpha, 255);
    EXPECT_EQ(PixelColor(grey, 3, 1), g);
    EXPECT_EQ(PixelColor(greyAlpha, 3, 1), ga);
}

TEST(PngFunctions, PixelColorReadsEveryFormatAndIgnoresOutsiders) {
    TPNGObject pal4;
    Read(pal4, BuildPng(Image{3, 1, 4, 3, {2, 1, 0}}, false, Plte({1, 2, 3, 4, 5, 6, 7, 8, 9})));
    EXPECT_EQ(PixelColor(pal4, 0, 0), 0x090807u);
    EXPECT_EQ(PixelColor(pal4, 2, 0), 0x030201u);
    EXPECT_EQ(PixelColor(pal4, 3, 0), 0u);
    EXPECT_EQ(PixelColor(pal4, -1, 0), 0u);
    TPNGObject empty;
    EXPECT_EQ(PixelColor(empty, 0, 0), 0u);

    TPNGObject blank;
    CreateBlankRgb(blank, 4, 3);
    EXPECT_EQ(blank.Width(), 4);
    EXPECT_EQ(blank.Height(), 3);
    EXPECT_EQ(ChunkTypes(blank), "IHDR IDAT IEND");
    SetPixelColor(blank, 3, 2, 0x123456);
    SetPixelColor(blank, 4, 2, 0xFFFFFF); // outside: ignored
    EXPECT_EQ(PixelColor(blank, 3, 2), 0x123456u);
    EXPECT_EQ(blank.PixelRow(2)[9], 0x12); // blue first in the DIB
    EXPECT_THROW(CreateBlankRgb(blank, 0, 3), EPngInvalidIHDR);
    EXPECT_THROW(CreateBlankRgb(blank, 65536, 3), EPNGSizeExceeds);
}

TEST(PngRounding, HalvesGoToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(127.5L), 128);
    EXPECT_EQ(RoundHalfEven(2.5L), 2);
    EXPECT_EQ(RoundHalfEven(3.5L), 4);
    EXPECT_EQ(RoundHalfEven(2.4999L), 2);
    EXPECT_EQ(RoundHalfEven(0.5L), 0);
    EXPECT_EQ(ScaledAlpha(255, 127), 128);
    EXPECT_EQ(ScaledAlpha(1, 127), 0);
    EXPECT_EQ(GreyChannel(100, 50, 255), 50);
}

// The grey of the pixel rule in extended precision differs from plain double on many ties:
// 0.3, 0.59 and 0.11 are not exact, and the two precisions miss x.5 on different sides.
TEST(PngRounding, GreyIsComputedInExtendedPrecision) {
    int differ = 0;
    for (int r = 0; r < 256; ++r)
        for (int g = 0; g < 256; ++g)
            for (int b = 0; b < 64; ++b) { // a quarter of the cube keeps the test quick
                const double d = 0.3 * r + 0.59 * g + 0.11 * b;
                if (static_cast<int>(std::nearbyint(d)) != GreyOf(r, g, b))
                    ++differ;
            }
    EXPECT_GT(differ, 5000); // 7673 on x87 extended precision
    // 0.9 + 14.16 + 0.44 is 15.5 on paper: extended lands below it, double on it (and goes even).
    EXPECT_EQ(GreyOf(3, 24, 4), 15);
    EXPECT_EQ(GreyOf(4, 54, 4), 33);
    EXPECT_EQ(GreyOf(0, 57, 217), 57);
    EXPECT_EQ(GreyOf(255, 0, 0), 76);
    EXPECT_EQ(GreyOf(0, 255, 0), 150);
    EXPECT_EQ(GreyOf(255, 255, 255), 255);
}

#if defined(__x86_64__) || defined(__i386__)
// A unit left at 53-bit precision (as some Windows run-times leave it) does not change the grey.
TEST(PngRounding, GreyIgnoresAUnitLeftAtDoublePrecision) {
    std::uint16_t saved = 0;
    __asm__ volatile("fnstcw %0" : "=m"(saved));
    const std::uint16_t doublePrecision = static_cast<std::uint16_t>((saved & ~0x0300) | 0x0200);
    __asm__ volatile("fldcw %0" : : "m"(doublePrecision));
    const int tie = GreyOf(3, 24, 4), other = GreyOf(0, 57, 217);
    std::uint16_t during = 0;
    __asm__ volatile("fnstcw %0" : "=m"(during));
    __asm__ volatile("fldcw %0" : : "m"(saved));
    EXPECT_EQ(tie, 15);
    EXPECT_EQ(other, 57);
    EXPECT_EQ(during, doublePrecision); // the caller's control word is given back
}
#endif

TEST(PngBlend, ChannelFormulaAndIdentities) {
    for (unsigned s = 0; s < 256; ++s) {
        EXPECT_EQ(BlendChannel(255, s, 17), s);
        EXPECT_EQ(BlendChannel(0, 200, s), s);
    }
    EXPECT_EQ(BlendChannel(128, 255, 0), 128);
}

TEST(PngBlend, VisiblePartIsTheImageClippedToTheBox) {
    const tk::TRect part = VisibleImagePart(tk::TRect{0, 0, 171, 238}, 10, 20, 65535, 65535);
    EXPECT_EQ(part.left, 0);
    EXPECT_EQ(part.top, 0);
    EXPECT_EQ(part.right, 161);
    EXPECT_EQ(part.bottom, 218);
    const tk::TRect shifted = VisibleImagePart(tk::TRect{50, 60, 70, 65}, 10, 20, 100, 100);
    EXPECT_EQ(shifted.left, 40);
    EXPECT_EQ(shifted.top, 40);
    EXPECT_EQ(shifted.right, 60);
    EXPECT_EQ(shifted.bottom, 45);
    EXPECT_TRUE(IsEmptyRect(VisibleImagePart(tk::TRect{0, 0, 10, 10}, 10, 0, 5, 5)));
    EXPECT_TRUE(IsEmptyRect(VisibleImagePart(tk::TRect{0, 0, 10, 10}, 2147483000, 0, 65535, 5)));
}

TEST(PngBlend, PartBlendMatchesTheFullBlendPixelForPixel) {
    TPNGObject png;
    Read(png, BuildPng(Pattern(9, 7, 8, 6, 3), false));
    std::vector<std::uint8_t> full(9 * 7 * 4, 0x40), part(4 * 3 * 4, 0x40);
    BlendImagePart(png, tk::TRect{0, 0, 9, 7}, full.data());
    BlendImagePart(png, tk::TRect{3, 2, 7, 5}, part.data());
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            for (int c = 0; c < 3; ++c)
                EXPECT_EQ(part[(y * 4 + x) * 4 + c], full[((y + 2) * 9 + x + 3) * 4 + c]);
    // And each is the formula over the pixel's colour and alpha.
    const std::uint32_t colour = PixelColor(png, 5, 3);
    const unsigned a = png.AlphaRow(3)[5];
    EXPECT_EQ(full[(3 * 9 + 5) * 4 + 2], BlendChannel(a, colour & 0xFF, 0x40));
    EXPECT_EQ(full[(3 * 9 + 5) * 4 + 0], BlendChannel(a, colour >> 16, 0x40));
}

TEST(PngBlend, PaletteSourcesAndMissingEntries) {
    // Two entries, the second at alpha 128; index 2 lies beyond the palette.
    Bytes chunks = Plte({255, 0, 0, 0, 0, 255});
    Append(chunks, Chunk("tRNS", {255, 128}));
    TPNGObject png;
    Read(png, BuildPng(Image{3, 1, 2, 3, {0, 1, 2}}, false, chunks));
    std::vector<std::uint8_t> buffer(2 * 4, 0);
    BlendImagePart(png, tk::TRect{0, 0, 2, 1}, buffer.data());
    EXPECT_EQ(buffer[2], 255);                       // red entry, opaque
    EXPECT_EQ(buffer[4], BlendChannel(128, 255, 0)); // blue entry at 128
    std::vector<std::uint8_t> more(4, 0);
    try {
        BlendImagePart(png, tk::TRect{2, 0, 3, 1}, more.data());
        FAIL() << "index beyond the palette";
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), "There is no such palette entry.");
    }

    // Grey with alpha blends its grey samples, not the gamma-corrected colour table.
    Bytes gamma;
    Put32(gamma, 100000);
    TPNGObject greyAlpha;
    Read(greyAlpha, BuildPng(Image{1, 1, 8, 4, {100, 255}}, false, Chunk("gAMA", gamma)));
    std::vector<std::uint8_t> one(4, 0);
    BlendImagePart(greyAlpha, tk::TRect{0, 0, 1, 1}, one.data());
    EXPECT_EQ(one[0], 100);
}
