// Pictures at a system DPI of 144: the main window's lists hold the pictures rendered at 1.5
// times their size, not enlargements of the 48-pixel ones, and the About logo is drawn scaled
// with the area filter.
#include "Main/main_form.h"
#include "Main/main_image_lists.h"
#include "about/about_form.h"
#include "app/product_profile.h"
#include "at_144_fixture.h"
#include "png/png_image_list.h"
#include "png/png_scaled_pictures.h"
#include "png/png_stream.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace sc {
namespace {

std::vector<std::uint8_t> rgbaOf(const png::TPNGObject& image) {
    std::vector<std::uint8_t> out(std::size_t(image.Width()) * std::size_t(image.Height()) * 4);
    for (int y = 0; y < image.Height(); ++y)
        png::ReadRgbaPixels(image, y, 0, image.Width(), &out[std::size_t(y * image.Width()) * 4]);
    return out;
}

std::vector<std::uint8_t> decodedRgba(std::span<const unsigned char> data) {
    png::TPNGObject image;
    png::TPngMemoryStream stream(data.data(), data.size());
    image.ReadPng(stream);
    return rgbaOf(image);
}

using PicturesAt144 = test::WindowsAt144;

TEST_F(PicturesAt144, TheCategoryPictureIsTheRendered72PixelOneNotAnEnlargement) {
    auto& list = form->component<png::TPngImageList>("PngImageListMain");
    ASSERT_EQ(list.Width(), 72);
    ASSERT_EQ(list.Height(), 72);
    const tk::PngImageListDefinition stored = mainWindowImageLists()[0];
    const std::vector<std::uint8_t> shown = rgbaOf(*list.PngImages().ItemAt(0)->PngImage());
    EXPECT_EQ(shown, decodedRgba(stored.scaledSets[0].pngData[0]));
    const std::vector<std::uint8_t> small = decodedRgba(stored.pngImages[0].pngData);
    int differing = 0;
    for (int y = 0; y < 72; ++y)
        for (int x = 0; x < 72; ++x)
            differing += std::memcmp(&shown[std::size_t(y * 72 + x) * 4],
                                     &small[std::size_t(y * 2 / 3 * 48 + x * 2 / 3) * 4], 4) != 0;
    EXPECT_GT(differing, 72 * 72 / 4) << "a nearest-pixel enlargement of the 48-pixel picture";
    EXPECT_EQ(form->component<png::TPngImageList>("PngImageListButton").Width(), 48);
}

// A 2 x 2 logo of single red and blue pixels: at 1.5 times, 3 x 3 pixels whose middle averages
// all four (a nearest-pixel enlargement has no such colour), centred in the logo's control.
TEST_F(PicturesAt144, TheAboutLogoIsDrawnScaledWithTheAreaFilter) {
    const ProductProfile profile{"Quillmark", "", "", ""};
    TFormAbout about(*form, profile);
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
