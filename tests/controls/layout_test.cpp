// Where the main window's two buttons put picture, caption and focus rectangle, and which look
// and theme state they use.
#include "controls/button_layout.h"

#include <gtest/gtest.h>

namespace sc::controls {
namespace {

ButtonGeometry help(bool themed, bool pressed) {
    ButtonGeometry g;
    g.width = 46;
    g.height = 42;
    g.useThemes = themed;
    g.showPressed = pressed;
    g.hasPicture = true;
    g.glyphWidth = g.glyphHeight = 32;
    return g;
}

TEST(ButtonLayout, HelpButtonPictureAndFocus) {
    EXPECT_EQ(glyphRect(help(false, false)), (Rect{7, 5, 39, 37}));
    EXPECT_EQ(glyphRect(help(true, false)), (Rect{7, 5, 39, 37}));
    EXPECT_EQ(glyphRect(help(false, true)), (Rect{8, 6, 40, 38}));
    EXPECT_EQ(glyphRect(help(true, true)), (Rect{8, 5, 40, 37}));
    EXPECT_EQ(focusRect(help(false, false)), (Rect{4, 4, 42, 38}));
    EXPECT_EQ(focusRect(help(true, false)), (Rect{3, 3, 43, 39}));
    // The hot-track look follows the picture's steps: the caption rectangle stays, the picture
    // moves up-left and back, so a pressed picture does not move.
    ButtonGeometry hot = help(false, true);
    hot.hotTrack = true;
    EXPECT_EQ(glyphRect(hot), (Rect{7, 5, 39, 37}));
    ButtonGeometry grouped = help(false, false);
    grouped.grouped = grouped.down = true;
    EXPECT_EQ(focusRect(grouped), (Rect{5, 5, 43, 39}));
}

TEST(ButtonLayout, OkButtonCaptionBesideThePicture) {
    ButtonGeometry ok = help(false, false);
    ok.width = 81;
    EXPECT_EQ(glyphRect(ok), (Rect{7, 5, 39, 37}));
    EXPECT_EQ(captionRect(ok), (Rect{43, 5, 76, 37}));
    EXPECT_EQ(textRect(captionRect(ok), 13, avCenter), (Rect{43, 14, 76, 27}));
    EXPECT_EQ(textRect(captionRect(ok), 13, avTop), (Rect{43, 5, 76, 18}));
    EXPECT_EQ(textRect(captionRect(ok), 13, avBottom), (Rect{43, 23, 76, 37}));
    ok.showPressed = true;
    EXPECT_EQ(captionRect(ok), (Rect{44, 6, 77, 38}));
    EXPECT_EQ(glyphRect(ok), (Rect{8, 6, 40, 38}));
    ok.useThemes = true; // the themed caption stays
    EXPECT_EQ(captionRect(ok), (Rect{43, 5, 76, 37}));
    // Without a picture the caption takes the whole content area.
    ok = help(false, false);
    ok.width = 81;
    ok.hasPicture = false;
    EXPECT_EQ(captionRect(ok), (Rect{5, 5, 76, 37}));
}

TEST(ButtonLayout, MeasuredPlacementAndOtherSides) {
    ButtonGeometry ok = help(false, false);
    ok.width = 81;
    ok.margin = -1;
    EXPECT_EQ(glyphRect(ok), (Rect{5, 5, 37, 37}));
    EXPECT_EQ(captionRect(ok).left, 5 + 4 + 32 - 1);
    ok.layout = blGlyphRight;
    EXPECT_EQ(glyphRect(ok), (Rect{44, 5, 76, 37}));
    ok.rightToLeft = true;
    ok.layout = blGlyphLeft; // becomes right in right-to-left reading
    EXPECT_EQ(glyphRect(ok), (Rect{44, 5, 76, 37}));

    ButtonGeometry tall;
    tall.width = 60;
    tall.height = 70;
    tall.hasPicture = true;
    tall.glyphWidth = tall.glyphHeight = 32;
    tall.captionHeight = 13;
    tall.margin = -1;
    tall.layout = blGlyphTop;
    int d = (70 - (32 + 13 + 4)) / 2; // 10
    EXPECT_EQ(glyphRect(tall), (Rect{14, d, 46, d + 32}));
    EXPECT_EQ(captionRect(tall), (Rect{5, 5 + d + 32, 55, 5 + d + 32 + 13}));
    tall.layout = blGlyphBottom;
    EXPECT_EQ(glyphRect(tall), (Rect{14, 5 + 13 + d, 46, 5 + 13 + d + 32}));
    EXPECT_EQ(captionRect(tall), (Rect{5, 5 + d, 55, 5 + d + 13}));
    tall.margin = 3;
    EXPECT_EQ(glyphRect(tall), (Rect{14, 65 - 3 - 32, 46, 65 - 3}));
    EXPECT_EQ(captionRect(tall), (Rect{5, 5, 55, 65 - 3 - 32 - 4}));
}

// At 144 DPI the buttons are 69 x 63 and 122 x 63 with 48-pixel pictures; Margin 2 and Spacing
// 4 become 3 and 6, while the frame insets (5 for the content, 3 or 4 for the focus) stay.
TEST(ButtonLayout, ScaledMarginAndSpacingAt144Dpi) {
    ButtonGeometry g = help(false, false);
    g.width = 69;
    g.height = 63;
    g.glyphWidth = g.glyphHeight = 48;
    g.margin = scaledMargin(2, 144);
    g.spacing = scaledSpacing(4, 144);
    EXPECT_EQ(g.margin, 3);
    EXPECT_EQ(g.spacing, 6);
    EXPECT_EQ(glyphRect(g), (Rect{8, 8, 56, 56}));
    EXPECT_EQ(focusRect(g), (Rect{4, 4, 65, 59}));
    g.showPressed = true;
    EXPECT_EQ(glyphRect(g), (Rect{9, 9, 57, 57}));

    ButtonGeometry ok = g;
    ok.showPressed = false;
    ok.width = 122;
    EXPECT_EQ(captionRect(ok), (Rect{62, 5, 117, 58}));
    EXPECT_EQ(textRect(captionRect(ok), 21, avCenter), (Rect{62, 21, 117, 42}));

    // Margin -1 chooses the measured placement and is no distance to scale.
    EXPECT_EQ(scaledMargin(-1, 144), -1);
    EXPECT_EQ(scaledMargin(2, 120), 3);
    EXPECT_EQ(scaledSpacing(4, 168), 7);
    EXPECT_EQ(scaledMargin(2, 96), 2);
}

TEST(ButtonLayout, LookAndThemedState) {
    EXPECT_EQ(chooseLook(true, true), Look::themed);
    EXPECT_EQ(chooseLook(false, true), Look::hotTrack);
    EXPECT_EQ(chooseLook(false, false), Look::classic);
    ThemedStateInput in;
    EXPECT_EQ(themedState(in), pbsNormal);
    in.focused = true;
    EXPECT_EQ(themedState(in), pbsDefaulted);
    in.grouped = true;
    EXPECT_EQ(themedState(in), pbsNormal);
    in.mouseOver = true;
    EXPECT_EQ(themedState(in), pbsHot);
    in.showPressed = true;
    EXPECT_EQ(themedState(in), pbsPressed);
    in.enabled = false;
    EXPECT_EQ(themedState(in), pbsDisabled);
}

} // namespace
} // namespace sc::controls
