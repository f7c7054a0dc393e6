// The platform list of a PNG image list holds, whichever way it was filled, the pixels that one
// PngToIcon icon per item gives: for pictures of the list's size and of other sizes, with alpha,
// a key colour or neither, for both common-controls generations.
#include "pictures/memory_canvas.h"
#include "png/png_functions_win32.h"
#include "png/png_gdi_win32.h"
#include "png/png_image_list.h"
#include "png_test_util.h"
#include "toolkit/bitmap.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace sc::png {
namespace {

using pngtest::Bytes;
using pngtest::Image;

class FixedCommonControls : public CommonControlsInfo {
  public:
    explicit FixedCommonControls(int version) : version_(version) { SetCommonControlsInfo(this); }
    ~FixedCommonControls() override { SetCommonControlsInfo(nullptr); }
    int Version() const override { return version_; }

  private:
    int version_;
};

enum class Kind { alpha, key, opaque };

// A w x h picture of pseudo-random colours: with alpha 0, partial and 255 pixels; with a key
// colour that some pixels have; or opaque.
std::unique_ptr<TPNGObject> picture(int w, int h, Kind kind, std::uint32_t seed) {
    Image image =
        pngtest::Pattern(std::uint32_t(w), std::uint32_t(h), 8, kind == Kind::alpha ? 6 : 2, seed);
    Bytes extra;
    if (kind == Kind::alpha) {
        for (std::size_t i = 3; i < image.samples.size(); i += 4) {
            image.samples[i] = i % 12 == 3 ? 0 : i % 12 == 7 ? 255 : image.samples[i];
        }
    } else if (kind == Kind::key) {
        for (std::size_t i = 0; i < image.samples.size(); i += 9) {
            image.samples[i] = 10, image.samples[i + 1] = 200, image.samples[i + 2] = 30;
        }
        extra = pngtest::Chunk("tRNS", {0, 10, 0, 200, 0, 30});
    }
    auto png = std::make_unique<TPNGObject>();
    pngtest::Read(*png, pngtest::BuildPng(image, false, extra));
    return png;
}

struct Cell {
    std::vector<std::uint32_t> image, mask;
};

std::vector<std::uint32_t> pixels32(HBITMAP bitmap, const RECT& r) {
    BITMAP bm{};
    GetObjectA(bitmap, sizeof bm, &bm);
    std::vector<std::uint32_t> all(std::size_t(bm.bmWidth) * std::size_t(bm.bmHeight));
    BITMAPINFO info = TopDownInfo32(bm.bmWidth, bm.bmHeight);
    tk::WindowDc screen(nullptr);
    GetDIBits(screen.get(), bitmap, 0, UINT(bm.bmHeight), all.data(), &info, DIB_RGB_COLORS);
    std::vector<std::uint32_t> cell;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            cell.push_back(all[std::size_t(y) * std::size_t(bm.bmWidth) + std::size_t(x)]);
        }
    }
    return cell;
}

Cell cellOf(HIMAGELIST list, int index) {
    IMAGEINFO info{};
    if (!ImageList_GetImageInfo(list, index, &info)) {
        return {};
    }
    return {pixels32(info.hbmImage, info.rcImage),
            info.hbmMask ? pixels32(info.hbmMask, info.rcImage) : std::vector<std::uint32_t>{}};
}

// The picture drawn transparently over a coloured background, as 0x00RRGGBB pixels.
std::vector<std::uint32_t> drawn(HIMAGELIST list, int index, int w, int h) {
    pictest::MemoryCanvas target(w, h, RGB(30, 120, 200));
    ImageList_Draw(list, index, target.dc(), 0, 0, ILD_TRANSPARENT);
    return target.pixels();
}

// What the per-icon steps give: one PngToIcon icon per item, appended in order.
HIMAGELIST perIconList(TPngImageList& list, tk::TColor disabledBackground, bool disabled) {
    HIMAGELIST reference =
        ImageList_Create(list.Width(), list.Height(), ILC_COLOR32 | ILC_MASK, 0, 4);
    for (int i = 0; i < list.Count(); ++i) {
        const TPngImageCollectionItem& item = *list.PngImages().ItemAt(i);
        TPNGObject look;
        look.CopyImage(*item.PngImage());
        if (disabled) {
            BlendPngAlpha(look, 127);
        }
        HICON icon = PngToIcon(look, disabled ? disabledBackground : item.Background());
        ImageList_AddIcon(reference, icon);
        DestroyIcon(icon);
    }
    return reference;
}

void expectSamePictures(TPngImageList& list, bool disabled = false) {
    HIMAGELIST reference = perIconList(list, tk::clNone, disabled);
    ASSERT_EQ(ImageList_GetImageCount(list.Handle()), ImageList_GetImageCount(reference));
    for (int i = 0; i < list.Count(); ++i) {
        const Cell got = cellOf(list.Handle(), i), want = cellOf(reference, i);
        EXPECT_EQ(got.image, want.image) << "colour bits of picture " << i;
        EXPECT_EQ(got.mask, want.mask) << "mask bits of picture " << i;
        EXPECT_EQ(drawn(list.Handle(), i, list.Width(), list.Height()),
                  drawn(reference, i, list.Width(), list.Height()))
            << "picture " << i << " drawn";
    }
    ImageList_Destroy(reference);
}

std::string generation(int version) {
    return version >= 0x60000 ? "common controls 6" : "common controls 5.81";
}

// Nine pictures: the list's size, larger and smaller, each with alpha, key colour and opaque.
void fill(TPngImageList& list, bool mixedSizes) {
    list.BeginPngUpdate();
    std::uint32_t seed = 1;
    for (auto [w, h] : {std::pair{16, 16}, std::pair{24, 20}, std::pair{10, 12}}) {
        for (Kind kind : {Kind::alpha, Kind::key, Kind::opaque}) {
            TPngImageCollectionItem& item = list.PngImages().AddItem();
            item.SetPngImage(*picture(mixedSizes ? w : 16, mixedSizes ? h : 16, kind, seed++));
            item.SetBackground(seed % 2 ? tk::clWindow : RGB(0, 128, 0));
        }
    }
    list.EndPngUpdate(true);
}

TEST(PngImageListPlatform, RebuildGivesThePerIconPixels) {
    for (int version : {0x60000, 0x50051}) {
        FixedCommonControls controls(version);
        for (bool mixedSizes : {false, true}) {
            SCOPED_TRACE(generation(version) + (mixedSizes ? ", mixed sizes" : ", one size"));
            TPngImageList list;
            fill(list, mixedSizes);
            ASSERT_EQ(list.Count(), 9);
            expectSamePictures(list);
            list.SetEnabledImages(false); // the disabled look, made over clNone
            expectSamePictures(list, true);
        }
    }
}

TEST(PngImageListPlatform, EditsGiveThePerIconPixels) {
    auto bitmap = [](int w, int h, COLORREF base) {
        auto b = std::make_unique<tk::TBitmap>();
        b->SetPixelFormat(tk::TPixelFormat::pf24bit);
        b->SetSize(w, h);
        for (int y = 0; y < h; ++y) {
            for (int x = 0; x < w; ++x) {
                b->SetPixel(x, y, (x + y) % 3 ? base : RGB(255, 0, 255));
            }
        }
        return b;
    };
    auto mask = bitmap(24, 20, RGB(255, 255, 255));
    for (int version : {0x60000, 0x50051}) {
        FixedCommonControls controls(version);
        SCOPED_TRACE(generation(version));
        TPngImageList list;
        fill(list, true);
        auto same = bitmap(16, 16, RGB(200, 40, 40)), large = bitmap(24, 20, RGB(40, 200, 40)),
             small = bitmap(10, 12, RGB(40, 40, 200));
        EXPECT_EQ(list.Add(large.get(), mask.get()), 9);
        EXPECT_EQ(list.AddMasked(small.get(), RGB(255, 0, 255)), 10);
        list.Insert(2, same.get(), mask.get());
        list.InsertMasked(0, large.get(), RGB(255, 0, 255));
        list.Move(1, 7);
        list.Replace(4, small.get(), nullptr);
        list.ReplaceMasked(5, same.get(), RGB(255, 0, 255));
        EXPECT_EQ(list.AddImage(&list, 3), 13) << "AddImage gives the new item's index";
        EXPECT_EQ(list.AddImage(&list, 99), -1) << "and -1, adding nothing, without the picture";
        ASSERT_EQ(list.Count(), 14);
        expectSamePictures(list);
    }
}

// A list filled while its platform list is deferred draws from its pictures at once and makes
// the platform list when first asked for: the same icons as at once, with no change notice;
// an edit before that works on the icons of the items as they were.
TEST(PngImageListPlatform, ADeferredPlatformListIsMadeAsBeforeWhenFirstAskedFor) {
    auto deferredFill = [](TPngImageList& list) {
        list.SetSystemListDeferred(true);
        fill(list, true);
        list.SetSystemListDeferred(false);
    };
    for (int version : {0x60000, 0x50051}) {
        FixedCommonControls controls(version);
        SCOPED_TRACE(generation(version));
        TPngImageList list;
        deferredFill(list);
        int changes = 0;
        tk::TChangeLink link;
        link.OnChange = [&] { ++changes; };
        list.RegisterChanges(link);
        pictest::MemoryCanvas target(16, 16, RGB(0, 0, 0));
        list.Draw(target.canvas(), 0, 0, 0);
        const std::vector<std::uint32_t> pixels = target.pixels();
        EXPECT_NE(std::count(pixels.begin(), pixels.end(), 0u), 256) << "drawn while owed";
        EXPECT_TRUE(list.HandleAllocated());
        expectSamePictures(list);
        EXPECT_EQ(changes, 0);

        TPngImageList edited;
        deferredFill(edited);
        tk::TBitmap colour;
        colour.SetPixelFormat(tk::TPixelFormat::pf24bit);
        colour.SetSize(16, 16);
        edited.Insert(2, &colour, nullptr);
        ASSERT_EQ(edited.Count(), 10);
        expectSamePictures(edited);
    }
}

TEST(PngImageListPlatform, TheVersionSeamPicksTheIconKind) {
    TPNGObject png;
    pngtest::Read(png, pngtest::BuildPng(Image{2, 1, 8, 6, {255, 0, 0, 255, 0, 0, 255, 0}}, false));
    // The icon's mask over its transparent pixel: opaque with real alpha, masked when composited
    // (what each kind holds beyond that: PngFunctionsWin32.PngToIconOnBothLibraryPaths).
    auto maskOfTransparentPixel = [&] {
        HICON icon = PngToIcon(png, RGB(0, 255, 0));
        ICONINFO info{};
        GetIconInfo(icon, &info);
        const std::uint32_t mask = pixels32(info.hbmMask, RECT{0, 0, 2, 1})[1] & 0xFFFFFF;
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
        return mask;
    };
    for (int version : {0x60000, 0x50051}) {
        FixedCommonControls controls(version);
        EXPECT_EQ(CommonControlsVersion(), version);
        EXPECT_EQ(maskOfTransparentPixel(), version >= 0x60000 ? 0u : 0xFFFFFFu)
            << std::hex << version;
    }
    EXPECT_EQ(CommonControlsVersion(), SystemCommonControls().Version()) << "the system again";
    EXPECT_GE(SystemCommonControls().Version(), 0x50000);
}

} // namespace
} // namespace sc::png
