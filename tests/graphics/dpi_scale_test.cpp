// Scaling design figures (96-DPI pixels) to a DPI: MulDiv's rounding, negative figures, limits.
#include "graphics/dpi_scale.h"

#include <gtest/gtest.h>

namespace tk {
namespace {

struct Box {
    int left, top, width, height;
    bool operator==(const Box&) const = default;
};

TEST(DpiScale, RoundsAsMulDivAtTheCommonScales) {
    struct Case {
        int dpi, font, row80, row75, offset25;
    };
    // Halves round away from zero: -16.5 to -17, 112.5 to 113, 37.5 to 38.
    for (const Case& c :
         {Case{96, -11, 80, 75, 25}, Case{120, -14, 100, 94, 31}, Case{144, -17, 120, 113, 38},
          Case{168, -19, 140, 131, 44}, Case{192, -22, 160, 150, 50}}) {
        EXPECT_EQ(scaleToDpi(-11, c.dpi), c.font) << c.dpi;
        EXPECT_EQ(scaleToDpi(80, c.dpi), c.row80) << c.dpi;
        EXPECT_EQ(scaleToDpi(75, c.dpi), c.row75) << c.dpi;
        EXPECT_EQ(scaleToDpi(25, c.dpi), c.offset25) << c.dpi;
    }
    EXPECT_EQ(scaleToDpi(-7, 144), -11); // negative offsets mirror positive ones
    EXPECT_EQ(scaleToDpi(7, 144), 11);
    EXPECT_EQ(scaleToDpi(-1, 120), -1);
    EXPECT_EQ(scaleToDpi(0, 192), 0);
}

TEST(DpiScale, MulDivLimits) {
    EXPECT_EQ(mulDiv(5, 3, 0), -1);
    EXPECT_EQ(mulDiv(2000000000, 480, 96), -1); // beyond int
    EXPECT_EQ(mulDiv(-3, 1, 2), -2);
    EXPECT_EQ(mulDiv(3, 1, -2), -2);
    EXPECT_EQ(mulDiv(-3, -1, -2), -2);
    EXPECT_EQ(clampDpi(0), kMinDpi);
    EXPECT_EQ(clampDpi(100000), kMaxDpi);
    EXPECT_EQ(clampDpi(144), 144);
}

// Each figure scaled on its own from the design: a width of 10 at 144 DPI is 15, where a chain
// of DPI changes through 192, 168 and 120 back to 144 would have drifted to 16.
TEST(DpiScale, BoundsScaleEachDesignFigure) {
    const Box design{8, 424, 10, 9};
    EXPECT_EQ(scaleBounds(design, 144), (Box{12, 636, 15, 14}));
    EXPECT_EQ(scaleBounds(design, 96), design);
    EXPECT_EQ(scaleBounds(Box{-8, -3, 0, 1}, 144), (Box{-12, -5, 0, 2}));
}

} // namespace
} // namespace tk
