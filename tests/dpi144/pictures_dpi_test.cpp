// Pictures at a system DPI of 144: the main window's lists hold pictures of 1.5 times their
// size, and the About logo is drawn scaled with the area filter.
#include "Main/main_form.h"
#include "about/about_form.h"
#include "app/product_profile.h"
#include "at_144_fixture.h"
#include "png/png_image_list.h"
#include "png/png_scaled_pictures.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <memory>

namespace sc {
namespace {

using PicturesAt144 = test::WindowsAt144;

// Which pictures they are, the end-to-end test at 144 compares with the artwork.
TEST_F(PicturesAt144, TheListsHoldPicturesOfOneAndAHalfTimesTheirSize) {
    EXPECT_EQ(form->component<png::TPngImageList>("PngImageListMain").Width(), 72);
    EXPECT_EQ(form->component<png::TPngImageList>("PngImageListData").Height(), 72);
    EXPECT_EQ(form->component<png::TPngImageList>("PngImageListButton").Width(), 48);
}

// A 2 x 2 logo of single red and blue pixels: at 1.5 times, 3 x 3 pixels whose middle averages
// all four (a nearest-pixel enlargement has no such colour), centred in the logo's control.
TEST_F(PicturesAt144, TheAboutLogoIsDrawnScaledWithTheAreaFilter) {
    const ProductProfile profile{"Quillmark", "", "", ""};
    TFormAbout about(*form, profile, platform);
    const std::vector<std::uint8_t> checker{255, 0, 0,   255, 0,   0, 255, 255,
                                            0,   0, 255, 255, 255, 0, 0,   255};
    about.ImageLeft().Picture().SetGraphic(png::RgbaPng(2, 2, checker));
    about.show();
    test::pumpUntilIdle();
    tk::TImage& logo = about.ImageLeft();
    const int left = logo.left() + (logo.width() - 3) / 2;
    const int top = logo.top() + (logo.height() - 3) / 2;
    HDC dc = GetDC(logo.parentHandle());
    const COLORREF corner = GetPixel(dc, left, top), middle = GetPixel(dc, left + 1, top + 1),
                   last = GetPixel(dc, left + 2, top + 2), outside = GetPixel(dc, left - 1, top);
    ReleaseDC(logo.parentHandle(), dc);
    EXPECT_EQ(corner, RGB(255, 0, 0));
    EXPECT_EQ(middle, RGB(128, 0, 128));
    EXPECT_EQ(last, RGB(255, 0, 0));
    EXPECT_EQ(outside, RGB(255, 255, 255)) << "the panel's white around the logo";
}

} // namespace
} // namespace sc
