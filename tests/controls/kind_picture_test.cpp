// Kind pictures brought to another size: each picture on its own, keyed pixels kept apart from
// coloured ones, never enlarged.
#include "controls/kind_picture_scaling.h"

#include <gtest/gtest.h>

#include <set>

namespace {

using sc::controls::FitKeyedPictures;
using sc::controls::KeyedPicture;

constexpr std::uint32_t kOlive = 0x808000, kRed = 0xC00000, kGrey = 0xA0A0A0;

// Two side x side pictures on olive: a red block in the middle third of the left one, a grey
// band across the right one up to its left edge, so that a careless filter would bleed grey into
// the left one.
KeyedPicture TwoPictures(int side) {
    const int w = 2 * side;
    KeyedPicture p{w, side, std::vector<std::uint32_t>(std::size_t(w * side), kOlive)};
    for (int y = side / 3; y < 2 * side / 3; ++y)
        for (int x = 0; x < side; ++x) {
            if (x >= side / 3 && x < 2 * side / 3)
                p.pixels[std::size_t(y * w + x)] = kRed;
            p.pixels[std::size_t(y * w + side + x)] = kGrey;
        }
    return p;
}

TEST(KindPictures, ReducedEachOnItsOwnWithoutBlendedColoursAndNeverEnlarged) {
    const KeyedPicture at120 = FitKeyedPictures(TwoPictures(27), 23); // the 1.5x set reduced
    ASSERT_EQ(at120.width, 46);
    ASSERT_EQ(at120.height, 23);
    std::set<std::uint32_t> left, right;
    for (int y = 0; y < 23; ++y)
        for (int x = 0; x < 46; ++x)
            (x < 23 ? left : right).insert(at120.pixels[std::size_t(y * 46 + x)]);
    EXPECT_EQ(left, (std::set<std::uint32_t>{kOlive, kRed}));
    EXPECT_EQ(right, (std::set<std::uint32_t>{kOlive, kGrey}));
    EXPECT_EQ(at120.pixels[std::size_t(11 * 46 + 11)], kRed);
    EXPECT_EQ(at120.pixels[std::size_t(22 * 46)], kOlive) << "the key stays bottom-left";

    const KeyedPicture source = TwoPictures(18);
    EXPECT_EQ(FitKeyedPictures(source, 18).pixels, source.pixels);
    const KeyedPicture larger = FitKeyedPictures(source, 20); // centred, one pixel of key around
    ASSERT_EQ(larger.width, 40);
    EXPECT_EQ(larger.pixels[std::size_t(7 * 40 + 7)], kRed);
    EXPECT_EQ(larger.pixels[std::size_t(7 * 40 + 6)], kOlive);
    EXPECT_EQ(larger.pixels[std::size_t(7 * 40 + 20)], kOlive);
    EXPECT_EQ(larger.pixels[std::size_t(7 * 40 + 21)], kGrey);

    EXPECT_TRUE(FitKeyedPictures(KeyedPicture{35, 18, std::vector<std::uint32_t>(35 * 18)}, 23)
                    .pixels.empty());
    EXPECT_TRUE(FitKeyedPictures(source, 0).pixels.empty());
}

} // namespace
