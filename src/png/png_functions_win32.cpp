#include "png/png_functions_win32.h"

#include "png/png_gdi_win32.h"
#include "toolkit/font.h"

#include <cstring>
#include <vector>

namespace sc::png {
namespace {

struct IconParts {
    tk::UniqueBitmap Colour;
    tk::UniqueBitmap Mask;
};

HICON MakeIcon(const IconParts& parts) {
    ICONINFO info{};
    info.fIcon = TRUE;
    info.hbmMask = parts.Mask.get();
    info.hbmColor = parts.Colour.get();
    return tk::live::CreateIconIndirect(&info);
}

HICON AlphaIcon(const TPNGObject& png) {
    const int w = png.Width(), h = png.Height();
    BITMAPV4HEADER header{};
    header.bV4Size = sizeof header;
    header.bV4Width = w;
    header.bV4Height = h;
    header.bV4Planes = 1;
    header.bV4BitCount = 32;
    header.bV4V4Compression = BI_BITFIELDS;
    header.bV4RedMask = 0x00FF0000;
    header.bV4GreenMask = 0x0000FF00;
    header.bV4BlueMask = 0x000000FF;
    header.bV4AlphaMask = 0xFF000000;
    void* bits = nullptr;
    IconParts parts;
    parts.Colour.reset(tk::live::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&header),
                                                  DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!parts.Colour || !bits)
        return nullptr;
    const TIconTransparency transparency(png);
    auto* out = static_cast<std::uint8_t*>(bits);
    std::memset(out, 0, std::size_t(w) * std::size_t(h) * 4);
    for (int r = 0; r < h; ++r) {
        const int y = h - 1 - r;
        const std::uint8_t* alpha = png.AlphaRow(static_cast<std::uint32_t>(y));
        for (int x = 0; x < w; ++x) {
            const std::uint32_t c = PixelColor(png, x, y);
            std::uint8_t* p = out + (std::size_t(r) * std::size_t(w) + std::size_t(x)) * 4;
            p[0] = static_cast<std::uint8_t>(c >> 16);
            p[1] = static_cast<std::uint8_t>(c >> 8);
            p[2] = static_cast<std::uint8_t>(c);
            p[3] = transparency.AlphaByte(alpha, x, c);
        }
    }
    std::vector<std::uint8_t> zeros((std::size_t(w) + 15) / 16 * 2 * std::size_t(h), 0);
    parts.Mask.reset(tk::live::CreateBitmap(w, h, 1, 1, zeros.data()));
    return MakeIcon(parts);
}

HICON CompositedIcon(const TPNGObject& png, tk::TColor background) {
    const int w = png.Width(), h = png.Height();
    IconParts parts;
    {
        void* bits = nullptr;
        TMemoryBitmap colour(nullptr, CreateTopDownSection(w, h, &bits));
        if (!colour.Ok())
            return nullptr;
        RECT all{0, 0, w, h};
        tk::UniqueBrush brush(tk::live::CreateSolidBrush(tk::ColorToRGB(background)));
        FillRect(colour.Handle(), &all, brush.get());
        tk::FontCache fonts;
        tk::TCanvas canvas(fonts);
        canvas.setHandle(colour.Handle());
        DrawWithGdi(png, canvas, tk::TRect{0, 0, w, h});
        GdiFlush();
        parts.Colour.reset(colour.TakeBitmap());
    }
    void* maskBits = nullptr;
    parts.Mask.reset(CreateTopDownSection(w, h, &maskBits));
    if (!parts.Mask)
        return nullptr;
    const TIconTransparency transparency(png);
    auto* mask = static_cast<std::uint32_t*>(maskBits);
    for (int y = 0; y < h; ++y) {
        const std::uint8_t* alpha = png.AlphaRow(static_cast<std::uint32_t>(y));
        for (int x = 0; x < w; ++x)
            mask[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                transparency.Masked(png, alpha, x, y) ? 0xFFFFFF : 0x000000;
    }
    return MakeIcon(parts);
}

// An RGB image of the pixels, with an alpha plane when alpha is given.
std::unique_ptr<TPNGObject> ImageOf(int w, int h, const std::vector<std::uint32_t>& pixels,
                                    const std::vector<std::uint8_t>* alpha) {
    auto png = std::make_unique<TPNGObject>();
    CreateBlankRgb(*png, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixelColor(*png, x, y, pixels[std::size_t(y) * std::size_t(w) + std::size_t(x)]);
    if (alpha) {
        png->AddAlphaPlane();
        for (int y = 0; y < h; ++y)
            std::memcpy(png->AlphaRow(static_cast<std::uint32_t>(y)),
                        alpha->data() + std::size_t(y) * std::size_t(w), std::size_t(w));
    }
    return png;
}

// The fourth bytes of a 32-bit colour bitmap (selected nowhere), top row first; empty when they
// cannot be read.
std::vector<std::uint8_t> FourthBytes(HBITMAP colour, int w, int h) {
    std::vector<std::uint8_t> quads(std::size_t(w) * std::size_t(h) * 4);
    BITMAPINFO bi = TopDownInfo32(w, h);
    tk::WindowDc screen(nullptr);
    if (GetDIBits(screen.get(), colour, 0, static_cast<UINT>(h), quads.data(), &bi,
                  DIB_RGB_COLORS) != h)
        return {};
    std::vector<std::uint8_t> fourth(std::size_t(w) * std::size_t(h));
    for (std::size_t i = 0; i < fourth.size(); ++i)
        fourth[i] = quads[i * 4 + 3];
    return fourth;
}

std::unique_ptr<TPNGObject> IconToPng(const tk::TIcon& icon) {
    const int w = icon.Width(), h = icon.Height();
    ICONINFO info{};
    if (!icon.Handle() || !tk::live::GetIconInfo(icon.Handle(), &info))
        return ImageOf(w, h, std::vector<std::uint32_t>(std::size_t(w) * std::size_t(h)), nullptr);
    std::vector<std::uint8_t> fourth;
    BITMAP bm{};
    const bool deep = info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm) &&
                      bm.bmBitsPixel == 32 && IsWindowsXPOrLater();
    if (deep)
        fourth = FourthBytes(info.hbmColor, w, h);
    tk::TBitmap colour, mask;
    colour.SetHandle(info.hbmColor);
    mask.SetHandle(info.hbmMask);
    std::vector<std::uint32_t> pixels = ReadBitmapPixels(colour);
    pixels.resize(std::size_t(w) * std::size_t(h));
    const std::vector<std::uint32_t> maskPixels = ReadBitmapPixels(mask);
    std::vector<std::uint8_t> alpha(pixels.size(), 255);
    bool hasAlpha = deep;
    for (std::size_t i = 0; i < alpha.size() && i < maskPixels.size(); ++i)
        if (maskPixels[i] != 0) {
            alpha[i] = 0;
            hasAlpha = true;
        }
    bool any = false;
    for (std::uint8_t a : fourth)
        any = any || a != 0;
    if (any)
        alpha = fourth;
    return ImageOf(w, h, pixels, hasAlpha ? &alpha : nullptr);
}

} // namespace

void DrawPngImage(TPNGObject& png, tk::TCanvas& canvas, const tk::TRect& rect,
                  TPngOptions options) {
    if (options == 0) {
        DrawWithGdi(png, canvas, rect);
        return;
    }
    TPNGObject copy;
    copy.CopyImage(png);
    if (options & pngBlendOnDisabled)
        BlendPngAlpha(copy, 127);
    if (options & pngGrayscaleOnDisabled)
        GrayscalePng(copy, 255);
    DrawWithGdi(copy, canvas, rect);
}

namespace {

class FileVersionCommonControls : public CommonControlsInfo {
  public:
    int Version() const override {
        static const int version = Read();
        return version;
    }

  private:
    static int Read() {
        const wchar_t* name = L"comctl32.dll";
        DWORD ignored = 0;
        const DWORD size = GetFileVersionInfoSizeW(name, &ignored);
        if (size == 0)
            return -1;
        std::vector<char> data(size);
        VS_FIXEDFILEINFO* fixed = nullptr;
        UINT length = 0;
        if (!GetFileVersionInfoW(name, 0, size, data.data()) ||
            !VerQueryValueW(data.data(), L"\\", reinterpret_cast<void**>(&fixed), &length) ||
            !fixed || length < sizeof *fixed)
            return -1;
        return static_cast<int>(HIWORD(fixed->dwFileVersionMS) * 65536 +
                                LOWORD(fixed->dwFileVersionMS));
    }
};

const CommonControlsInfo* commonControlsOverride = nullptr;

} // namespace

const CommonControlsInfo& SystemCommonControls() {
    static const FileVersionCommonControls system;
    return system;
}

void SetCommonControlsInfo(const CommonControlsInfo* info) {
    commonControlsOverride = info;
}

int CommonControlsVersion() {
    return (commonControlsOverride ? *commonControlsOverride : SystemCommonControls()).Version();
}

HICON PngToIconForVersion(const TPNGObject& png, tk::TColor background, int version) {
    if (png.Width() <= 0 || png.Height() <= 0)
        return nullptr;
    return version >= 0x60000 ? AlphaIcon(png) : CompositedIcon(png, background);
}

HICON PngToIcon(const TPNGObject& png, tk::TColor background) {
    return PngToIconForVersion(png, background, CommonControlsVersion());
}

std::unique_ptr<TPNGObject> GraphicToPng(const tk::TGraphic& source) {
    if (const auto* png = dynamic_cast<const TPNGObject*>(&source)) {
        auto copy = std::make_unique<TPNGObject>();
        copy->CopyImage(*png);
        return copy;
    }
    if (const auto* icon = dynamic_cast<const tk::TIcon*>(&source))
        return IconToPng(*icon);
    const int w = source.Width(), h = source.Height();
    const auto* bitmap = dynamic_cast<const tk::TBitmap*>(&source);
    if (!bitmap)
        return ImageOf(w, h, std::vector<std::uint32_t>(std::size_t(w) * std::size_t(h)), nullptr);
    const std::vector<std::uint32_t> pixels = ReadBitmapPixels(*bitmap);
    std::vector<std::uint8_t> alpha(pixels.size(), 255);
    bool hasAlpha = false;
    if (bitmap->Transparent()) {
        // As given: a system colour or clNone is no pixel's 0x00BBGGRR value.
        const std::uint32_t key = bitmap->TransparentColor();
        for (std::size_t i = 0; i < pixels.size(); ++i)
            if (pixels[i] == key) {
                alpha[i] = 0;
                hasAlpha = true;
            }
    }
    return ImageOf(w, h, pixels, hasAlpha ? &alpha : nullptr);
}

std::unique_ptr<TPNGObject> BitmapAndMaskToPng(const tk::TBitmap& colour, const tk::TBitmap& mask,
                                               bool inverse) {
    const int w = colour.Width(), h = colour.Height();
    const std::vector<std::uint32_t> pixels = ReadBitmapPixels(colour);
    const std::vector<std::uint32_t> maskPixels = ReadBitmapPixels(mask);
    std::vector<std::uint8_t> alpha(pixels.size(), 255);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint8_t red = 0;
            if (x < mask.Width() && y < mask.Height())
                red = static_cast<std::uint8_t>(
                    maskPixels[std::size_t(y) * std::size_t(mask.Width()) + std::size_t(x)]);
            alpha[std::size_t(y) * std::size_t(w) + std::size_t(x)] =
                inverse ? static_cast<std::uint8_t>(255 - red) : red;
        }
    return ImageOf(w, h, pixels, &alpha);
}

std::unique_ptr<TPNGObject> BitmapKeyToPng(const tk::TBitmap& bitmap, tk::TColor key) {
    const std::vector<std::uint32_t> pixels = ReadBitmapPixels(bitmap);
    std::vector<std::uint8_t> alpha(pixels.size());
    for (std::size_t i = 0; i < pixels.size(); ++i)
        alpha[i] = pixels[i] == key ? 0 : 255; // the key as given: clNone matches nothing
    return ImageOf(bitmap.Width(), bitmap.Height(), pixels, &alpha);
}

bool IsWindowsXPOrLater() {
    OSVERSIONINFOW info{};
    info.dwOSVersionInfoSize = sizeof info;
    if (!GetVersionExW(&info))
        return false;
    return info.dwPlatformId == VER_PLATFORM_WIN32_NT &&
           (info.dwMajorVersion > 5 || (info.dwMajorVersion == 5 && info.dwMinorVersion != 0));
}

} // namespace sc::png
