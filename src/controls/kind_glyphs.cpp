#include "controls/glyph_button.h"
#include "controls/kind_picture_scaling.h"
#include "graphics/area_resample.h"
#include "text/utf.h"

#include <array>
#include <map>
#include <string>
#include <utility>

namespace sc::controls {

namespace {

// The sides of one picture of the kind sets in the resources: design size, 1.5x, 2x.
constexpr std::array<gfx::PictureSetSize, 3> kSetSides{{{18, 18}, {27, 27}, {36, 36}}};
constexpr std::array<const char*, 3> kSetSuffixes{"", "_150", "_200"};

HBITMAP LoadKindResource(int kind, std::size_t set) {
    static const std::array<const char*, kKindCount> names{
        nullptr,         "SC_KIND_OK",     "SC_KIND_CANCEL", "SC_KIND_HELP",
        "SC_KIND_YES",   "SC_KIND_NO",     "SC_KIND_CLOSE",  "SC_KIND_ABORT",
        "SC_KIND_RETRY", "SC_KIND_IGNORE", "SC_KIND_ALL"};
    const std::wstring name =
        sc::text::toUtf16(std::string(names[static_cast<std::size_t>(kind)]) + kSetSuffixes[set]);
    return static_cast<HBITMAP>(tk::live::LoadImageW(GetModuleHandleW(nullptr), name.c_str(),
                                                     IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION));
}

KeyedPicture ReadPicture(HBITMAP bitmap) {
    BITMAP info{};
    if (!bitmap || !GetObjectW(bitmap, sizeof info, &info) || info.bmWidth < 1 ||
        info.bmHeight < 1 || info.bmWidth > 4096 || info.bmHeight > 4096)
        return {};
    KeyedPicture picture{info.bmWidth, info.bmHeight,
                         std::vector<std::uint32_t>(std::size_t(info.bmWidth) * info.bmHeight)};
    BITMAPINFO request{};
    request.bmiHeader = {
        sizeof(BITMAPINFOHEADER), info.bmWidth, -info.bmHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = GetDC(nullptr);
    const int rows = GetDIBits(dc, bitmap, 0, static_cast<UINT>(info.bmHeight),
                               picture.pixels.data(), &request, DIB_RGB_COLORS);
    ReleaseDC(nullptr, dc);
    if (rows != info.bmHeight)
        return {};
    for (std::uint32_t& p : picture.pixels)
        p &= 0xFFFFFF;
    return picture;
}

// A 24-bit DIB section of the picture, as the resources give.
HBITMAP MakeBitmap(const KeyedPicture& picture) {
    if (picture.pixels.empty())
        return nullptr;
    BITMAPINFO info{};
    info.bmiHeader = {
        sizeof(BITMAPINFOHEADER), picture.width, -picture.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HBITMAP bitmap = tk::live::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!bitmap)
        return nullptr;
    const std::size_t stride = (std::size_t(picture.width) * 3 + 3) & ~std::size_t(3);
    auto* out = static_cast<std::uint8_t*>(bits);
    for (int y = 0; y < picture.height; ++y)
        for (int x = 0; x < picture.width; ++x) {
            const std::uint32_t c = picture.pixels[std::size_t(y) * picture.width + x];
            std::uint8_t* p = out + std::size_t(y) * stride + std::size_t(x) * 3;
            p[0] = std::uint8_t(c), p[1] = std::uint8_t(c >> 8), p[2] = std::uint8_t(c >> 16);
        }
    return bitmap;
}

} // namespace

HBITMAP KindGlyph(TBitBtnKind kind) {
    return KindGlyph(kind, gfx::kDesignDpi);
}

HBITMAP KindGlyph(TBitBtnKind kind, int dpi) {
    // Made on first request for each kind and size, kept for the life of the program.
    static std::map<std::pair<int, int>, tk::UniqueBitmap> cache;
    const int i = static_cast<int>(kind);
    if (i <= 0 || i >= kKindCount) {
        return nullptr;
    }
    const int side = gfx::ScaleForDpi(kSetSides[0].height, dpi);
    tk::UniqueBitmap& entry = cache[{i, side}];
    if (entry) {
        return entry.get();
    }
    const gfx::PictureSetChoice choice = gfx::ChoosePictureSet(kSetSides, side, side);
    const auto set = static_cast<std::size_t>(choice.index);
    if (choice.fit == gfx::SetFit::exact) {
        entry.reset(LoadKindResource(i, set));
    } else {
        tk::UniqueBitmap loaded(LoadKindResource(i, set));
        entry.reset(MakeBitmap(FitKeyedPictures(ReadPicture(loaded.get()), side)));
    }
    return entry.get();
}

} // namespace sc::controls
