// Choosing a picture set for a DPI, the area-average filter and drawing a picture scaled.
#include "graphics/area_resample.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <vector>

namespace {

using namespace sc::gfx;

TEST(PictureSets, DesignSizesScaleAsMulDivAndTheSetThatFitsIsChosen) {
    struct Case {
        int dpi, size48, size32, size18;
    };
    for (Case c : {Case{96, 48, 32, 18}, Case{120, 60, 40, 23}, Case{144, 72, 48, 27},
                   Case{168, 84, 56, 32}, Case{192, 96, 64, 36}}) {
        EXPECT_EQ(ScaleForDpi(48, c.dpi), c.size48) << c.dpi;
        EXPECT_EQ(ScaleForDpi(32, c.dpi), c.size32) << c.dpi;
        EXPECT_EQ(ScaleForDpi(18, c.dpi), c.size18) << c.dpi; // 22.5 and 31.5 round up
    }
    EXPECT_EQ(ScaleForDpi(-3, 144), -5); // halves away from zero, as MulDiv
    EXPECT_EQ(ScaleForDpi(48, 0), 24);   // absurd DPIs are clamped to 48 ... 480
    EXPECT_EQ(ScaleForDpi(48, 100000), 240);

    const std::array<PictureSetSize, 3> sets{{{48, 48}, {72, 72}, {96, 96}}};
    struct Choice {
        int dpi, index;
        SetFit fit;
    };
    for (Choice c : {Choice{96, 0, SetFit::exact}, Choice{120, 1, SetFit::reduce},
                     Choice{144, 1, SetFit::exact}, Choice{168, 2, SetFit::reduce},
                     Choice{192, 2, SetFit::exact}, Choice{72, 0, SetFit::reduce},
                     Choice{240, 2, SetFit::centre}}) {
        const int size = ScaleForDpi(48, c.dpi);
        const PictureSetChoice got = ChoosePictureSet(sets, size, size);
        EXPECT_EQ(got.index, c.index) << c.dpi;
        EXPECT_EQ(got.fit, c.fit) << c.dpi;
    }
    // Sets in any order; a set too narrow one way is not "larger".
    const std::array<PictureSetSize, 3> mixed{{{96, 96}, {80, 40}, {64, 64}}};
    EXPECT_EQ(ChoosePictureSet(mixed, 60, 60).index, 2);
    EXPECT_EQ(ChoosePictureSet(std::span<const PictureSetSize>{}, 48, 48).index, -1);
}

TEST(AreaFilter, EverySourcePixelGivesAwayItsWholeWeightAtOddRatios) {
    for (auto [source, target] : {std::pair{96, 60}, std::pair{72, 60}, std::pair{48, 36},
                                  std::pair{27, 23}, std::pair{7, 3}, std::pair{3, 7}}) {
        std::vector<std::int64_t> given(static_cast<std::size_t>(source));
        for (int t = 0; t < target; ++t) {
            const AreaSpan span = AreaSourceSpan(source, target, t);
            std::int64_t sum = 0;
            for (int s = 0; s < source; ++s) {
                const std::int64_t w = AreaWeight(source, target, t, s);
                EXPECT_EQ(w > 0, s >= span.first && s < span.end) << source << "->" << target;
                sum += w;
                given[static_cast<std::size_t>(s)] += w;
            }
            EXPECT_EQ(sum, source);
        }
        for (std::int64_t g : given)
            EXPECT_EQ(g, target) << source << "->" << target;
    }
}

std::vector<std::uint8_t> Filled(int w, int h, std::array<std::uint8_t, 4> px) {
    std::vector<std::uint8_t> v;
    for (int i = 0; i < w * h; ++i)
        v.insert(v.end(), px.begin(), px.end());
    return v;
}

TEST(AreaFilter, KeepsFlatColoursAndBlocksAndLendsNoColourFromTransparentPixels) {
    // A 2 x 2 block of one colour in a transparent 4 x 4 picture: halved, it is one pixel of
    // exactly that colour.
    std::vector<std::uint8_t> block = Filled(4, 4, {0, 0, 0, 0});
    for (int y : {0, 1})
        for (int x : {0, 1})
            std::copy_n(std::array<std::uint8_t, 4>{10, 200, 30, 255}.begin(), 4,
                        &block[std::size_t(y * 4 + x) * 4]);
    const std::vector<std::uint8_t> half = ResampleArea(block, 4, 4, 2, 2);
    ASSERT_EQ(half.size(), 16u);
    EXPECT_EQ(std::vector<std::uint8_t>(half.begin(), half.begin() + 4),
              (std::vector<std::uint8_t>{10, 200, 30, 255}));
    for (std::size_t i = 4; i < 16; i += 4)
        EXPECT_EQ(half[i + 3], 0);

    // A flat half-transparent colour stays exactly that colour at an odd ratio.
    const std::vector<std::uint8_t> flat =
        ResampleArea(Filled(96, 96, {7, 99, 201, 77}), 96, 96, 60, 60);
    EXPECT_EQ(flat, Filled(60, 60, {7, 99, 201, 77}));

    // White beside transparent black: the average is half-transparent white, not grey.
    const std::vector<std::uint8_t> edge{255, 255, 255, 255, 0, 0, 0, 0};
    EXPECT_EQ(ResampleArea(edge, 2, 1, 1, 1), (std::vector<std::uint8_t>{255, 255, 255, 128}));

    EXPECT_TRUE(ResampleArea(edge, 2, 1, 0, 1).empty());
    EXPECT_TRUE(ResampleArea(edge, 2, 2, 1, 1).empty()) << "too few bytes";
    EXPECT_TRUE(ResampleArea(edge, 2, 1, kMaxTargetSide + 1, 1).empty());
}

// A picture made up as it is read, recording which pixels were asked for.
struct Recorder {
    int minX = 1 << 30, maxX = -1, minY = 1 << 30, maxY = -1;
    RgbaRows Rows(int w, int h) {
        return RgbaRows{w, h, [this](int y, int x0, int x1, std::uint8_t* out) {
                            minX = std::min(minX, x0), maxX = std::max(maxX, x1);
                            minY = std::min(minY, y), maxY = std::max(maxY, y + 1);
                            for (int x = x0; x < x1; ++x, out += 4) {
                                out[0] = std::uint8_t(x), out[1] = std::uint8_t(y);
                                out[2] = std::uint8_t(x ^ y),
                                out[3] = std::uint8_t(128 + (x & 127));
                            }
                        }};
    }
};

TEST(AreaFilter, APartReadsOnlyTheSourceUnderItAndMatchesTheWholePicture) {
    Recorder whole, part;
    std::vector<std::uint8_t> all(std::size_t(60) * 45 * 4), piece(std::size_t(7) * 5 * 4);
    ASSERT_TRUE(ResampleAreaPart(whole.Rows(96, 72), 60, 45, tk::TRect{0, 0, 60, 45}, all.data()));
    ASSERT_TRUE(
        ResampleAreaPart(part.Rows(96, 72), 60, 45, tk::TRect{20, 30, 27, 35}, piece.data()));
    for (int y = 0; y < 5; ++y)
        EXPECT_TRUE(std::equal(piece.begin() + y * 28, piece.begin() + y * 28 + 28,
                               all.begin() + ((30 + y) * 60 + 20) * 4))
            << y;
    EXPECT_EQ(part.minX, 32); // 20 x 96 / 60
    EXPECT_EQ(part.maxX, 44); // ceil(27 x 96 / 60)
    EXPECT_EQ(part.minY, 48);
    EXPECT_EQ(part.maxY, 56);

    // A 65535 x 65535 picture at 200 %: a 150 x 300 window reads about 75 x 150 source
    // pixels.
    Recorder huge;
    const ScaledPlacement at =
        PlaceScaledPicture(tk::TRect{0, 0, 150, 300}, tk::TRect{0, 0, 150, 300}, 65535, 65535, 192);
    EXPECT_EQ(at.placed.left, (150 - 131070) / 2);
    EXPECT_EQ(at.placed.right - at.placed.left, 131070);
    ASSERT_EQ(at.visible.right - at.visible.left, 150);
    ASSERT_EQ(at.visible.bottom - at.visible.top, 300);
    std::vector<std::uint8_t> shown(std::size_t(150) * 300 * 4);
    ASSERT_TRUE(
        ResampleAreaPart(huge.Rows(65535, 65535), 131070, 131070, at.visible, shown.data()));
    EXPECT_LE(huge.maxX - huge.minX, 76); // a pixel more where the part starts mid-pixel
    EXPECT_LE(huge.maxY - huge.minY, 151);

    // Parts outside the target or sizes beyond the limits are refused.
    EXPECT_FALSE(
        ResampleAreaPart(part.Rows(96, 72), 60, 45, tk::TRect{50, 0, 61, 1}, piece.data()));
    EXPECT_FALSE(ResampleAreaPart(part.Rows(96, 72), 60, 45, tk::TRect{5, 5, 5, 6}, piece.data()));
    EXPECT_FALSE(
        ResampleAreaPart(part.Rows(65536, 1), 60, 45, tk::TRect{0, 0, 1, 1}, piece.data()));
}

TEST(ScaledPicture, AtDesignDpiPlacesAsTheImageControlAndCutsToAreaAndClip) {
    const tk::TRect area{10, 20, 110, 220};
    ScaledPlacement at = PlaceScaledPicture(area, area, 41, 300, 96);
    EXPECT_EQ(at.placed.left, 10 + (100 - 41) / 2);
    EXPECT_EQ(at.placed.top, 20 + (200 - 300) / 2); // -50: truncated toward zero
    EXPECT_EQ(at.visible.left, 0);
    EXPECT_EQ(at.visible.top, 50);
    EXPECT_EQ(at.visible.right, 41);
    EXPECT_EQ(at.visible.bottom, 250);

    at = PlaceScaledPicture(area, tk::TRect{0, 0, 60, 60}, 40, 40, 144); // 60 x 60 at (30, 90)
    EXPECT_EQ(at.placed.left, 30);
    EXPECT_EQ(at.placed.right, 90);
    EXPECT_TRUE(at.visible.right <= at.visible.left || at.visible.bottom <= at.visible.top)
        << "the clip lies above the picture";
}

} // namespace
