// DrawPngImage's disabled looks, PngToIcon on both library paths and the bitmap conversions.
#include "memory_canvas.h"
#include "png/png_blend.h"
#include "png/png_functions_win32.h"
#include "png/png_picture_format_win32.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;
using pictest::MemoryCanvas;

TEST(PngFunctionsWin32, DrawPngImageDrawsDisabledCopiesOnly) {
    TPNGObject png;
    Read(png, BuildPng(Image{1, 1, 8, 6, {255, 0, 0, 255}}, false));
    MemoryCanvas plain(1, 1, RGB(255, 255, 255)), blended(1, 1, RGB(255, 255, 255)),
        grey(1, 1, RGB(0, 0, 0));
    DrawPngImage(png, plain.canvas(), tk::TRect{0, 0, 1, 1}, 0);
    DrawPngImage(png, blended.canvas(), tk::TRect{0, 0, 1, 1}, pngBlendOnDisabled);
    DrawPngImage(png, grey.canvas(), tk::TRect{0, 0, 1, 1}, pngGrayscaleOnDisabled);
    EXPECT_EQ(plain.at(0, 0), 0xFF0000u);
    EXPECT_EQ(blended.at(0, 0), 0xFF7F7Fu); // alpha 128 over white
    EXPECT_EQ(grey.at(0, 0), 0x4C4C4Cu);
    EXPECT_EQ(PixelColor(png, 0, 0), 0x0000FFu); // the stored image is unchanged
    EXPECT_EQ(png.AlphaRow(0)[0], 255);
}

namespace {

struct IconBits {
    int width = 0, height = 0, bits = 0;
    std::vector<std::uint8_t> colour; // 32-bit pixels, top row first
    std::vector<std::uint8_t> mask;   // 32-bit pixels of the mask, top row first
};

std::vector<std::uint8_t> Pixels32(HBITMAP bitmap, int w, int h) {
    std::vector<std::uint8_t> out(std::size_t(w) * std::size_t(h) * 4);
    BITMAPINFO bi = TopDownInfo32(w, h);
    tk::WindowDc screen(nullptr);
    GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(h), out.data(), &bi, DIB_RGB_COLORS);
    return out;
}

IconBits ReadIcon(HICON icon) {
    IconBits r;
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info))
        return r;
    BITMAP bm{};
    GetObjectA(info.hbmColor, sizeof bm, &bm);
    r.width = bm.bmWidth;
    r.height = bm.bmHeight;
    r.bits = bm.bmBitsPixel;
    r.colour = Pixels32(info.hbmColor, r.width, r.height);
    r.mask = Pixels32(info.hbmMask, r.width, r.height);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    return r;
}

} // namespace

// Pixel 0: red at alpha 255; pixel 1: green at alpha 0; pixel 2: blue at alpha 128.
TEST(PngFunctionsWin32, PngToIconOnBothLibraryPaths) {
    TPNGObject png;
    Read(png, BuildPng(Image{3, 1, 8, 6, {255, 0, 0, 255, 0, 255, 0, 0, 0, 0, 255, 128}}, false));

    const IconBits modern = ReadIcon(PngToIconForVersion(png, tk::clWhite, 0x60000));
    ASSERT_EQ(modern.width, 3);
    ASSERT_EQ(modern.bits, 32);
    EXPECT_EQ((std::vector<int>{modern.colour[2], modern.colour[3]}), (std::vector<int>{255, 255}));
    EXPECT_EQ(modern.colour[7], 0); // alpha 0 kept
    EXPECT_EQ((std::vector<int>{modern.colour[8], modern.colour[11]}),
              (std::vector<int>{255, 128}));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(modern.mask[std::size_t(i) * 4], 0) << i; // the mask is all opaque

    // Common controls 5.81 (what Wine reports): composited on the background, masked on alpha 0.
    const IconBits older = ReadIcon(PngToIconForVersion(png, RGB(0, 0, 0), 0x50051));
    ASSERT_EQ(older.width, 3);
    EXPECT_EQ(older.colour[2], 255);                       // red over black
    EXPECT_EQ(older.colour[8], BlendChannel(128, 255, 0)); // blue blended at 128
    EXPECT_EQ(older.mask[0], 0);
    EXPECT_EQ(older.mask[4], 255); // alpha 0: transparent
    EXPECT_EQ(older.mask[8], 0);

    HICON icon = PngToIcon(png, tk::clWhite);
    EXPECT_NE(icon, nullptr);
    DestroyIcon(icon);
}

TEST(PngFunctionsWin32, BitmapsBecomePngImages) {
    tk::TBitmap bitmap;
    bitmap.SetPixelFormat(tk::TPixelFormat::pf24bit);
    bitmap.SetSize(3, 2);
    bitmap.SetPixel(0, 0, RGB(10, 20, 30));
    bitmap.SetPixel(1, 0, RGB(255, 0, 255));
    bitmap.SetPixel(2, 1, RGB(1, 2, 3));

    const auto keyed = BitmapKeyToPng(bitmap, RGB(255, 0, 255));
    EXPECT_EQ(PixelColor(*keyed, 0, 0), 0x1E140Au);
    EXPECT_EQ((std::vector<int>{keyed->AlphaRow(0)[0], keyed->AlphaRow(0)[1]}),
              (std::vector<int>{255, 0}));
    const auto none = BitmapKeyToPng(bitmap, RGB(7, 7, 7)); // no pixel has it: opaque
    for (int x = 0; x < 3; ++x)
        EXPECT_EQ(none->AlphaRow(1)[x], 255);

    // Keys compare as given: clNone and system colours are no pixel's colour, whatever they
    // resolve to.
    bitmap.SetPixel(1, 1, RGB(255, 255, 255));
    bitmap.SetPixel(2, 1, GetSysColor(COLOR_BTNFACE));
    for (tk::TColor key : {tk::clNone, tk::clBtnFace}) {
        EXPECT_EQ(BitmapKeyToPng(bitmap, key)->AlphaRow(1)[1], 255) << std::hex << key;
        EXPECT_EQ(BitmapKeyToPng(bitmap, key)->AlphaRow(1)[2], 255) << std::hex << key;
        bitmap.SetTransparent(true);
        bitmap.SetTransparentColor(key);
        EXPECT_EQ(GraphicToPng(bitmap)->AlphaRow(1), nullptr) << "no pixel is transparent";
        bitmap.SetTransparent(false);
    }
    bitmap.SetTransparentMode(tk::TTransparentMode::tmAuto);
    bitmap.SetPixel(1, 1, 0);
    bitmap.SetPixel(2, 1, RGB(1, 2, 3));

    tk::TBitmap mask;
    mask.SetPixelFormat(tk::TPixelFormat::pf24bit);
    mask.SetSize(3, 2);
    mask.SetPixel(0, 0, RGB(200, 0, 0));
    const auto masked = BitmapAndMaskToPng(bitmap, mask, false);
    EXPECT_EQ(masked->AlphaRow(0)[0], 200);
    EXPECT_EQ(masked->AlphaRow(0)[1], 0);
    EXPECT_EQ(BitmapAndMaskToPng(bitmap, mask, true)->AlphaRow(0)[0], 55);

    // A transparent bitmap (automatic mode: the bottom-left pixel's colour, black here).
    bitmap.SetTransparent(true);
    const auto graphic = GraphicToPng(bitmap);
    EXPECT_EQ(graphic->AlphaRow(1)[0], 0);
    EXPECT_EQ(graphic->AlphaRow(1)[2], 255);
    EXPECT_EQ(PixelColor(*graphic, 2, 1), 0x030201u);
    {
        // Drawn, its key-coloured pixels leave the canvas as it was.
        tk::TBitmap target;
        target.SetPixelFormat(tk::TPixelFormat::pf24bit);
        target.SetSize(3, 2);
        for (int x = 0; x < 3; ++x)
            target.SetPixel(x, 1, RGB(255, 255, 255));
        tk::FontCache fonts;
        tk::TCanvas canvas{fonts};
        canvas.setHandle(target.CanvasHandle());
        bitmap.Draw(canvas, tk::TRect{0, 0, 3, 2});
        canvas.setHandle(nullptr);
        EXPECT_EQ(target.Pixel(0, 1), RGB(255, 255, 255));
        EXPECT_EQ(target.Pixel(2, 1), RGB(1, 2, 3));
    }

    // Assignment (through the platform the picture format installs): an RGB image with the
    // transparent colour as key colour.
    const TPngPictureFormat format;
    TPNGObject assigned;
    assigned.Assign(bitmap);
    EXPECT_EQ(assigned.HeaderChunk().ColorType(), COLOR_RGB);
    EXPECT_EQ(assigned.TransparencyKind(), tkKeyColor);
    EXPECT_EQ(assigned.KeyColor(), 0u);
    EXPECT_EQ(PixelColor(assigned, 1, 0), 0xFF00FFu);
    tk::TIcon other;
    EXPECT_THROW(assigned.Assign(other), tk::EConvertError);
}

TEST(PngFunctionsWin32, IconsBecomePngImagesWithTheirOwnAlpha) {
    TPNGObject png;
    Read(png, BuildPng(Image{2, 1, 8, 6, {255, 0, 0, 255, 0, 0, 255, 90}}, false));
    tk::TIcon icon;
    icon.SetHandle(PngToIconForVersion(png, tk::clWhite, 0x60000));
    ASSERT_EQ(icon.Width(), 2);
    ASSERT_TRUE(IsWindowsXPOrLater());
    const auto back = GraphicToPng(icon);
    ASSERT_EQ(back->HeaderChunk().ColorType(), COLOR_RGBALPHA);
    EXPECT_EQ(back->AlphaRow(0)[0], 255);
    EXPECT_EQ(back->AlphaRow(0)[1], 90);
    EXPECT_EQ(PixelColor(*back, 0, 0), 0x0000FFu);
    const auto copy = GraphicToPng(png); // a PNG image: a copy
    EXPECT_EQ(copy->AlphaRow(0)[1], 90);
}
