// Unfiltering a band of consecutive rows at once. Average and Paeth rows carry a serial chain
// along the row, so one row alone runs at that chain's latency; a band works its rows side by
// side in two SSE2 registers, one row per byte lane, each row a column behind the one above it.
#include "png/png_vector.h"

#if SC_PNG_X86
#include <emmintrin.h>

#include <algorithm>
#include <cstring>

namespace sc::png {
namespace {

// The band as a wavefront over the byte lanes of two registers, numbered g = 0..31 across them:
// lane 0 holds the row above the band, lane g row g - 1 of the band, and step t works column
// t - g in lane g. Every neighbour a byte needs then comes from an earlier step: the left one (a)
// from step t - S in the same lane, the upper one (b) from step t - 1 one lane down, the
// upper-left one (c) from step t - 1 - S one lane down. Two registers keep two chains of steps in
// flight, which the latency of a Paeth step needs.
//
// The lanes hold the complements of the bytes. The floor mean of two bytes is the complement of
// pavgb's rounded-up mean of their complements, and Paeth picks the same neighbour from the
// complements (its three distances do not change), so each step is y = pred(ya, yb, yc) - raw
// with y = ~x for every filter type: Sub takes ya, Up yb, Average pavgb(ya, yb), Paeth its pick;
// a row without filter (and the row above the band) takes no prediction and raw + 1 instead of
// raw. Columns left of the row read as raw 0 and then come out as 0xFF, the complement of the
// zeros the filters see there; columns past its end are worked and thrown away.
//
// The steps' vectors come from a 16 x 16 byte transpose of each register's rows, lane g's row
// loaded from column first - g for the block of steps [first, first + 16), and go back the
// same way.

constexpr int kLanes = 16;
constexpr int kRegisters = 2;
constexpr int kAll = kRegisters * kLanes; // the band and the row above it

// Transposes sixteen registers of sixteen bytes: byte k of register j goes to byte j of
// register k. Each round interleaves register i with register i + 8; four rounds rotate the
// eight bits of (register, byte) by four places.
inline void Transpose(__m128i* v) {
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

// Paeth's pick in bytes. With lo and hi the smaller and larger of a and b, dl = c - lo and
// dh = hi - c (saturated at 0): the pick is lo when 2 dh <= dl, else hi when 2 dl <= dh, else c.
// (Where c lies outside [lo, hi] one distance is 0 and this gives the neighbour further from c;
// inside, the usual three distances are dh, dl and |dh - dl|. 2 dh saturates only where
// dl < 255.) Lo is c - dl and hi is c + dh wherever they are picked, so the pick is
// c - down + up; both are returned masked (by the lanes of Paeth rows), and c is left to the
// caller, who adds it off the chain from one step to the next.
inline void PaethTerms(__m128i a, __m128i b, __m128i c, __m128i mask, __m128i& down, __m128i& up) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i dl = _mm_subs_epu8(c, _mm_min_epu8(a, b));
    const __m128i dh = _mm_subs_epu8(_mm_max_epu8(a, b), c);
    const __m128i takeLo = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_adds_epu8(dh, dh), dl), zero);
    const __m128i takeHi = _mm_cmpeq_epi8(_mm_subs_epu8(_mm_adds_epu8(dl, dl), dh), zero);
    down = _mm_and_si128(_mm_and_si128(dl, mask), takeLo);
    up = _mm_and_si128(_mm_and_si128(dh, mask), takeHi);
}

struct Band {
    int count;
    std::ptrdiff_t length;
    int stride;          // bytes a pixel: 1, 2 or 3
    std::uint32_t plain; // bit g: lane g takes no prediction (lane 0 and rows without filter)
    // Lane g works column t - g (t - lag[g]) of its row at step t; the lanes past the band repeat
    // the last row. in[g] is that row's bytes, out[g] its results (lanes 1..count).
    std::ptrdiff_t lag[kAll];
    const std::uint8_t* in[kAll];
    std::uint8_t* out[kAll];
    // Per lane: all ones where the lane's row has that filter.
    __m128i sub[kRegisters], up[kRegisters], average[kRegisters], paeth[kRegisters];
};

// The steps over the two registers: lane 0 of the second takes its upper neighbours from lane 15
// of the first. Wide: pixels of S = band.stride bytes, 2 or 3, whose left and upper-left
// neighbours are read back from memory (as steps t - S lie far enough back); without it S is 1
// and they stay in registers. Paeth says whether any row of the band needs it. A block loads all
// of its bytes before it stores any, and later blocks read only columns further right, so out
// may be src + 1.
template <bool Wide, bool Paeth> void UnfilterLanes(const Band& band) {
    constexpr int kHistory = 3; // the widest stride
    const int stride = Wide ? band.stride : 1;
    const __m128i ones = _mm_set1_epi8(-1);
    // The steps' raw bytes (transposed), their complemented results and their upper neighbours
    // (b), which are the upper-left ones (c) S steps later, kept in memory with the last
    // kHistory steps of the block before: the chain from one step to the next keeps only the
    // last results in registers.
    alignas(16) __m128i raw[kRegisters][kLanes], res[kRegisters][kHistory + kLanes],
        ups[kRegisters][kHistory + kLanes];
    __m128i last[kRegisters], lastUp[kRegisters];
    for (int r = 0; r < kRegisters; ++r) {
        last[r] = lastUp[r] = ones;
        for (int h = 0; h < kHistory; ++h)
            res[r][h] = ups[r][h] = ones;
    }
    alignas(16) std::uint8_t stage[kAll][kLanes];
    const std::ptrdiff_t steps = band.length + band.count;
    for (std::ptrdiff_t first = 0; first < steps; first += kLanes) {
        const bool inside = first >= band.count && first + kLanes <= band.length;
        __m128i v[kAll];
        if (!inside)
            CopyBandEdge(band.in, nullptr, band.lag, band.count, band.length, first, stage);
#pragma GCC unroll 32
        for (int g = 0; g < kAll; ++g) {
            const std::uint8_t* from =
                inside ? band.in[g] + (first - std::min(g, band.count)) : stage[g];
            v[g] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
            if (band.plain >> g & 1)
                v[g] = _mm_sub_epi8(v[g], ones);
        }
#pragma GCC unroll 2
        for (int r = 0; r < kRegisters; ++r) {
            Transpose(v + r * kLanes);
#pragma GCC unroll 16
            for (int k = 0; k < kLanes; ++k)
                raw[r][k] = v[r * kLanes + k];
        }
#pragma GCC unroll 2
        for (int k = 0; k < kLanes; ++k) {
            const int t = kHistory + k;
            __m128i next[kRegisters];
#pragma GCC unroll 2
            for (int r = 0; r < kRegisters; ++r) {
                const __m128i a = Wide ? res[r][t - stride] : last[r];
                __m128i b = _mm_slli_si128(last[r], 1);
                if (r > 0)
                    b = _mm_or_si128(b, _mm_srli_si128(last[r - 1], 15));
                __m128i p =
                    _mm_or_si128(_mm_and_si128(band.sub[r], a), _mm_and_si128(band.up[r], b));
                p = _mm_or_si128(p, _mm_and_si128(band.average[r], _mm_avg_epu8(a, b)));
                next[r] = _mm_sub_epi8(p, raw[r][k]);
                if constexpr (Paeth) {
                    // p is 0 in Paeth lanes, the pick 0 elsewhere: they add.
                    const __m128i c = Wide ? ups[r][t - stride] : lastUp[r];
                    __m128i down, up;
                    PaethTerms(a, b, c, band.paeth[r], down, up);
                    next[r] =
                        _mm_add_epi8(_mm_add_epi8(next[r], _mm_and_si128(band.paeth[r], c)), up);
                    next[r] = _mm_sub_epi8(next[r], down);
                }
                res[r][t] = next[r];
                if (Wide)
                    ups[r][t] = b;
                else
                    lastUp[r] = b;
            }
            for (int r = 0; r < kRegisters; ++r)
                last[r] = next[r];
        }
#pragma GCC unroll 2
        for (int r = 0; r < kRegisters; ++r) {
#pragma GCC unroll 16
            for (int k = 0; k < kLanes; ++k)
                v[r * kLanes + k] = _mm_xor_si128(res[r][kHistory + k], ones);
            Transpose(v + r * kLanes);
            if (Wide)
                for (int h = 0; h < kHistory; ++h) {
                    res[r][h] = res[r][kLanes + h];
                    ups[r][h] = ups[r][kLanes + h];
                }
        }
        if (inside) {
#pragma GCC unroll 32
            for (int g = 1; g < kAll; ++g)
                if (g <= band.count)
                    _mm_storeu_si128(reinterpret_cast<__m128i*>(band.out[g] + (first - g)), v[g]);
        } else {
#pragma GCC unroll 32
            for (int g = 0; g < kAll; ++g)
                _mm_store_si128(reinterpret_cast<__m128i*>(stage[g]), v[g]);
            CopyBandEdge(nullptr, band.out, band.lag, band.count, band.length, first, stage);
        }
    }
}

} // namespace

__attribute__((noinline)) void CopyBandEdge(const std::uint8_t* const in[],
                                            std::uint8_t* const out[], const std::ptrdiff_t lag[],
                                            int count, std::ptrdiff_t length, std::ptrdiff_t first,
                                            std::uint8_t (&stage)[32][16]) {
    if (in)
        std::memset(stage, 0, sizeof stage);
    for (int g = in ? 0 : 1; g <= count; ++g) {
        const std::ptrdiff_t from = first - lag[g];
        const std::ptrdiff_t lo = std::max<std::ptrdiff_t>(from, 0);
        const std::ptrdiff_t hi = std::min<std::ptrdiff_t>(from + 16, length);
        if (hi <= lo)
            continue;
        if (in)
            std::memcpy(stage[g] + (lo - from), in[g] + lo, std::size_t(hi - lo));
        else
            std::memcpy(out[g] + lo, stage[g] + (lo - from), std::size_t(hi - lo));
    }
}

void UnfilterBandSse2(std::uint8_t* const out[], const std::uint8_t* const src[], int count,
                      const std::uint8_t* above, std::size_t rowLength,
                      std::uint32_t filterStride) {
    alignas(16) std::uint8_t masks[5][kAll] = {};
    std::uint32_t plain = 1;
    bool paeth = false;
    for (int k = 0; k < count; ++k) {
        const int type = src[k][0] <= 4 ? src[k][0] : 0; // unknown types stay, as with None
        masks[type][k + 1] = 0xFF;
        plain |= std::uint32_t(type == 0) << (k + 1);
        paeth |= type == 4;
    }
    const int stride = filterStride == 2 || filterStride == 3 ? int(filterStride) : 1;
    Band band{count, std::ptrdiff_t(rowLength), stride, plain, {}, {}, {}, {}, {}, {}, {}};
    for (int g = 0; g < kAll; ++g) {
        const int row = std::min(g, count);
        band.lag[g] = row;
        band.in[g] = row == 0 ? above : src[row - 1] + 1;
        band.out[g] = g >= 1 && g <= count ? out[g - 1] : nullptr;
    }
    for (int r = 0; r < kRegisters; ++r) {
        const auto mask = [&](int type) {
            return _mm_load_si128(reinterpret_cast<const __m128i*>(masks[type] + r * kLanes));
        };
        band.sub[r] = mask(1);
        band.up[r] = mask(2);
        band.average[r] = mask(3);
        band.paeth[r] = mask(4);
    }
    if (stride == 1)
        paeth ? UnfilterLanes<false, true>(band) : UnfilterLanes<false, false>(band);
    else
        paeth ? UnfilterLanes<true, true>(band) : UnfilterLanes<true, false>(band);
}

} // namespace sc::png
#endif
