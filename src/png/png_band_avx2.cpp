// The band of png_band.cpp in one AVX2 register, for processors at TVectorLevel::Avx2 only.
#include "png/png_vector.h"

#if SC_PNG_X86
#include <immintrin.h>

#include <algorithm>

// Only the functions here use AVX2; ChooseRowFunctions checks the processor first. On Windows
// this file is assembled with unaligned moves for the register spills (the stack is aligned to
// 16 bytes, not 32).
#define SC_AVX2 __attribute__((target("avx2")))

namespace sc::png {
namespace {

// The band as a wavefront over the 32 byte lanes of one register, as the SSE2 form (png_band.cpp)
// does over two: lane 0 holds the row above the band, lane g row g - 1 of the band, lanes hold
// complements, and step t works column t - lag(g) in lane g. A byte moves from the low half of a
// register to the high half only through a two-step permute and shift, so the high half lags one
// step more: lag(g) is g below lane 16 and g + 1 from there on. Lane 16 then takes its upper
// neighbour from lane 15 two steps back, off the chain from one step to the next, and the upper
// neighbours within each half come from one in-half byte shift of the last step.
//
// A block works 16 steps. Its 16 registers are loaded with lane j's 16 bytes in the low half and
// lane j + 16's in the high half; one 16 x 16 transpose per half turns them into the 16 steps'
// vectors, and the same transpose turns the results back.

constexpr int kLanes = 32;
constexpr int kSteps = 16;

constexpr std::ptrdiff_t Lag(int g) {
    return g < kLanes / 2 ? g : g + 1;
}

// Byte k of register j goes to byte j of register k, in each half.
SC_AVX2 inline void Transpose(__m256i* v) {
#pragma GCC unroll 4
    for (int round = 0; round < 4; ++round) {
        __m256i t[kSteps];
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i) {
            t[2 * i] = _mm256_unpacklo_epi8(v[i], v[i + 8]);
            t[2 * i + 1] = _mm256_unpackhi_epi8(v[i], v[i + 8]);
        }
#pragma GCC unroll 16
        for (int i = 0; i < kSteps; ++i)
            v[i] = t[i];
    }
}

// Paeth's pick as c - down + up, both masked by the Paeth lanes (see png_band.cpp).
SC_AVX2 inline void PaethTerms(__m256i a, __m256i b, __m256i c, __m256i mask, __m256i& down,
                               __m256i& up) {
    const __m256i zero = _mm256_setzero_si256();
    const __m256i dl = _mm256_subs_epu8(c, _mm256_min_epu8(a, b));
    const __m256i dh = _mm256_subs_epu8(_mm256_max_epu8(a, b), c);
    const __m256i takeLo = _mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_adds_epu8(dh, dh), dl), zero);
    const __m256i takeHi = _mm256_cmpeq_epi8(_mm256_subs_epu8(_mm256_adds_epu8(dl, dl), dh), zero);
    down = _mm256_and_si256(_mm256_and_si256(dl, mask), takeLo);
    up = _mm256_and_si256(_mm256_and_si256(dh, mask), takeHi);
}

struct Band {
    int count;
    std::ptrdiff_t length;
    std::ptrdiff_t steps; // length + the last row's lag
    int stride;           // bytes a pixel: 1, 2 or 3
    // Lanes past the band repeat the last row; out is set for lanes 1..count only.
    std::ptrdiff_t lag[kLanes];
    const std::uint8_t* in[kLanes];
    std::uint8_t* out[kLanes];
    alignas(32) std::uint8_t plain[kLanes];    // 1 where the lane takes no prediction
    alignas(32) std::uint8_t masks[4][kLanes]; // Sub, Up, Average, Paeth: 0xFF in their lanes
};

// Wide and Paeth as in png_band.cpp: pixels of band.stride bytes (2 or 3) read their left and
// upper-left neighbours back from memory; Paeth says whether any row needs it.
template <bool Wide, bool Paeth> SC_AVX2 void UnfilterLanes(const Band& band) {
    constexpr int kHistory = 3; // the widest stride
    const int stride = Wide ? band.stride : 1;
    const __m256i ones = _mm256_set1_epi8(-1);
#define SC_MASK(m) _mm256_load_si256(reinterpret_cast<const __m256i*>(m))
    const __m256i plain = SC_MASK(band.plain), sub = SC_MASK(band.masks[0]),
                  up = SC_MASK(band.masks[1]), average = SC_MASK(band.masks[2]),
                  paeth = SC_MASK(band.masks[3]);
#undef SC_MASK
    alignas(32) __m256i raw[kSteps], res[kHistory + kSteps], ups[kHistory + kSteps];
    __m256i last = ones, lastUp = ones, before = ones; // before: the step ahead of last
    for (int h = 0; h < kHistory; ++h)
        res[h] = ups[h] = ones;
    alignas(32) std::uint8_t stage[kLanes][kSteps];
    const int high = band.count - (kLanes / 2 - 1); // band rows in the high half (lanes 16 on)
    for (std::ptrdiff_t first = 0; first < band.steps; first += kSteps) {
        const bool inside = first >= band.lag[band.count] && first + kSteps <= band.length;
        __m256i v[kSteps];
        if (!inside)
            CopyBandEdge(band.in, nullptr, band.lag, band.count, band.length, first, stage);
#pragma GCC unroll 16
        for (int j = 0; j < kSteps; ++j) {
            const int k = j + kLanes / 2;
            const std::uint8_t* lo = inside ? band.in[j] + (first - band.lag[j]) : stage[j];
            const std::uint8_t* hi = inside ? band.in[k] + (first - band.lag[k]) : stage[k];
            v[j] = _mm256_loadu2_m128i(reinterpret_cast<const __m128i*>(hi),
                                       reinterpret_cast<const __m128i*>(lo));
        }
        Transpose(v);
#pragma GCC unroll 16
        for (int k = 0; k < kSteps; ++k)
            raw[k] = _mm256_add_epi8(v[k], plain); // + 1 in lanes without prediction
#pragma GCC unroll 2
        for (int k = 0; k < kSteps; ++k) {
            const int t = kHistory + k;
            const __m256i a = Wide ? res[t - stride] : last;
            const __m256i cross =
                _mm256_srli_si256(_mm256_permute2x128_si256(before, before, 0x08), 15);
            const __m256i b = _mm256_or_si256(_mm256_slli_si256(last, 1), cross);
            __m256i p = _mm256_or_si256(_mm256_and_si256(sub, a), _mm256_and_si256(up, b));
            p = _mm256_or_si256(p, _mm256_and_si256(average, _mm256_avg_epu8(a, b)));
            __m256i next = _mm256_sub_epi8(p, raw[k]);
            if constexpr (Paeth) {
                const __m256i c = Wide ? ups[t - stride] : lastUp;
                __m256i down, pickUp;
                PaethTerms(a, b, c, paeth, down, pickUp);
                next = _mm256_add_epi8(_mm256_add_epi8(next, _mm256_and_si256(paeth, c)), pickUp);
                next = _mm256_sub_epi8(next, down);
            }
            res[t] = next;
            if (Wide)
                ups[t] = b;
            else
                lastUp = b;
            before = last;
            last = next;
        }
#pragma GCC unroll 16
        for (int k = 0; k < kSteps; ++k)
            v[k] = _mm256_xor_si256(res[kHistory + k], ones);
        Transpose(v);
        if (Wide)
            for (int h = 0; h < kHistory; ++h) {
                res[h] = res[kSteps + h];
                ups[h] = ups[kSteps + h];
            }
        if (inside) {
#pragma GCC unroll 16
            for (int j = 0; j < kSteps; ++j) {
                if (j >= 1 && j <= band.count)
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(band.out[j] + (first - j)),
                                     _mm256_castsi256_si128(v[j]));
                if (j < high)
                    _mm_storeu_si128(
                        reinterpret_cast<__m128i*>(band.out[j + 16] + (first - band.lag[j + 16])),
                        _mm256_extracti128_si256(v[j], 1));
            }
        } else {
#pragma GCC unroll 16
            for (int j = 0; j < kSteps; ++j)
                _mm256_storeu2_m128i(reinterpret_cast<__m128i*>(stage[j + 16]),
                                     reinterpret_cast<__m128i*>(stage[j]), v[j]);
            CopyBandEdge(nullptr, band.out, band.lag, band.count, band.length, first, stage);
        }
    }
}

} // namespace

SC_AVX2 void UnfilterBandAvx2(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                              const std::uint8_t* above, std::size_t rowLength,
                              std::uint32_t filterStride) {
    Band band{};
    band.count = count;
    band.length = std::ptrdiff_t(rowLength);
    band.steps = band.length + Lag(count);
    band.stride = filterStride == 2 || filterStride == 3 ? int(filterStride) : 1;
    bool paeth = false;
    band.plain[0] = 1;
    for (int k = 0; k < count; ++k) {
        const int type = src[k][0] <= 4 ? src[k][0] : 0; // unknown types stay, as with None
        if (type == 0)
            band.plain[k + 1] = 1;
        else
            band.masks[type - 1][k + 1] = 0xFF;
        paeth |= type == 4;
    }
    for (int g = 0; g < kLanes; ++g) {
        const int row = std::min(g, count);
        band.lag[g] = Lag(row);
        band.in[g] = row == 0 ? above : src[row - 1] + 1;
        band.out[g] = g >= 1 && g <= count ? out[g - 1] : nullptr;
    }
    if (band.stride == 1)
        paeth ? UnfilterLanes<false, true>(band) : UnfilterLanes<false, false>(band);
    else
        paeth ? UnfilterLanes<true, true>(band) : UnfilterLanes<true, false>(band);
}

} // namespace sc::png
#endif
