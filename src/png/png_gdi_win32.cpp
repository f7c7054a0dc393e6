#include "png/png_gdi_win32.h"

#include "png/png_functions.h"

namespace sc::png {

TMemoryBitmap::TMemoryBitmap(HDC reference, HBITMAP bitmap)
    : Dc(tk::live::CreateCompatibleDC(reference)), Bitmap(bitmap) {
    if (Ok())
        Previous = SelectObject(Dc.get(), Bitmap.get());
}

TMemoryBitmap::~TMemoryBitmap() {
    if (Previous)
        SelectObject(Dc.get(), Previous);
}

HBITMAP TMemoryBitmap::TakeBitmap() {
    if (Previous)
        SelectObject(Dc.get(), Previous);
    Previous = nullptr;
    return Bitmap.release();
}

BITMAPINFO TopDownInfo32(int width, int height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = 40;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    return info;
}

HBITMAP CreateTopDownSection(int width, int height, void** bits) {
    BITMAPINFO info = TopDownInfo32(width, height);
    *bits = nullptr;
    HBITMAP section = tk::live::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0);
    if (section && !*bits) {
        tk::live::DeleteObject(section);
        return nullptr;
    }
    return section;
}

std::vector<std::uint32_t> ReadBitmapPixels(const tk::TBitmap& bitmap) {
    const int w = bitmap.Width(), h = bitmap.Height();
    std::vector<std::uint32_t> pixels;
    if (w <= 0 || h <= 0 || !bitmap.CanvasHandle())
        return pixels;
    void* bits = nullptr;
    TMemoryBitmap copy(nullptr, CreateTopDownSection(w, h, &bits));
    if (!copy.Ok())
        throw tk::EConvertError("Out of system resources");
    BitBlt(copy.Handle(), 0, 0, w, h, bitmap.CanvasHandle(), 0, 0, SRCCOPY);
    GdiFlush();
    pixels.resize(std::size_t(w) * std::size_t(h));
    const auto* quad = static_cast<const std::uint8_t*>(bits);
    for (std::uint32_t& p : pixels) {
        p = std::uint32_t(quad[2]) | std::uint32_t(quad[1]) << 8 | std::uint32_t(quad[0]) << 16;
        quad += 4;
    }
    return pixels;
}

TIconTransparency::TIconTransparency(const TPNGObject& png)
    : HasAlpha(png.HeaderChunk().ColorType() == COLOR_GRAYSCALEALPHA ||
               png.HeaderChunk().ColorType() == COLOR_RGBALPHA),
      Keyed(png.TransparencyKind() == tkKeyColor), Key(png.KeyColor()) {}

std::uint8_t TIconTransparency::AlphaByte(const std::uint8_t* alphaRow, int x,
                                          std::uint32_t c) const {
    if (HasAlpha && alphaRow)
        return alphaRow[x];
    if (Keyed)
        return c != Key ? 255 : 0;
    return 0;
}

bool TIconTransparency::Masked(const TPNGObject& png, const std::uint8_t* alphaRow, int x,
                               int y) const {
    if (HasAlpha && alphaRow)
        return alphaRow[x] == 0;
    return Keyed && PixelColor(png, x, y) == Key;
}

} // namespace sc::png
