// PNG image lists loaded for a DPI other than 96: the size, the pictures of the set that fits,
// and loading again in place for another DPI. GDI only, no windows.
#include "Main/main_image_lists.h"
#include "pictures/memory_canvas.h"
#include "png/png_image_list_loader.h"
#include "png/png_scaled_pictures.h"
#include "png/png_stream.h"

#include <gtest/gtest.h>

namespace sc::png {
namespace {

std::vector<std::uint8_t> rgbaOf(const TPNGObject& png) {
    std::vector<std::uint8_t> out(std::size_t(png.Width()) * std::size_t(png.Height()) * 4);
    for (int y = 0; y < png.Height(); ++y)
        ReadRgbaPixels(png, y, 0, png.Width(), &out[std::size_t(y * png.Width()) * 4]);
    return out;
}

std::vector<std::uint8_t> decodedRgba(std::span<const unsigned char> data) {
    TPNGObject png;
    TPngMemoryStream stream(data.data(), data.size());
    png.ReadPng(stream);
    return rgbaOf(png);
}

// The picture at index as the platform list holds it, drawn over white: 0x00RRGGBB per pixel.
std::vector<std::uint32_t> drawnOverWhite(TPngImageList& list, int index) {
    pictest::MemoryCanvas target(list.Width(), list.Width(), RGB(255, 255, 255));
    ImageList_Draw(list.Handle(), index, target.dc(), 0, 0, ILD_NORMAL);
    return target.pixels();
}

TEST(PngImageListDpi, At144TheListHolds72PixelPicturesAndReloadsInPlace) {
    const tk::PngImageListDefinition stored = mainWindowImageLists()[0];
    std::unique_ptr<TPngImageList> list = LoadPngImageList(stored, 144);
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->Width(), 72);
    EXPECT_EQ(list->Height(), 72);
    int cx = 0, cy = 0;
    ImageList_GetIconSize(list->Handle(), &cx, &cy);
    EXPECT_EQ(cx, 72);
    EXPECT_EQ(cy, 72);

    // Scaled to 96 in place: the same object, the design pictures, a new platform list.
    int changes = 0;
    tk::TChangeLink link;
    link.OnChange = [&] { ++changes; };
    list->RegisterChanges(link);
    tk::TComponent& component = *list;
    const TPNGObject* before = list->PngImages().ItemAt(0)->PngImage();
    component.ScaleToDpi(144); // already at 144: nothing is decoded again
    EXPECT_EQ(list->PngImages().ItemAt(0)->PngImage(), before);
    EXPECT_EQ(changes, 0);
    component.ScaleToDpi(96);
    EXPECT_EQ(dynamic_cast<TStoredPngImageList&>(*list).Dpi(), 96);
    EXPECT_EQ(list->Width(), 48);
    ASSERT_EQ(list->Count(), 4);
    EXPECT_EQ(list->PngImages().ItemAt(3)->Name(), "PngImage3");
    EXPECT_EQ(rgbaOf(*list->PngImages().ItemAt(0)->PngImage()),
              decodedRgba(stored.pngImages[0].pngData));
    EXPECT_EQ(drawnOverWhite(*list, 0), drawnOverWhite(*LoadPngImageList(stored), 0));
    EXPECT_GT(changes, 0);
    list->UnRegisterChanges(link);
}

} // namespace
} // namespace sc::png
