#include "png/png_icon_strip.h"

#include "png/png_functions.h"
#include "png/png_gdi_win32.h"
#include "toolkit/canvas.h"

#include <algorithm>
#include <limits>
#include <vector>

namespace sc::png {

namespace {

HBITMAP topDownSection(int width, int height, std::uint32_t** bits) {
    void* p = nullptr;
    HBITMAP bitmap = CreateTopDownSection(width, height, &p);
    *bits = static_cast<std::uint32_t*>(p);
    return bitmap;
}

} // namespace

IconStrip::IconStrip(int width, int height, int count, int version)
    : width_(std::max(width, 1)), height_(std::max(height, 1)), stripWidth_(0), version_(version),
      dc_(tk::live::CreateCompatibleDC(nullptr)) {
    // Both bitmaps hold stripWidth x height 32-bit pixels: keep that well inside an int.
    constexpr int kMaxPixels = std::numeric_limits<int>::max() / 8;
    if (count < 1 || width_ > kMaxPixels / height_ / count || !dc_) {
        return;
    }
    stripWidth_ = width_ * count;
    colour_.reset(topDownSection(stripWidth_, height_, &colourBits_));
    mask_.reset(topDownSection(stripWidth_, height_, &maskBits_));
    if (!colour_ || !mask_) {
        colourBits_ = maskBits_ = nullptr;
        return;
    }
    previous_ = SelectObject(dc_.get(), colour_.get());
}

IconStrip::~IconStrip() {
    if (previous_) {
        SelectObject(dc_.get(), previous_);
    }
}

void IconStrip::Put(int slot, const TPNGObject& png, tk::TColor background) {
    const int x0 = slot * width_;
    if (!Ok() || slot < 0 || x0 >= stripWidth_ || !png.FindHeader()) {
        return;
    }
    const int w = std::min(png.Width(), width_), h = std::min(png.Height(), height_);
    const TIconTransparency transparency(png);
    const std::uint32_t opaque = 0, transparent = 0xFFFFFF;

    if (version_ >= 0x60000) {
        for (int y = 0; y < h; ++y) {
            const std::uint8_t* alpha = png.AlphaRow(static_cast<std::uint32_t>(y));
            for (int x = 0; x < w; ++x) {
                std::uint32_t c = PixelColor(png, x, y); // 0x00BBGGRR
                std::uint32_t a = transparency.AlphaByte(alpha, x, c);
                colourBits_[Index(x0 + x, y)] =
                    (a << 24) | ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
                maskBits_[Index(x0 + x, y)] = opaque;
            }
        }
        return;
    }

    RECT cell{x0, 0, x0 + width_, height_};
    tk::UniqueBrush brush(tk::live::CreateSolidBrush(tk::ColorToRGB(background)));
    FillRect(dc_.get(), &cell, brush.get());
    tk::FontCache fonts;
    tk::TCanvas canvas(fonts);
    canvas.setHandle(dc_.get());
    DrawWithGdi(png, canvas, tk::TRect{x0, 0, x0 + w, h});
    GdiFlush();
    for (int y = 0; y < height_; ++y) {
        const std::uint8_t* alpha = y < h ? png.AlphaRow(static_cast<std::uint32_t>(y)) : nullptr;
        for (int x = 0; x < width_; ++x) {
            const bool clear = x < w && y < h && transparency.Masked(png, alpha, x, y);
            maskBits_[Index(x0 + x, y)] = clear ? transparent : opaque;
            if (clear) {
                colourBits_[Index(x0 + x, y)] = 0; // a masked pixel adds nothing when drawn
            }
        }
    }
}

bool IconStrip::AddTo(HIMAGELIST list) const {
    if (!Ok()) {
        return false;
    }
    // The mask as the platform keeps it: one bit per pixel, set where transparent, rows padded
    // to 16 bits.
    const std::size_t rowBytes = (static_cast<std::size_t>(stripWidth_) + 15) / 16 * 2;
    std::vector<std::uint8_t> bits(rowBytes * static_cast<std::size_t>(height_), 0);
    for (int y = 0; y < height_; ++y) {
        for (int x = 0; x < stripWidth_; ++x) {
            if (MaskedAt(x, y)) {
                bits[static_cast<std::size_t>(y) * rowBytes + static_cast<std::size_t>(x / 8)] |=
                    static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
    }
    tk::UniqueBitmap mono(tk::live::CreateBitmap(stripWidth_, height_, 1, 1, bits.data()));
    // The platform copies the colour bitmap, which may not stay selected meanwhile.
    SelectObject(dc_.get(), previous_);
    bool added = mono && ImageList_Add(list, colour_.get(), mono.get()) >= 0;
    SelectObject(dc_.get(), colour_.get());
    return added;
}

} // namespace sc::png
