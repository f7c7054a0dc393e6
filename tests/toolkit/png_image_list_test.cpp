// PNG image lists as the main window loads them: drawing, the platform list, calls through the
// base type, change links. GDI memory bitmaps, no windows.
#include "Main/main_image_lists.h"
#include "pictures/memory_canvas.h"
#include "png/png_icon_strip.h"
#include "png/png_image_list.h"
#include "png/png_image_list_loader.h"
#include "toolkit/bitmap.h"
#include "toolkit/handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>

namespace sc::png {
namespace {

using pictest::MemoryCanvas;

// How many pixels of the canvas are not white.
int changedFromWhite(const MemoryCanvas& c) {
    const std::vector<std::uint32_t> all = c.pixels();
    return static_cast<int>(
        std::count_if(all.begin(), all.end(), [](std::uint32_t p) { return p != 0xFFFFFFu; }));
}

int channel(std::uint32_t rgb, int shift) {
    return static_cast<int>((rgb >> shift) & 0xFF);
}

std::unique_ptr<TPngImageList> loadDataList() {
    return LoadPngImageList(mainWindowImageLists()[1]);
}

// The first opaque pixel of the picture whose colour is far from white.
bool findOpaqueDarkPixel(const TPNGObject& png, int& px, int& py) {
    for (int y = 0; y < png.Height(); ++y) {
        const std::uint8_t* row = png.PixelRow(static_cast<std::uint32_t>(y));
        for (int x = 0; x < png.Width(); ++x) {
            const std::uint8_t* bgr = row + 3 * x;
            if (png.AlphaRow(static_cast<std::uint32_t>(y))[x] == 255 &&
                bgr[0] + bgr[1] + bgr[2] < 300) {
                px = x;
                py = y;
                return true;
            }
        }
    }
    return false;
}

TEST(PngImageList, LoadedFromTheMainWindowDefinitionDrawsItsFourteenPictures) {
    auto list = loadDataList();
    ASSERT_EQ(list->Count(), 14);
    EXPECT_EQ(list->Width(), 48);
    EXPECT_EQ(list->PngImages().ItemAt(13)->Name(), "PngImage13");
    EXPECT_EQ(list->PngImages().ItemAt(0)->Background(), tk::clWindow);
    ASSERT_TRUE(list->HandleAllocated());
    EXPECT_EQ(ImageList_GetImageCount(list->Handle()), 14);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list->Handle(), &cx, &cy);
    EXPECT_EQ(cx, 48);

    for (int index : {0, 13}) {
        MemoryCanvas target(64, 64, RGB(255, 255, 255));
        list->Draw(target.canvas(), 8, 8, index);
        EXPECT_GT(changedFromWhite(target), 200) << index;
        EXPECT_EQ(target.at(7, 7), 0xFFFFFFu) << "outside the picture's rectangle";
    }
    for (int index : {14, -1}) {
        MemoryCanvas target(64, 64, RGB(255, 255, 255));
        list->Draw(target.canvas(), 8, 8, index);
        EXPECT_EQ(changedFromWhite(target), 0) << index;
    }
}

TEST(PngImageList, DisabledDrawingHalvesTheAlphaUnlessTheOptionsAreEmpty) {
    auto list = loadDataList();
    const TPNGObject& png = *list->PngImages().ItemAt(9)->PngImage();
    int x = 0, y = 0;
    ASSERT_TRUE(findOpaqueDarkPixel(png, x, y));
    MemoryCanvas enabled(48, 48, RGB(255, 255, 255)), disabled(48, 48, RGB(255, 255, 255)),
        plain(48, 48, RGB(255, 255, 255));
    list->Draw(enabled.canvas(), 0, 0, 9, true);
    list->Draw(disabled.canvas(), 0, 0, 9, false);
    std::uint32_t colour = enabled.at(x, y);
    std::uint32_t faded = disabled.at(x, y);
    for (int shift : {0, 8, 16}) {
        // alpha 255 becomes 128: about half-way between the colour and the white below
        int expected = (channel(colour, shift) * 128 + 255 * 127) / 255;
        EXPECT_NEAR(channel(faded, shift), expected, 3) << shift;
    }
    EXPECT_EQ(png.AlphaRow(static_cast<std::uint32_t>(y))[x], 255) << "the stored image stays";

    list->SetPngOptions(0);
    list->Draw(plain.canvas(), 0, 0, 9, false);
    EXPECT_EQ(plain.at(x, y), colour);
}

TEST(PngImageList, ASizeChangeEmptiesTheListForGood) {
    auto list = loadDataList();
    list->SetWidth(32);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(ImageList_GetImageCount(list->Handle()), 0);
    list->SetWidth(48);
    EXPECT_EQ(list->Width(), 48);
    EXPECT_EQ(list->Count(), 0);
    EXPECT_EQ(ImageList_GetImageCount(list->Handle()), 0);
}

TEST(PngImageList, DisabledSystemListIsGreyWhileDrawingStaysInColour) {
    auto list = loadDataList();
    list->SetPngOptions(pngGrayscaleOnDisabled);
    list->SetEnabledImages(false);
    ASSERT_EQ(ImageList_GetImageCount(list->Handle()), 14);
    auto colourful = [](const MemoryCanvas& c) {
        int n = 0;
        for (int y = 0; y < 48; ++y) {
            for (int x = 0; x < 48; ++x) {
                std::uint32_t p = c.at(x, y);
                n += std::abs(channel(p, 16) - channel(p, 0)) > 8;
            }
        }
        return n;
    };
    MemoryCanvas icon(48, 48, RGB(255, 255, 255)), drawn(48, 48, RGB(255, 255, 255));
    ASSERT_TRUE(ImageList_Draw(list->Handle(), 4, icon.dc(), 0, 0, ILD_TRANSPARENT));
    EXPECT_GT(changedFromWhite(icon), 200);
    EXPECT_EQ(colourful(icon), 0) << "the system list holds grey icons";
    list->Draw(drawn.canvas(), 0, 0, 4, true);
    EXPECT_GT(colourful(drawn), 50) << "Draw uses the coloured PNG";
}

TEST(PngImageList, EditsThroughTheBaseTypeReachEachListsOwnVersion) {
    auto list = loadDataList();
    tk::TCustomImageList& base = *list;
    const TPNGObject* last = list->PngImages().ItemAt(13)->PngImage();
    base.Move(13, 0);
    EXPECT_EQ(list->PngImages().ItemAt(0)->PngImage(), last);
    base.Delete(0);
    EXPECT_EQ(list->PngImages().Count(), 13);
    EXPECT_EQ(ImageList_GetImageCount(list->Handle()), 13);

    // A plain list runs the base operations: pictures only in the platform list.
    tk::TImageList plain;
    plain.SetSize(48, 48);
    tk::TCustomImageList& plainBase = plain;
    plainBase.AddImage(list.get(), 3);
    plainBase.AddImages(list.get());
    EXPECT_EQ(plain.Count(), 14);
    MemoryCanvas target(48, 48, RGB(255, 255, 255));
    plain.Draw(target.canvas(), 0, 0, 0);
    EXPECT_GT(changedFromWhite(target), 200);

    // ... and a PNG list takes a plain list's picture as a PNG image with alpha.
    base.AddImage(&plain, 0);
    ASSERT_EQ(list->Count(), 14);
    const TPNGObject& taken = *list->PngImages().ItemAt(13)->PngImage();
    EXPECT_EQ(taken.Width(), 48);
    EXPECT_NE(taken.AlphaRow(0), nullptr);
    EXPECT_EQ(ImageList_GetImageCount(list->Handle()), 14);

    base.Clear();
    EXPECT_EQ(list->PngImages().Count(), 0);
    plainBase.Clear();
    EXPECT_EQ(plain.Count(), 0);
}

TEST(PngImageList, BitmapEditsOnBothListKindsKeepPicturesInOrder) {
    auto solid = [](COLORREF colour) {
        auto bitmap = std::make_unique<tk::TBitmap>();
        bitmap->SetPixelFormat(tk::TPixelFormat::pf24bit);
        bitmap->SetSize(16, 16);
        for (int y = 0; y < 16; ++y) {
            for (int x = 0; x < 16; ++x) {
                bitmap->SetPixel(x, y, colour);
            }
        }
        return bitmap;
    };
    auto red = solid(RGB(255, 0, 0)), blue = solid(RGB(0, 0, 255)), green = solid(RGB(0, 255, 0));
    auto centreOf = [](tk::TCustomImageList& list, int index) {
        MemoryCanvas target(16, 16, RGB(255, 255, 255));
        list.Draw(target.canvas(), 0, 0, index);
        return target.at(8, 8);
    };
    TPngImageList png;
    tk::TImageList plain;
    for (tk::TCustomImageList* list :
         {static_cast<tk::TCustomImageList*>(&png), static_cast<tk::TCustomImageList*>(&plain)}) {
        SCOPED_TRACE(list == &png ? "PNG list" : "plain list");
        EXPECT_EQ(list->Add(red.get(), nullptr), 0);
        EXPECT_EQ(list->AddMasked(blue.get(), tk::clBlack), 1);
        EXPECT_EQ(centreOf(*list, 1), 0x0000FFu) << "after AddMasked";
        list->Insert(1, green.get(), nullptr); // red, green, blue
        list->Replace(0, blue.get(), nullptr); // blue, green, blue
        EXPECT_EQ(list->Add(nullptr, nullptr), -1);
        EXPECT_THROW(list->Insert(5, red.get(), nullptr), std::out_of_range);
        ASSERT_EQ(list->Count(), 3);
        EXPECT_EQ(ImageList_GetImageCount(list->Handle()), 3);
        EXPECT_EQ(centreOf(*list, 0), 0x0000FFu);
        EXPECT_EQ(centreOf(*list, 1), 0x00FF00u);
        EXPECT_EQ(centreOf(*list, 2), 0x0000FFu);
        for (int i = 0; i < 3; ++i) { // the platform list in the same order
            MemoryCanvas target(16, 16, RGB(255, 255, 255));
            ImageList_Draw(list->Handle(), i, target.dc(), 0, 0, ILD_TRANSPARENT);
            EXPECT_EQ(target.at(8, 8), i == 1 ? 0x00FF00u : 0x0000FFu) << i;
        }
    }
    EXPECT_EQ(png.PngImages().Count(), 3);
}

TEST(IconStrip, CopiesTheIconsOfBothCommonControlsGenerations) {
    auto list = loadDataList();
    const TPNGObject& png = *list->PngImages().ItemAt(5)->PngImage();
    int clearX = -1, clearY = -1, x = 0, y = 0;
    ASSERT_TRUE(findOpaqueDarkPixel(png, x, y));
    for (int py = 0; py < 48 && clearX < 0; ++py) {
        for (int px = 0; px < 48; ++px) {
            if (png.AlphaRow(static_cast<std::uint32_t>(py))[px] == 0) {
                clearX = px;
                clearY = py;
                break;
            }
        }
    }
    ASSERT_GE(clearX, 0);
    const std::uint8_t* bgr = png.PixelRow(static_cast<std::uint32_t>(y)) + 3 * x;
    const std::uint32_t argb = 0xFF000000u | (bgr[2] << 16) | (bgr[1] << 8) | bgr[0];

    IconStrip alpha(48, 48, 2, 0x60000);
    alpha.Put(1, png, tk::clWindow);
    EXPECT_EQ(alpha.ColourAt(48 + x, y), argb);
    EXPECT_EQ(alpha.ColourAt(48 + clearX, clearY) >> 24, 0u);
    EXPECT_FALSE(alpha.MaskedAt(48 + clearX, clearY));

    IconStrip composited(48, 48, 2, 0x50051);
    composited.Put(1, png, RGB(0, 0, 255));
    EXPECT_EQ(composited.ColourAt(48 + x, y) & 0xFFFFFF, argb & 0xFFFFFF);
    EXPECT_TRUE(composited.MaskedAt(48 + clearX, clearY));
    EXPECT_FALSE(composited.MaskedAt(48 + x, y));
    EXPECT_EQ(composited.ColourAt(48 + clearX, clearY) & 0xFFFFFF, 0u);

    HIMAGELIST platform = ImageList_Create(48, 48, ILC_COLOR32 | ILC_MASK, 0, 4);
    EXPECT_TRUE(composited.AddTo(platform));
    EXPECT_EQ(ImageList_GetImageCount(platform), 2);
    ImageList_Destroy(platform);
    EXPECT_FALSE(IconStrip(48, 48, 0x7FFFFFFF, 0).Ok()) << "a strip too wide is refused";
}

TEST(ImageListChangeLinks, TellTheirClientsAndForgetEachOther) {
    int changes = 0;
    tk::TChangeLink survivor;
    survivor.OnChange = [&] { ++changes; };
    {
        auto list = loadDataList();
        list->RegisterChanges(survivor);
        {
            tk::TChangeLink shortLived;
            list->RegisterChanges(shortLived);
        }                              // unregisters itself
        list->SetEnabledImages(false); // a rebuild replaces the platform list
        EXPECT_EQ(changes, 1);
        list->Delete(0);
        EXPECT_EQ(changes, 2);
        EXPECT_EQ(survivor.Sender(), list.get());
    }
    EXPECT_EQ(survivor.Sender(), nullptr);
    EXPECT_EQ(changes, 3) << "the list's end is a change too";
}

} // namespace
} // namespace sc::png
