// Colour arithmetic and the drawing primitives of the glyph buttons.
#include "controls/button_drawing.h"
#include "pixel_grid.h"

#include <gtest/gtest.h>

namespace sc::controls {
namespace {

using test::PixelGrid;

TEST(ButtonColours, HslSplitAndMake) {
    EXPECT_EQ(SplitHsl(0x0000FF), (Hsl{0, 240, 120}));
    EXPECT_EQ(SplitHsl(0x149BF0), (Hsl{25, 211, 122}));
    for (Colour grey : {0x000000u, 0x808080u, 0xC0C0C0u, 0xFFFFFFu}) {
        Hsl hsl = SplitHsl(grey);
        EXPECT_EQ(hsl.hue, 0);
        EXPECT_EQ(hsl.saturation, 0);
    }
    EXPECT_EQ(MakeHslColor(0, 240, 120), 0x0000FFu);
    EXPECT_EQ(MakeHslColor(0, 0, 0), 0x000000u);
    EXPECT_EQ(MakeHslColor(0, 240, 255), 0xFFFFFFu); // luminance beyond the scale saturates
    // The hue scale divides by 239: hue 240 lands in the last sixth's wrap-around, still red.
    EXPECT_EQ(MakeHslColor(240, 240, 120) & 0xFF00FF, 0x0000FFu);
}

TEST(ButtonColours, ShadesMixesAndNearness) {
    EXPECT_EQ(ShadeDown(0x808080, 20), 0x6A6A6Au);
    EXPECT_EQ(ShadeUp(0xFFFFFF, 30), 0xFFFFFFu);
    EXPECT_EQ(ShadeDown(0x101010, 200), 0x000000u);
    EXPECT_EQ(MixColors(0xFFFFFF, 0x149BF0, 190), 0xC3E6FBu);
    EXPECT_EQ(MixColors(0x123456, 0xABCDEF, 255), 0x123456u);
    EXPECT_EQ(MixColors(0x123456, 0xABCDEF, 0), 0xABCDEFu);
    EXPECT_EQ(OppositeHueColor(0x149BF0, 180), 0xFFAD80u);
    EXPECT_TRUE(NearColors(0x0000FF, 0x0000F0));
    EXPECT_FALSE(NearColors(0x808080, 0xC8D0D4));
    // Hues do not wrap: 2 and 238 are far apart.
    EXPECT_FALSE(NearColors(MakeHslColor(2, 240, 120), MakeHslColor(238, 240, 120)));
}

TEST(ButtonColours, SystemColoursResolveThroughTheInstalledSource) {
    EXPECT_EQ(resolveColour(kBtnFace), 0xC8D0D4u);
    setSystemColourSource([](int index) -> Colour { return index == 15 ? 0x0000FF : 0; });
    EXPECT_EQ(resolveColour(kBtnFace), 0x0000FFu);
    EXPECT_EQ(SplitHsl(kBtnFace), (Hsl{0, 240, 120}));
    EXPECT_EQ(resolveColour(0x00ABCDEF), 0xABCDEFu);
    setSystemColourSource(nullptr);
    EXPECT_EQ(resolveColour(kBtnFace), 0xC8D0D4u);
}

TEST(ButtonDrawing, GradientRowsAndEmptyGradients) {
    std::vector<Colour> rows = gradientRows(4, 0xFFFFFF, 0x000000);
    EXPECT_EQ(rows, (std::vector<Colour>{0xBFBFBF, 0x7F7F7F, 0x3F3F3F, 0x000000}));
    PixelGrid grid(6, 6);
    FillVerticalGradient(grid, {1, 0, 4, 4}, 0xFFFFFF, 0x000000);
    EXPECT_EQ(grid.at(1, 0), 0xBFBFBFu);
    EXPECT_EQ(grid.at(3, 3), 0x000000u);
    EXPECT_EQ(grid.at(0, 0), 0x123456u);
    EXPECT_EQ(grid.at(4, 0), 0x123456u);
    PixelGrid untouched(6, 6);
    PixelGrid copy = untouched;
    FillVerticalGradient(copy, {2, 2, 2, 5}, 0xFFFFFF, 0);
    FillVerticalGradient(copy, {0, 3, 5, 3}, 0xFFFFFF, 0);
    EXPECT_EQ(copy, untouched);
}

TEST(ButtonDrawing, EdgeLinesFramesAndTheDottedFocus) {
    PixelGrid grid(10, 10);
    EXPECT_EQ(DrawEdgeLines(grid, {0, 0, 10, 10}, 0x111111, 0x222222, kAllSides),
              (Rect{1, 1, 9, 9}));
    EXPECT_EQ(grid.at(0, 0), 0x111111u);
    EXPECT_EQ(grid.at(9, 0), 0x222222u);
    EXPECT_EQ(grid.at(0, 9), 0x222222u);
    EXPECT_EQ(grid.at(5, 5), 0x123456u);
    // clNone draws nothing on its sides, and only the named sides move.
    PixelGrid none(10, 10);
    EXPECT_EQ(DrawEdgeLines(none, {0, 0, 10, 10}, kNoColour, 0x222222, sideLeft | sideRight),
              (Rect{1, 0, 9, 10}));
    EXPECT_EQ(none.at(0, 5), 0x123456u);
    EXPECT_EQ(none.at(9, 5), 0x222222u);

    PixelGrid frame(10, 10);
    EXPECT_EQ(DrawSystemButtonFrame(frame, {0, 0, 10, 10}, false), (Rect{2, 2, 8, 8}));
    EXPECT_EQ(frame.at(0, 0), 0xFFFFFFu); // button highlight
    EXPECT_EQ(frame.at(9, 9), 0x000000u); // 3D dark shadow
    EXPECT_EQ(frame.at(1, 1), 0xC8D0D4u); // 3D light
    EXPECT_EQ(frame.at(8, 8), 0x808080u); // button shadow
    EXPECT_EQ(DrawTintedSunkenFrame(frame, {0, 0, 10, 10}, 0x808080), (Rect{2, 2, 8, 8}));
    EXPECT_EQ(frame.at(0, 0), 0x4A4A4Au); // grey 128 at luminance 120 - 50
    EXPECT_EQ(frame.at(8, 8), 0xB5B5B5u); // and at 120 + 50

    PixelGrid focus(50, 50, kWhite);
    DrawDottedFocus(focus, {4, 4, 42, 38});
    for (int y = 5; y < 38; ++y) {
        Colour expected = (y - 4) % 2 == 1 ? kBlack : kWhite;
        EXPECT_EQ(focus.at(4, y), expected) << y;
        EXPECT_EQ(focus.at(41, y), expected) << y;
    }
    for (int x = 5; x < 42; ++x) {
        Colour expected = (x - 4) % 2 == 1 ? kBlack : kWhite;
        EXPECT_EQ(focus.at(x, 4), expected) << x;
        EXPECT_EQ(focus.at(x, 37), expected) << x;
    }
    EXPECT_EQ(focus.at(4, 4), kWhite);
    EXPECT_EQ(focus.at(20, 20), kWhite);
}

TEST(ButtonDrawing, GradientRingOnlyOnAFullColourDisplay) {
    PixelGrid before(12, 12);
    PixelGrid grid = before;
    DrawGradientRing(grid, {1, 1, 11, 11}, 0xFFFFFF, 0x000000, false);
    EXPECT_EQ(grid, before);
    DrawGradientRing(grid, {1, 1, 11, 11}, 0xFFFFFF, 0x000000, true);
    // Ten rows from white to black lose 0x19 or 0x1A a row.
    EXPECT_EQ(grid.at(1, 1), 0xE5E5E5u);
    EXPECT_EQ(grid.at(5, 2), 0xCCCCCCu); // two rows of ring at the top
    EXPECT_EQ(grid.at(2, 6), 0x666666u); // two columns at the sides
    EXPECT_EQ(grid.at(9, 6), 0x666666u);
    EXPECT_EQ(grid.at(10, 10), 0x000000u);
    EXPECT_EQ(grid.at(3, 3), 0x123456u); // the inside stays
    EXPECT_EQ(grid.at(8, 8), 0x123456u);
    EXPECT_EQ(grid.at(0, 0), 0x123456u);
}

TEST(ButtonDrawing, HotTrackFrameCornersShowTheParent) {
    PixelGrid grid(20, 12);
    HotTrackLook look;
    look.parentColor = 0x808080; // the outer frame's shades
    look.color = 0x40A040;       // the face's
    look.frameColor = 0x000000;
    look.ring = HotTrackLook::Ring::hot;
    Rect face = paintHotTrackLook(grid, {0, 0, 20, 12}, look);
    EXPECT_EQ(face, (Rect{2, 2, 18, 10}));
    // The frame's shades of grey 128, worked out by hand: luminance 120 - 20 and 120 + 20.
    for (auto [x, y] : {std::pair{0, 2}, {2, 0}, {1, 1}, {18, 1}, {1, 10}}) {
        EXPECT_EQ(grid.at(x, y), 0x6A6A6Au) << x << ", " << y;
    }
    EXPECT_EQ(grid.at(18, 10), 0x959595u);
    EXPECT_EQ(grid.at(19, 5), 0x959595u);
    EXPECT_EQ(grid.at(0, 0), 0x123456u); // the corners are left for the parent's image
    EXPECT_EQ(grid.at(0, 1), 0x123456u);
    EXPECT_EQ(grid.at(1, 0), 0x123456u);
    EXPECT_EQ(grid.at(1, 2), 0x000000u); // inner frame
    // The hot ring over 8 rows: near the mix with white, 0xC3E6FB, at the top, the hot colour
    // at the bottom; the face inside keeps its gradient (row 3 of 6 from 0x60BF60 to 0x3A903A).
    EXPECT_EQ(grid.at(2, 2), 0xADDCF9u);
    EXPECT_EQ(grid.at(2, 9), 0x149BF0u);
    EXPECT_EQ(grid.at(9, 9), 0x149BF0u);
    EXPECT_EQ(grid.at(9, 5), 0x469F46u);

    auto corners = parentCornerExclusions({0, 0, 20, 12}, true);
    EXPECT_EQ(corners[0], (Rect{1, 1, 19, 11}));
    EXPECT_EQ(corners[1], (Rect{0, 2, 20, 10}));
    EXPECT_EQ(corners[2], (Rect{2, 0, 18, 12}));
    EXPECT_EQ(parentCornerExclusions({0, 0, 20, 12}, false)[0], (Rect{2, 2, 18, 10}));
}

TEST(ButtonDrawing, DownPatternTakesGreyWhenTheColourIsSilver) {
    auto pattern = downPattern(0xC0C0C0);
    EXPECT_EQ(pattern[0], kGray);
    EXPECT_EQ(pattern[1], 0xC0C0C0u);
    EXPECT_EQ(downPattern(kBtnFace)[9], kSilver);
}

} // namespace
} // namespace sc::controls
