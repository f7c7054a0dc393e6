#include "png/png_decode.h"

#include "png/png_image.h"
#include "png/png_vector.h"

#include <cstring>

namespace sc::png {

const TAdam7Pass kAdam7Passes[7] = {{0, 8, 0, 8}, {0, 8, 4, 8}, {4, 8, 0, 4}, {0, 4, 2, 4},
                                    {2, 4, 0, 2}, {0, 2, 1, 2}, {1, 2, 0, 1}};

std::size_t PackedRowBytes(std::uint32_t pixels, std::uint8_t colorType, std::uint8_t bitDepth) {
    std::uint64_t p = std::uint64_t(pixels) * bitDepth;
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
        return static_cast<std::size_t>((p + 7) / 8);
    case COLOR_RGB:
        return static_cast<std::size_t>(3 * p / 8);
    case COLOR_GRAYSCALEALPHA:
        return static_cast<std::size_t>(2 * p / 8);
    case COLOR_RGBALPHA:
        return static_cast<std::size_t>(4 * p / 8);
    default:
        return 0;
    }
}

std::uint32_t FilterStrideFor(std::uint8_t colorType, std::uint8_t bitDepth) {
    switch (colorType) {
    case COLOR_GRAYSCALE:
        return bitDepth == 16 ? 2 : 1;
    case COLOR_PALETTE:
        return 1;
    case COLOR_RGB:
        return 3u * bitDepth / 8;
    case COLOR_GRAYSCALEALPHA:
        return bitDepth / 4u;
    case COLOR_RGBALPHA:
        return bitDepth / 2u;
    default:
        return 0;
    }
}

std::uint32_t Adam7PassWidth(int pass, std::uint32_t width) {
    const TAdam7Pass& p = kAdam7Passes[pass - 1];
    if (width <= p.FirstColumn)
        return 0;
    return (width - p.FirstColumn + p.ColumnStep - 1) / p.ColumnStep;
}

namespace {

// The filters, one pixel stride at a time, in the form of TUnfilterRow: the left and upper-left
// bytes of each channel stay in locals, so no byte is read back from memory just after it was
// stored. out may be raw.
void CopyRow(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t*, std::size_t n) {
    if (d != r)
        std::memcpy(d, r, n);
}

template <unsigned S>
void UnfilterSub(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t*, std::size_t n) {
    if (d != r)
        std::memcpy(d, r, n < S ? n : S);
    if (n <= S)
        return;
    std::uint8_t left[S];
    std::memcpy(left, r, S);
    std::size_t j = S;
    for (; j + S <= n; j += S)
        for (unsigned k = 0; k < S; ++k)
            d[j + k] = left[k] = std::uint8_t(r[j + k] + left[k]);
    for (unsigned k = 0; j < n; ++j, ++k)
        d[j] = std::uint8_t(r[j] + left[k]);
}

void UnfilterUp(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
    for (std::size_t j = 0; j < n; ++j)
        d[j] = std::uint8_t(r[j] + q[j]);
}

template <unsigned S>
void UnfilterAverage(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
    std::uint8_t left[S] = {};
    std::size_t j = 0;
    for (; j + S <= n; j += S)
        for (unsigned k = 0; k < S; ++k)
            d[j + k] = left[k] = std::uint8_t(r[j + k] + ((unsigned(q[j + k]) + left[k]) >> 1));
    for (unsigned k = 0; j < n; ++j, ++k)
        d[j] = std::uint8_t(r[j] + ((unsigned(q[j]) + left[k]) >> 1));
}

inline std::uint8_t Paeth(int a, int b, int c) {
    int pa = b - c, pb = a - c;
    int pc = pa + pb;
    pa = pa < 0 ? -pa : pa;
    pb = pb < 0 ? -pb : pb;
    pc = pc < 0 ? -pc : pc;
    int pick = pb <= pc ? b : c;
    return std::uint8_t((pa <= pb && pa <= pc) ? a : pick);
}

template <unsigned S>
void UnfilterPaeth(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
    std::uint8_t left[S] = {}, upLeft[S] = {};
    std::size_t j = 0;
    for (; j + S <= n; j += S)
        for (unsigned k = 0; k < S; ++k) {
            const std::uint8_t up = q[j + k];
            d[j + k] = left[k] = std::uint8_t(r[j + k] + Paeth(left[k], up, upLeft[k]));
            upLeft[k] = up;
        }
    for (unsigned k = 0; j < n; ++j, ++k)
        d[j] = std::uint8_t(r[j] + Paeth(left[k], q[j], upLeft[k]));
}

template <unsigned S> void PlainUnfiltersOf(TUnfilterRow (&unfilter)[5]) {
    unfilter[0] = CopyRow;
    unfilter[1] = UnfilterSub<S>;
    unfilter[2] = UnfilterUp;
    unfilter[3] = UnfilterAverage<S>;
    unfilter[4] = UnfilterPaeth<S>;
}

} // namespace

void PlainUnfilters(std::uint32_t filterStride, TUnfilterRow (&unfilter)[5]) {
    switch (filterStride) {
    case 2:
        return PlainUnfiltersOf<2>(unfilter);
    case 3:
        return PlainUnfiltersOf<3>(unfilter);
    case 4:
        return PlainUnfiltersOf<4>(unfilter);
    case 6:
        return PlainUnfiltersOf<6>(unfilter);
    case 8:
        return PlainUnfiltersOf<8>(unfilter);
    default: // 1, and a stride that no sample format has
        return PlainUnfiltersOf<1>(unfilter);
    }
}

void UnfilterRowPlain(std::uint8_t* out, const std::uint8_t* src, const std::uint8_t* above,
                      std::size_t rowLength, std::uint32_t filterStride) {
    TUnfilterRow unfilter[5];
    PlainUnfilters(filterStride, unfilter);
    unfilter[src[0] < 5 ? src[0] : 0](out, src + 1, above, rowLength);
}

bool HasConversion(std::uint8_t colorType, std::uint8_t bitDepth) {
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
        return bitDepth == 1 || bitDepth == 2 || bitDepth == 4 || bitDepth == 8 || bitDepth == 16;
    case COLOR_RGB:
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        return bitDepth == 8 || bitDepth == 16;
    default:
        return false;
    }
}

namespace {

inline std::uint32_t Sample(const std::uint8_t* src, std::uint32_t k, unsigned bits) {
    std::uint32_t bit = k * bits;
    unsigned shift = 8 - bits - (bit & 7);
    return (src[bit >> 3] >> shift) & ((1u << bits) - 1);
}

// Sub-byte and byte samples kept as indices of the DIB's width (1, 4 or 8 bits per pixel).
void PlaceIndices(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                  std::uint32_t first, std::uint32_t step, unsigned bits) {
    std::uint32_t col = first;
    switch (bits) {
    case 1:
        for (std::uint32_t k = 0; k < count; ++k, col += step)
            dib[col >> 3] |= std::uint8_t(Sample(src, k, 1) << (7 - (col & 7)));
        break;
    case 4:
        for (std::uint32_t k = 0; k < count; ++k, col += step) {
            std::uint32_t v = (src[k >> 1] >> ((k & 1) ? 0 : 4)) & 15;
            dib[col >> 1] |= std::uint8_t((col & 1) ? v : v << 4);
        }
        break;
    default:
        for (std::uint32_t k = 0; k < count; ++k, col += step)
            dib[col] = src[k];
        break;
    }
}

// 2-bit samples widened to 4-bit indices: palette indices keep their value, grey levels are
// multiplied by 5 so that they meet the 16-entry ramp at 0, 85, 170 and 255.
void PlaceTwoBit(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                 std::uint32_t first, std::uint32_t step, bool grey) {
    if (step == 1 && first == 0) // a whole row, written over whatever the bitmap held
        std::memset(dib, 0, (std::size_t(count) + 1) / 2);
    const std::uint32_t m = grey ? 5 : 1;
    std::uint32_t col = first;
    for (std::uint32_t k = 0; k < count; ++k, col += step) {
        std::uint32_t v = Sample(src, k, 2) * m;
        dib[col >> 1] |= std::uint8_t((col & 1) ? v : v << 4);
    }
}

// Every N-th byte of the source into an 8-bit index, optionally with alpha at byte offset A.
template <unsigned N, int A>
void PlaceGrey(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha, std::uint32_t count,
               std::uint32_t first, std::uint32_t step) {
    std::uint8_t* d = dib + first;
    if constexpr (A >= 0) {
        std::uint8_t* a = alpha + first;
        for (std::uint32_t k = 0; k < count; ++k, src += N, d += step, a += step) {
            *d = src[0];
            *a = src[A];
        }
    } else {
        for (std::uint32_t k = 0; k < count; ++k, src += N, d += step)
            *d = src[0];
    }
}

// Truecolour: N source bytes per pixel, sample bytes at 0, W, 2W (red, green, blue), alpha at A.
template <unsigned N, unsigned W, int A, bool Gamma>
void PlaceColour(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha,
                 std::uint32_t count, std::uint32_t first, std::uint32_t step,
                 const std::uint8_t* g) {
    std::uint8_t* d = dib + 3 * std::size_t(first);
    const std::size_t dstep = 3 * std::size_t(step);
    std::uint8_t* a = alpha ? alpha + first : nullptr;
    for (std::uint32_t k = 0; k < count; ++k, src += N, d += dstep) {
        if constexpr (Gamma) {
            d[0] = g[src[2 * W]];
            d[1] = g[src[W]];
            d[2] = g[src[0]];
        } else {
            d[0] = src[2 * W];
            d[1] = src[W];
            d[2] = src[0];
        }
        if constexpr (A >= 0) {
            *a = src[A];
            a += step;
        }
    }
}

template <bool Gamma>
void ConvertColour(std::uint8_t colorType, std::uint8_t bitDepth, const std::uint8_t* src,
                   std::uint8_t* dib, std::uint8_t* alpha, std::uint32_t count, std::uint32_t first,
                   std::uint32_t step, const std::uint8_t* g) {
    if (!Gamma && bitDepth == 8 && first == 0 && step == 1) {
        if (colorType == COLOR_RGB)
            ConvertRgb8(src, dib, count);
        else
            ConvertRgba8(src, dib, alpha, count);
        return;
    }
    if (colorType == COLOR_RGB) {
        if (bitDepth == 8)
            PlaceColour<3, 1, -1, Gamma>(src, dib, nullptr, count, first, step, g);
        else
            PlaceColour<6, 2, -1, Gamma>(src, dib, nullptr, count, first, step, g);
    } else {
        if (bitDepth == 8)
            PlaceColour<4, 1, 3, Gamma>(src, dib, alpha, count, first, step, g);
        else
            PlaceColour<8, 2, 6, Gamma>(src, dib, alpha, count, first, step, g);
    }
}

} // namespace

void ConvertRow(std::uint8_t colorType, std::uint8_t bitDepth, const std::uint8_t* src,
                std::uint8_t* dibRow, std::uint8_t* alphaRow, std::uint32_t count,
                std::uint32_t firstColumn, std::uint32_t columnStep, const std::uint8_t* gamma) {
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
        if (bitDepth == 16) {
            PlaceGrey<2, -1>(src, dibRow, nullptr, count, firstColumn, columnStep);
        } else if (bitDepth == 2) {
            PlaceTwoBit(src, dibRow, count, firstColumn, columnStep, colorType == COLOR_GRAYSCALE);
        } else if (columnStep == 1 && firstColumn == 0) {
            std::memcpy(dibRow, src, PackedRowBytes(count, colorType, bitDepth));
        } else {
            PlaceIndices(src, dibRow, count, firstColumn, columnStep, bitDepth);
        }
        break;
    case COLOR_GRAYSCALEALPHA:
        if (bitDepth == 8)
            PlaceGrey<2, 1>(src, dibRow, alphaRow, count, firstColumn, columnStep);
        else
            PlaceGrey<4, 2>(src, dibRow, alphaRow, count, firstColumn, columnStep);
        break;
    case COLOR_RGB:
    case COLOR_RGBALPHA:
        if (gamma)
            ConvertColour<true>(colorType, bitDepth, src, dibRow, alphaRow, count, firstColumn,
                                columnStep, gamma);
        else
            ConvertColour<false>(colorType, bitDepth, src, dibRow, alphaRow, count, firstColumn,
                                 columnStep, gamma);
        break;
    default:
        break;
    }
}

void BuildGreyRamp(TChunkIHDR& header, const std::uint8_t* gamma) {
    if (header.ColorType() != COLOR_GRAYSCALE && header.ColorType() != COLOR_GRAYSCALEALPHA)
        return;
    unsigned bits = header.DibInfo().bmiHeader.biBitCount;
    if (bits != 1 && bits != 4 && bits != 8)
        return;
    // Entry k shows level round(k x 255 / (n - 1)), which is k x (255 / (n - 1)) exactly, as 255
    // is a multiple of 1, 15 and 255. The reserved bytes stay as they are.
    const unsigned n = 1u << bits;
    const unsigned step = 255 / (n - 1);
    TRgbQuad* table = header.DibInfo().bmiColors;
    for (unsigned k = 0; k < n; ++k)
        table[k].rgbBlue = table[k].rgbGreen = table[k].rgbRed = gamma[k * step];
}

} // namespace sc::png
