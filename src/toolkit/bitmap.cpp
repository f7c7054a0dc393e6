#include "toolkit/bitmap.h"

#include "toolkit/canvas.h"
#include "toolkit/run_time_link.h"

#include <utility>

namespace tk {
namespace {

using TransparentBltFunction = BOOL(WINAPI*)(HDC, int, int, int, int, HDC, int, int, int, int,
                                             UINT);

// The library with the keyed copy is loaded at the first transparent draw, not at start: the
// windows draw no transparent bitmap on their first screen. It stays loaded for the rest of
// the run, as an import would.
TransparentBltFunction transparentBlt() {
    static const auto function =
        LoadedProcedure<TransparentBltFunction>(L"msimg32.dll", "TransparentBlt");
    return function;
}

int BitsOf(TPixelFormat format) {
    switch (format) {
    case TPixelFormat::pf1bit:
        return 1;
    case TPixelFormat::pf4bit:
        return 4;
    case TPixelFormat::pf8bit:
        return 8;
    case TPixelFormat::pf15bit:
    case TPixelFormat::pf16bit:
        return 16;
    case TPixelFormat::pf24bit:
        return 24;
    case TPixelFormat::pf32bit:
        return 32;
    default:
        return 0;
    }
}

TPixelFormat FormatOf(int bits) {
    switch (bits) {
    case 1:
        return TPixelFormat::pf1bit;
    case 4:
        return TPixelFormat::pf4bit;
    case 8:
        return TPixelFormat::pf8bit;
    case 16:
        return TPixelFormat::pf16bit;
    case 24:
        return TPixelFormat::pf24bit;
    case 32:
        return TPixelFormat::pf32bit;
    default:
        return TPixelFormat::pfDevice;
    }
}

} // namespace

// ---- TBitmap ----

TBitmap::~TBitmap() {
    ReleaseCanvas();
}

void TBitmap::ReleaseCanvas() const {
    if (dc_) {
        SelectObject(dc_.get(), previous_);
        dc_.reset();
        previous_ = nullptr;
    }
}

HDC TBitmap::CanvasHandle() const {
    if (!dc_ && bitmap_) {
        dc_.reset(live::CreateCompatibleDC(nullptr));
        previous_ = SelectObject(dc_.get(), bitmap_.get());
    }
    return dc_.get();
}

void TBitmap::Recreate() {
    ReleaseCanvas();
    bitmap_.reset();
    if (width_ <= 0 || height_ <= 0)
        return;
    const int bits = BitsOf(format_);
    if (bits == 0) {
        WindowDc screen(nullptr);
        bitmap_.reset(live::CreateCompatibleBitmap(screen.get(), width_, height_));
    } else {
        struct {
            BITMAPINFOHEADER header;
            RGBQUAD colours[256];
        } info{};
        info.header.biSize = sizeof info.header;
        info.header.biWidth = width_;
        info.header.biHeight = -height_;
        info.header.biPlanes = 1;
        info.header.biBitCount = static_cast<WORD>(bits);
        if (bits <= 8) // a grey ramp, so that the bitmap can show something
            for (int i = 0, n = 1 << bits; i < n; ++i) {
                const auto v = static_cast<BYTE>(i * 255 / (n - 1));
                info.colours[i] = RGBQUAD{v, v, v, 0};
            }
        void* bits_ = nullptr;
        bitmap_.reset(live::CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info),
                                             DIB_RGB_COLORS, &bits_, nullptr, 0));
    }
    if (!bitmap_)
        throw EConvertError("Out of system resources");
}

void TBitmap::SetSize(int width, int height) {
    width_ = width > 0 ? width : 0;
    height_ = height > 0 ? height : 0;
    Recreate();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == format_)
        return;
    format_ = format;
    Recreate();
}

void TBitmap::SetHandle(HBITMAP handle) {
    ReleaseCanvas();
    bitmap_.reset(handle);
    BITMAP info{};
    if (handle && GetObjectW(handle, sizeof info, &info)) {
        width_ = info.bmWidth;
        height_ = info.bmHeight < 0 ? -info.bmHeight : info.bmHeight;
        format_ = info.bmBits ? FormatOf(info.bmBitsPixel) : TPixelFormat::pfDevice;
    } else {
        width_ = height_ = 0;
        format_ = TPixelFormat::pfDevice;
    }
}

HBITMAP TBitmap::ReleaseHandle() {
    ReleaseCanvas();
    width_ = height_ = 0;
    return bitmap_.release();
}

TColor TBitmap::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || !CanvasHandle())
        return 0;
    GdiFlush();
    const COLORREF c = GetPixel(CanvasHandle(), x, y);
    return c == CLR_INVALID ? 0 : c;
}

void TBitmap::SetPixel(int x, int y, TColor colour) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_ || !CanvasHandle())
        return;
    SetPixelV(CanvasHandle(), x, y, ColorToRGB(colour));
}

TColor TBitmap::TransparentColor() const {
    if (mode_ == TTransparentMode::tmFixed)
        return colour_;
    return Pixel(0, height_ - 1);
}

void TBitmap::Draw(TCanvas& canvas, const TRect& rect) {
    if (!bitmap_ || !CanvasHandle())
        return;
    const int w = rect.right - rect.left, h = rect.bottom - rect.top;
    if (transparent_) {
        if (TransparentBltFunction keyedCopy = transparentBlt())
            keyedCopy(canvas.handle(), rect.left, rect.top, w, h, CanvasHandle(), 0, 0, width_,
                      height_, ColorToRGB(TransparentColor()));
    } else
        StretchBlt(canvas.handle(), rect.left, rect.top, w, h, CanvasHandle(), 0, 0, width_,
                   height_, SRCCOPY);
}

void TBitmap::Assign(const TGraphic& source) {
    const auto* from = dynamic_cast<const TBitmap*>(&source);
    if (!from) {
        TGraphic::Assign(source);
        return;
    }
    if (from == this)
        return;
    format_ = from->format_;
    width_ = from->width_;
    height_ = from->height_;
    Recreate();
    if (bitmap_ && from->CanvasHandle())
        BitBlt(CanvasHandle(), 0, 0, width_, height_, from->CanvasHandle(), 0, 0, SRCCOPY);
    transparent_ = from->transparent_;
    mode_ = from->mode_;
    colour_ = from->colour_;
}

void TBitmap::LoadFromStream(TStream&) {
    throw EConvertError("Bitmap files cannot be read");
}

// ---- TIcon ----

TIcon::~TIcon() {
    if (icon_)
        live::DestroyIcon(icon_);
}

void TIcon::SetHandle(HICON icon) {
    if (icon_ && icon_ != icon)
        live::DestroyIcon(icon_);
    icon_ = icon;
    width_ = height_ = 0;
    ICONINFO info{};
    if (icon && live::GetIconInfo(icon, &info)) {
        BITMAP bm{};
        if (info.hbmColor && GetObjectW(info.hbmColor, sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight;
        } else if (info.hbmMask && GetObjectW(info.hbmMask, sizeof bm, &bm)) {
            width_ = bm.bmWidth;
            height_ = bm.bmHeight / 2; // the mask of a monochrome icon holds both halves
        }
        if (info.hbmColor)
            live::DeleteObject(info.hbmColor);
        if (info.hbmMask)
            live::DeleteObject(info.hbmMask);
    }
}

HICON TIcon::ReleaseHandle() {
    width_ = height_ = 0;
    return std::exchange(icon_, nullptr);
}

void TIcon::Draw(TCanvas& canvas, const TRect& rect) {
    if (icon_)
        DrawIconEx(canvas.handle(), rect.left, rect.top, icon_, rect.right - rect.left,
                   rect.bottom - rect.top, 0, nullptr, DI_NORMAL);
}

void TIcon::LoadFromStream(TStream&) {
    throw EConvertError("Icon files cannot be read");
}

} // namespace tk
