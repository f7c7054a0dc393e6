#include "png/png_band.h"

#include "png/png_decode.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) && defined(__SSE2__)
#include <emmintrin.h>
#define SC_PNG_BAND_X86 1
#endif

namespace sc::png {
namespace {

#if SC_PNG_BAND_X86
// The band as a wavefront: lane 0 holds the row above the band, lane j (1..15) row j - 1 of the
// band, and step t works column t - j in lane j. Every neighbour a byte needs then comes from an
// earlier step: the left one (a) from step t - S in the same lane, the upper one (b) from step
// t - 1 one lane down, the upper-left one (c) from step t - 1 - S one lane down.
//
// The lanes hold the complements of the bytes. The floor mean of two bytes is the complement of
// pavgb's rounded-up mean of their complements, and Paeth picks the same neighbour from the
// complements (its three distances do not change), so each step is y = pred(ya, yb, yc) - raw
// with y = ~x for every filter type: Sub takes ya, Up yb, Average pavgb(ya, yb), Paeth its pick;
// a row without filter (and the row above the band) takes no prediction and raw + 1 instead of
// raw. Columns left of the row read as raw 0 and then come out as 0xFF, the complement of the
// zeros the filters see there.

constexpr int kLanes = 16;

// Transposes sixteen registers of sixteen bytes: byte k of register j goes to byte j of
// register k. Each round interleaves register i with register i + 8; four rounds rotate the
// eight bits of (register, byte) by four places.
inline void Transpose(__m128i (&v)[kLanes]) {
#pragma GCC unroll 4
    for (int round = 0; round < 4; ++round) {
        __m128i t[kLanes];
#pragma GCC unroll 8
        for (int i = 0; i < 8; ++i) {
            t[2 * i] = _mm_unpacklo_epi8(v[i], v[i + 8]);
            t[2 * i + 1] = _mm_unpackhi_epi8(v[i], v[i + 8]);
        }
#pragma GCC unroll 16
        for (int i = 0; i < kLanes; ++i)
            v[i] = t[i];
    }
}

// Paeth's pick among complemented neighbours, in bytes. pa = |b - c| and pb = |a - c| from
// saturated differences both ways; pc = |(b - c) + (a - c)| as the difference of the sums of
// the positive and of the negative parts: when the two differences have the same sign one sum
// is zero and pc saturates at 255, which changes no comparison with pa or pb.
inline __m128i PaethPick(__m128i a, __m128i b, __m128i c) {
    const __m128i bc = _mm_subs_epu8(b, c), cb = _mm_subs_epu8(c, b);
    const __m128i ac = _mm_subs_epu8(a, c), ca = _mm_subs_epu8(c, a);
    const __m128i pa = _mm_or_si128(bc, cb), pb = _mm_or_si128(ac, ca);
    const __m128i up = _mm_adds_epu8(bc, ac), down = _mm_adds_epu8(cb, ca);
    const __m128i pc = _mm_or_si128(_mm_subs_epu8(up, down), _mm_subs_epu8(down, up));
    const __m128i least = _mm_min_epu8(pb, pc);
    const __m128i takeA = _mm_cmpeq_epi8(_mm_min_epu8(pa, least), pa); // pa <= pb, pc
    const __m128i takeB = _mm_cmpeq_epi8(least, pb);                   // pb <= pc
    const __m128i bOrC = _mm_or_si128(_mm_and_si128(takeB, b), _mm_andnot_si128(takeB, c));
    return _mm_or_si128(_mm_and_si128(takeA, a), _mm_andnot_si128(takeA, bOrC));
}

struct Band {
    std::uint8_t* const* out;
    const std::uint8_t* const* src;
    int count;
    const std::uint8_t* above;
    std::ptrdiff_t length;
    // Per lane: all ones where the lane's row has that filter; none also for lane 0 and the
    // lanes past the band.
    __m128i none, sub, up, average, paeth;

    const std::uint8_t* Input(int lane) const { return lane == 0 ? above : src[lane - 1] + 1; }
};

// The block of steps [first, first + 16): lane j reads its row from column first - j on.
// Blocks whose columns all lie within every row are loaded in place; the others go through
// stage, where columns outside the row read as zero.
inline void LoadBlock(const Band& band, std::ptrdiff_t first, bool inside,
                      std::uint8_t (&stage)[kLanes][kLanes], __m128i (&v)[kLanes]) {
    for (int j = 0; j < kLanes; ++j)
        v[j] = _mm_setzero_si128();
    for (int j = 0; j <= band.count; ++j) {
        const std::ptrdiff_t from = first - j;
        if (inside) {
            v[j] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(band.Input(j) + from));
            continue;
        }
        const std::ptrdiff_t lo = std::max<std::ptrdiff_t>(from, 0);
        const std::ptrdiff_t hi = std::min<std::ptrdiff_t>(from + kLanes, band.length);
        std::memset(stage[j], 0, kLanes);
        if (hi > lo)
            std::memcpy(stage[j] + (lo - from), band.Input(j) + lo, std::size_t(hi - lo));
        v[j] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(stage[j]));
    }
}

inline void StoreBlock(const Band& band, std::ptrdiff_t first, bool inside,
                       std::uint8_t (&stage)[kLanes][kLanes], const __m128i (&v)[kLanes]) {
    for (int j = 1; j <= band.count; ++j) {
        const std::ptrdiff_t from = first - j;
        std::uint8_t* out = band.out[j - 1];
        if (inside) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + from), v[j]);
            continue;
        }
        const std::ptrdiff_t lo = std::max<std::ptrdiff_t>(from, 0);
        const std::ptrdiff_t hi = std::min<std::ptrdiff_t>(from + kLanes, band.length);
        if (hi <= lo)
            continue;
        _mm_storeu_si128(reinterpret_cast<__m128i*>(stage[j]), v[j]);
        std::memcpy(out + lo, stage[j] + (lo - from), std::size_t(hi - lo));
    }
}

// Steps of S-byte pixels; Average and Paeth say whether any row of the band needs them. A block
// loads all of its bytes before it stores any, and later blocks read only columns further
// right, so out may be src + 1.
template <unsigned S, bool Average, bool Paeth> void UnfilterLanes(const Band& band) {
    constexpr int kHistory = int(S) + 1;
    const __m128i ones = _mm_set1_epi8(-1);
    __m128i y[kHistory + kLanes];
    for (auto& h : y)
        h = ones;
    alignas(16) std::uint8_t stage[kLanes][kLanes];
    const std::ptrdiff_t steps = band.length + band.count;
    for (std::ptrdiff_t first = 0; first < steps; first += kLanes) {
        const bool inside = first >= kLanes && first + kLanes <= band.length;
        __m128i v[kLanes];
        LoadBlock(band, first, inside, stage, v);
        Transpose(v);
#pragma GCC unroll 16
        for (int k = 0; k < kLanes; ++k) {
            const int t = kHistory + k;
            const __m128i a = y[t - int(S)];
            const __m128i b = _mm_slli_si128(y[t - 1], 1);
            __m128i p = _mm_or_si128(_mm_and_si128(band.sub, a), _mm_and_si128(band.up, b));
            if constexpr (Average)
                p = _mm_or_si128(p, _mm_and_si128(band.average, _mm_avg_epu8(a, b)));
            if constexpr (Paeth) {
                const __m128i c = _mm_slli_si128(y[t - 1 - int(S)], 1);
                p = _mm_or_si128(p, _mm_and_si128(band.paeth, PaethPick(a, b, c)));
            }
            y[t] = _mm_sub_epi8(p, _mm_sub_epi8(v[k], band.none));
        }
#pragma GCC unroll 16
        for (int k = 0; k < kLanes; ++k)
            v[k] = _mm_xor_si128(y[kHistory + k], ones);
        Transpose(v);
        StoreBlock(band, first, inside, stage, v);
#pragma GCC unroll 9
        for (int h = 0; h < kHistory; ++h)
            y[h] = y[kLanes + h];
    }
}

template <unsigned S> void UnfilterLanesFor(const Band& band, bool average, bool paeth) {
    if (paeth)
        average ? UnfilterLanes<S, true, true>(band) : UnfilterLanes<S, false, true>(band);
    else
        average ? UnfilterLanes<S, true, false>(band) : UnfilterLanes<S, false, false>(band);
}

void UnfilterBandSse2(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                      const std::uint8_t* above, std::size_t rowLength,
                      std::uint32_t filterStride) {
    alignas(16) std::uint8_t masks[5][kLanes] = {};
    std::memset(masks[0], 0xFF, kLanes);
    // masks[0] (None) keeps lane 0 and the lanes past the band; a row's own type clears it.
    bool average = false, paeth = false;
    for (int k = 0; k < count; ++k) {
        const int type = src[k][0] <= 4 ? src[k][0] : 0; // unknown types stay, as with None
        masks[0][k + 1] = 0;
        masks[type][k + 1] = 0xFF;
        average |= type == 3;
        paeth |= type == 4;
    }
    const auto mask = [&](int type) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(masks[type]));
    };
    const Band band{out,     src,     count,   above,   std::ptrdiff_t(rowLength),
                    mask(0), mask(1), mask(2), mask(3), mask(4)};
    switch (filterStride) { // as UnfilterRowPlain: strides other than these are taken as 1
    case 2:
        return UnfilterLanesFor<2>(band, average, paeth);
    case 3:
        return UnfilterLanesFor<3>(band, average, paeth);
    case 4:
        return UnfilterLanesFor<4>(band, average, paeth);
    case 6:
        return UnfilterLanesFor<6>(band, average, paeth);
    case 8:
        return UnfilterLanesFor<8>(band, average, paeth);
    default:
        return UnfilterLanesFor<1>(band, average, paeth);
    }
}
#endif

} // namespace

void UnfilterBand(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                  const std::uint8_t* above, std::size_t rowLength, std::uint32_t filterStride) {
    if (rowLength == 0)
        return;
    for (int done = 0; done < count; done += kBandRows) {
        const int n = std::min(count - done, kBandRows);
        const std::uint8_t* const up = done == 0 ? above : out[done - 1];
#if SC_PNG_BAND_X86
        UnfilterBandSse2(out + done, src + done, n, up, rowLength, filterStride);
#else
        for (int k = 0; k < n; ++k)
            UnfilterRowPlain(out[done + k], src[done + k], k == 0 ? up : out[done + k - 1],
                             rowLength, filterStride);
#endif
    }
}

} // namespace sc::png
