// The About window's texts and placement, without a window.
#include "about/about_placement.h"
#include "about/about_texts.h"

#include <gtest/gtest.h>

#include <string>

namespace sc {
namespace {

TEST(AboutPlacement, CentresOnTheMainWindowByOuterSizes) {
    EXPECT_EQ(aboutOrigin(100, 100, 666, 512, 529, 324), (WindowOrigin{168, 194}));
    // Differences that do not halve evenly lose their half pixel.
    EXPECT_EQ(aboutOrigin(0, 0, 530, 325, 529, 324), (WindowOrigin{0, 0}));
}

TEST(AboutPlacement, NegativeDifferencesTruncateTowardZeroAndStayOffScreen) {
    // -7 div 2 is -3, not -4.
    EXPECT_EQ(aboutOrigin(10, 20, 522, 317, 529, 324), (WindowOrigin{7, 17}));
    EXPECT_EQ(aboutOrigin(-200, -50, 100, 100, 529, 324), (WindowOrigin{-414, -162}));
}

TEST(AboutTexts, FromTitleVersionCompanyAndYear) {
    const AboutTexts t = aboutTexts("Quillmark", "4.2.0.118", "Fernhollow Media Ltd.", 2031);
    EXPECT_EQ(t.caption, "About Quillmark");
    EXPECT_EQ(t.titleLine, "Quillmark 4.2.0.118");
    EXPECT_EQ(t.copyrightLine, "Copyright \xC2\xA9 2006-2031 Fernhollow Media Ltd.");
    EXPECT_EQ(t.versionLabel, "4.2.0.118");
}

TEST(AboutTexts, EmptyValuesLeaveTheSpacesInPlace) {
    const AboutTexts t = aboutTexts("Quillmark", "", "", 2005);
    EXPECT_EQ(t.titleLine, "Quillmark ");
    // The year goes in unchanged, even before 2006.
    EXPECT_EQ(t.copyrightLine, "Copyright \xC2\xA9 2006-2005 ");
    EXPECT_EQ(t.versionLabel, "");
}

TEST(AboutTexts, PercentAndAmpersandInTheValuesStayAsTheyAre) {
    const AboutTexts t = aboutTexts("50% R&D", "1.0 %d %s", "100% R&&D %s %d %", 2031);
    EXPECT_EQ(t.caption, "About 50% R&D");
    EXPECT_EQ(t.titleLine, "50% R&D 1.0 %d %s");
    EXPECT_EQ(t.copyrightLine, "Copyright \xC2\xA9 2006-2031 100% R&&D %s %d %");
    EXPECT_EQ(t.versionLabel, "1.0 %d %s");
}

} // namespace
} // namespace sc
