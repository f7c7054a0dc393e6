// TPNGObject on Windows: drawing with GDI, system palettes and assignment from a toolkit bitmap.
#include "png/png_blend.h"
#include "png/png_functions.h"
#include "png/png_gdi_win32.h"
#include "png/png_image.h"
#include "png/png_messages.h"
#include "png/png_platform.h"
#include "toolkit/canvas.h"

namespace sc::png {
namespace {

const BITMAPINFO* InfoOf(const TChunkIHDR& header) {
    return reinterpret_cast<const BITMAPINFO*>(&header.DibInfo());
}

void DrawOpaque(const TChunkIHDR& header, HDC dc, const tk::TRect& r) {
    StretchDIBits(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, 0, 0,
                  static_cast<int>(header.Width()), static_cast<int>(header.Height()),
                  header.Pixels(), InfoOf(header), DIB_RGB_COLORS, SRCCOPY);
}

// The key colour's pixels are left out: the background survives where the mask is set.
void DrawKeyed(const TChunkIHDR& header, HDC dc, const tk::TRect& r, COLORREF key) {
    const int w = r.right - r.left, h = r.bottom - r.top;
    const int iw = static_cast<int>(header.Width()), ih = static_cast<int>(header.Height());
    if (w <= 0 || h <= 0)
        return;
    TMemoryBitmap image(dc,
                        tk::live::CreateDIBitmap(dc, &InfoOf(header)->bmiHeader, CBM_INIT,
                                                 header.Pixels(), InfoOf(header), DIB_RGB_COLORS));
    TMemoryBitmap mask(dc, tk::live::CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryBitmap inverse(dc, tk::live::CreateBitmap(w, h, 1, 1, nullptr));
    TMemoryBitmap work(dc, tk::live::CreateCompatibleBitmap(dc, w, h));
    if (!image.Ok() || !mask.Ok() || !inverse.Ok() || !work.Ok())
        return;
    const COLORREF previous = SetBkColor(image.Handle(), key);
    StretchBlt(mask.Handle(), 0, 0, w, h, image.Handle(), 0, 0, iw, ih, SRCCOPY);
    SetBkColor(image.Handle(), previous);
    BitBlt(inverse.Handle(), 0, 0, w, h, mask.Handle(), 0, 0, NOTSRCCOPY);
    BitBlt(work.Handle(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    BitBlt(work.Handle(), 0, 0, w, h, mask.Handle(), 0, 0, SRCAND);
    StretchBlt(image.Handle(), 0, 0, iw, ih, inverse.Handle(), 0, 0, w, h, SRCAND);
    StretchBlt(work.Handle(), 0, 0, w, h, image.Handle(), 0, 0, iw, ih, SRCPAINT);
    BitBlt(dc, r.left, r.top, w, h, work.Handle(), 0, 0, SRCCOPY);
}

// Blends the part of the image that the device can show, at its own size at (left, top).
void DrawBlended(const TPNGObject& png, HDC dc, int left, int top) {
    RECT box{};
    const int kind = GetClipBox(dc, &box);
    if (kind == NULLREGION)
        return;
    tk::TRect clip{left, top, left + png.Width(), top + png.Height()};
    if (kind != ERROR)
        clip = tk::TRect{box.left, box.top, box.right, box.bottom};
    const tk::TRect part = VisibleImagePart(clip, left, top, png.Width(), png.Height());
    if (IsEmptyRect(part))
        return;
    const int w = part.right - part.left, h = part.bottom - part.top;
    void* bits = nullptr;
    TMemoryBitmap buffer(nullptr, CreateTopDownSection(w, h, &bits));
    if (!buffer.Ok())
        TPNGObject::RaiseError<EPNGOutMemory>(messages::EPNGOutMemoryText);
    const int x = left + part.left, y = top + part.top;
    BitBlt(buffer.Handle(), 0, 0, w, h, dc, x, y, SRCCOPY);
    GdiFlush();
    BlendImagePart(png, part, static_cast<std::uint8_t*>(bits));
    BitBlt(dc, x, y, w, h, buffer.Handle(), 0, 0, SRCCOPY);
}

// TPNGObject's platform on Windows.
class TGdiPlatform final : public TPngPlatform {
  public:
    void Draw(const TPNGObject& image, tk::TCanvas& canvas, const tk::TRect& rect) override {
        DrawWithGdi(image, canvas, rect);
    }

    tk::TPaletteHandle MakePalette(const TChunkIHDR& header) override {
        struct {
            WORD version, count;
            PALETTEENTRY entries[256];
        } logical{0x300, 256, {}};
        for (int i = 0; i < 256; ++i) {
            const TRgbQuad& q = header.DibInfo().bmiColors[i];
            logical.entries[i] = PALETTEENTRY{q.rgbRed, q.rgbGreen, q.rgbBlue, 0};
        }
        return tk::live::CreatePalette(reinterpret_cast<const LOGPALETTE*>(&logical));
    }

    void ReadPalette(tk::TPaletteHandle palette, TChunkIHDR& header) override {
        PALETTEENTRY entries[256]{};
        const UINT n = GetPaletteEntries(static_cast<HPALETTE>(palette), 0, 256, entries);
        for (UINT i = 0; i < n && i < 256; ++i) {
            TRgbQuad& q = header.DibInfo().bmiColors[i];
            q.rgbRed = entries[i].peRed;
            q.rgbGreen = entries[i].peGreen;
            q.rgbBlue = entries[i].peBlue;
        }
    }

    void DeletePalette(tk::TPaletteHandle palette) override {
        tk::live::DeleteObject(static_cast<HPALETTE>(palette));
    }

    bool Assign(TPNGObject& target, const tk::TGraphic& source) override {
        const auto* bitmap = dynamic_cast<const tk::TBitmap*>(&source);
        if (!bitmap)
            return false;
        const std::vector<std::uint32_t> pixels = ReadBitmapPixels(*bitmap);
        const int w = bitmap->Width();
        TPNGObject image;
        CreateBlankRgb(image, w, bitmap->Height());
        for (std::size_t i = 0; i < pixels.size(); ++i)
            SetPixelColor(image, static_cast<int>(i % std::size_t(w)),
                          static_cast<int>(i / std::size_t(w)), pixels[i]);
        if (bitmap->Transparent()) {
            const std::uint32_t key = tk::ColorToRGB(bitmap->TransparentColor());
            auto* trns = image.ChunkList.AddChunk<TChunktRNS>();
            const std::uint8_t data[6] = {0, std::uint8_t(key),      0, std::uint8_t(key >> 8),
                                          0, std::uint8_t(key >> 16)};
            trns->ResizePayload(6);
            std::copy(data, data + 6, trns->Payload());
            trns->AlphaValues.fill(255);
            std::copy(data, data + 6, trns->AlphaValues.begin());
            trns->SingleKey = true;
        }
        target.CopyImage(image);
        return true;
    }
};

} // namespace

void DrawWithGdi(const TPNGObject& png, tk::TCanvas& canvas, const tk::TRect& rect) {
    const TChunkIHDR* header = png.FindHeader();
    if (!header || !header->Pixels())
        return;
    switch (png.TransparencyKind()) {
    case tkNone:
        DrawOpaque(*header, canvas.handle(), rect);
        break;
    case tkKeyColor:
        DrawKeyed(*header, canvas.handle(), rect, tk::ColorToRGB(png.KeyColor()));
        break;
    case tkPerPixel:
        DrawBlended(png, canvas.handle(), rect.left, rect.top);
        break;
    }
}

TPngPlatform& GdiPngPlatform() {
    static TGdiPlatform platform;
    return platform;
}

} // namespace sc::png
