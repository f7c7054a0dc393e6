#include "png/png_functions.h"

#include <cfenv>
#include <cmath>
#include <cstring>
#include <memory>

namespace sc::png {
namespace {

// Runs the x87 unit with 64-bit mantissas and rounding to nearest for the scope's lifetime, and
// restores the control word after; Windows run-times may leave it at 53 bits.
class ExtendedPrecision {
  public:
#if defined(__i386__) || defined(__x86_64__)
    ExtendedPrecision() {
        __asm__ volatile("fnstcw %0" : "=m"(Saved));
        std::uint16_t wanted = static_cast<std::uint16_t>((Saved | 0x0300) & ~0x0C00);
        __asm__ volatile("fldcw %0" : : "m"(wanted));
    }
    ~ExtendedPrecision() {
        __asm__ volatile("fldcw %0" : : "m"(Saved));
    }

  private:
    std::uint16_t Saved = 0;
#endif
};

bool IsRgb(const TChunkIHDR& h) {
    return h.ColorType() == COLOR_RGB || h.ColorType() == COLOR_RGBALPHA;
}

} // namespace

long long RoundHalfEven(long double value) {
    const long double floor = std::floor(value);
    const long double diff = value - floor;
    auto result = static_cast<long long>(floor);
    if (diff > 0.5L || (diff == 0.5L && (result & 1) != 0))
        ++result;
    return result;
}

int GreyOf(int r, int g, int b) {
    ExtendedPrecision precision;
    volatile long double grey = 0.3L * r + 0.59L * g + 0.11L * b;
    return static_cast<int>(RoundHalfEven(grey));
}

std::uint8_t GreyChannel(int c, int grey, std::uint8_t amount) {
    const long double a = static_cast<long double>(c) / 256.0L * (255 - amount);
    const long double b = static_cast<long double>(grey) / 256.0L * (amount + 1);
    return static_cast<std::uint8_t>((RoundHalfEven(a) + RoundHalfEven(b)) & 0xFF);
}

std::uint8_t ScaledAlpha(std::uint8_t alpha, std::uint8_t amount) {
    return static_cast<std::uint8_t>(
        RoundHalfEven(static_cast<long double>(alpha) / 256.0L * (amount + 1)));
}

std::uint32_t PixelColor(const TPNGObject& png, int x, int y) {
    const TChunkIHDR* h = png.FindHeader();
    if (!h || !h->Pixels() || x < 0 || y < 0 || x >= png.Width() || y >= png.Height())
        return 0;
    const std::uint8_t* row = png.PixelRow(static_cast<std::uint32_t>(y));
    const auto ux = static_cast<unsigned>(x);
    switch (h->ColorType()) {
    case COLOR_RGB:
    case COLOR_RGBALPHA:
        return std::uint32_t(row[3 * ux + 2]) | std::uint32_t(row[3 * ux + 1]) << 8 |
               std::uint32_t(row[3 * ux]) << 16;
    case COLOR_GRAYSCALEALPHA:
        return std::uint32_t(row[ux]) * 0x010101u;
    default: {
        unsigned index;
        switch (h->DibInfo().bmiHeader.biBitCount) {
        case 1:
            index = (row[ux >> 3] >> (7 - (ux & 7))) & 1;
            break;
        case 4:
            index = (ux & 1) ? row[ux >> 1] & 15 : row[ux >> 1] >> 4;
            break;
        default:
            index = row[ux];
        }
        const TRgbQuad& q = h->DibInfo().bmiColors[index];
        return std::uint32_t(q.rgbRed) | std::uint32_t(q.rgbGreen) << 8 |
               std::uint32_t(q.rgbBlue) << 16;
    }
    }
}

void SetPixelColor(TPNGObject& png, int x, int y, std::uint32_t colour) {
    const TChunkIHDR* h = png.FindHeader();
    if (!h || !h->Pixels() || !IsRgb(*h) || x < 0 || y < 0 || x >= png.Width() || y >= png.Height())
        return;
    std::uint8_t* p = png.PixelRow(static_cast<std::uint32_t>(y)) + 3 * std::size_t(x);
    p[0] = static_cast<std::uint8_t>(colour >> 16);
    p[1] = static_cast<std::uint8_t>(colour >> 8);
    p[2] = static_cast<std::uint8_t>(colour);
}

void CreateBlankRgb(TPNGObject& png, int width, int height) {
    if (width < 0 || height < 0)
        TPNGObject::RaiseError<EPngInvalidIHDR>("The \"Portable Network Graphics\" image could "
                                                "not be created: negative size");
    TPNGObject fresh;
    auto* header = static_cast<TChunkIHDR*>(TChunkIHDR::Class.Create(fresh).release());
    fresh.ChunkList.Add(header);
    header->Define(static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height), 8,
                   COLOR_RGB);
    fresh.ChunkList.Add(TChunkIDAT::Class.Create(fresh).release());
    fresh.ChunkList.Add(TChunkIEND::Class.Create(fresh).release());
    png.CopyImage(fresh);
}

void BlendPngAlpha(TPNGObject& png, std::uint8_t amount) {
    const TChunkIHDR& h = png.HeaderChunk();
    const bool keyed = png.TransparencyKind() == tkKeyColor;
    const std::uint32_t key = png.KeyColor();
    const int width = png.Width(), height = png.Height();
    switch (h.ColorType()) {
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        break;
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE: {
        TPNGObject n;
        CreateBlankRgb(n, width, height);
        n.AddAlphaPlane();
        for (int y = 0; y < height; ++y) {
            std::uint8_t* alpha = n.AlphaRow(static_cast<std::uint32_t>(y));
            for (int x = 0; x < width; ++x) {
                const std::uint32_t c = PixelColor(png, x, y);
                SetPixelColor(n, x, y, c);
                alpha[x] = keyed && c == key ? 0 : amount;
            }
        }
        png.CopyImage(n);
        return;
    }
    default:
        png.AddAlphaPlane();
        break;
    }
    for (int y = 0; y < height; ++y) {
        std::uint8_t* alpha = png.AlphaRow(static_cast<std::uint32_t>(y));
        if (!alpha)
            return;
        for (int x = 0; x < width; ++x)
            alpha[x] = keyed && PixelColor(png, x, y) == key ? 0 : ScaledAlpha(alpha[x], amount);
    }
}

void GrayscalePng(TPNGObject& png, std::uint8_t amount) {
    TChunkIHDR& h = png.HeaderChunk();
    switch (h.ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_GRAYSCALEALPHA:
        return;
    case COLOR_PALETTE:
        for (TRgbQuad& q : h.DibInfo().bmiColors) {
            const int grey = GreyOf(q.rgbRed, q.rgbGreen, q.rgbBlue);
            q.rgbRed = GreyChannel(q.rgbRed, grey, amount);
            q.rgbGreen = GreyChannel(q.rgbGreen, grey, amount);
            q.rgbBlue = GreyChannel(q.rgbBlue, grey, amount);
        }
        png.ReleaseSystemPalette();
        return;
    default:
        break;
    }
    if (!h.Pixels())
        return;
    const int width = png.Width(), height = png.Height();
    for (int y = 0; y < height; ++y) {
        std::uint8_t* p = png.PixelRow(static_cast<std::uint32_t>(y));
        for (int x = 0; x < width; ++x, p += 3) {
            const int grey = GreyOf(p[2], p[1], p[0]);
            p[2] = GreyChannel(p[2], grey, amount);
            p[1] = GreyChannel(p[1], grey, amount);
            p[0] = GreyChannel(p[0], grey, amount);
        }
    }
}

} // namespace sc::png
