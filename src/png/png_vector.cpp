#include "png/png_vector.h"

#include "png/png_decode.h"
#include "png/png_quad_avx2.h"

#include <array>
#include <atomic>
#include <cstring>

#if defined(__x86_64__) && defined(__SSE2__)
#include <cpuid.h>
#include <emmintrin.h>
#include <tmmintrin.h>
#define SC_PNG_X86 1
#endif

namespace sc::png {
namespace {

#if SC_PNG_X86
std::uint64_t ReadXcr0() {
    std::uint32_t lo = 0, hi = 0;
    asm volatile("xgetbv" : "=a"(lo), "=d"(hi) : "c"(0));
    return std::uint64_t(hi) << 32 | lo;
}
#endif

TVectorLevel DetectLevel() {
#if SC_PNG_X86
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSSE3))
        return TVectorLevel::Sse2;
    if (!(c & bit_SSE4_1) || !(c & bit_PCLMUL))
        return TVectorLevel::Ssse3;
    // AVX2 needs the system to save the upper halves of the registers (XCR0 bits 1 and 2).
    const bool osSaves = (c & bit_OSXSAVE) && (c & bit_AVX) && (ReadXcr0() & 6) == 6;
    unsigned a7 = 0, b7 = 0, c7 = 0, d7 = 0;
    if (osSaves && __get_cpuid_count(7, 0, &a7, &b7, &c7, &d7) && (b7 & bit_AVX2))
        return TVectorLevel::Avx2;
    return TVectorLevel::Clmul;
#else
    return TVectorLevel::Plain;
#endif
}

std::atomic<int>& ChosenLevel() {
    static std::atomic<int> level{static_cast<int>(SupportedVectorLevel())};
    return level;
}

#if SC_PNG_X86
// One pixel of S bytes in the low bytes of a register. Pixels of 2, 3 and 6 bytes are moved as 4
// and 8 bytes: the bytes beyond are read from the next pixel (or the row's slack) and
// written back before that pixel is stored, so each store is overwritten in turn by the next.
template <unsigned S> inline __m128i LoadPixel(const std::uint8_t* p) {
    if constexpr (S <= 4) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return _mm_cvtsi32_si128(static_cast<int>(v));
    } else {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    }
}

template <unsigned S> inline void StorePixel(std::uint8_t* p, __m128i v) {
    if constexpr (S <= 4) {
        const std::uint32_t bits = static_cast<std::uint32_t>(_mm_cvtsi128_si32(v));
        std::memcpy(p, &bits, 4);
    } else {
        _mm_storel_epi64(reinterpret_cast<__m128i*>(p), v);
    }
}

// One Paeth step in 16-bit lanes: a (the left pixel) becomes raw plus the pick among a, b (above)
// and c (upper-left). With p = b - c and e = a - c the pick is a unless e lies strictly between
// min(p, -2p) and max(p, -2p), that is, unless min(b, t) < a < max(b, t) with t = 3c - 2b;
// then it is b when p (2e + p) >= 0, that is, when 2a lies on the side of u = 3c - b that the
// sign of p names, and c otherwise. Everything but four compares, two masks and three adds
// comes from b and c alone, off the chain from one pixel to the next.
inline void PaethStep(__m128i& a, __m128i& c, __m128i b, __m128i raw) {
    const __m128i c3 = _mm_add_epi16(_mm_add_epi16(c, c), c);
    const __m128i t = _mm_sub_epi16(_mm_sub_epi16(c3, b), b);
    const __m128i sign = _mm_cmpgt_epi16(c, b); // all ones when p < 0
    const __m128i u = _mm_xor_si128(_mm_sub_epi16(c3, b), sign);
    const __m128i notA = _mm_and_si128(_mm_cmpgt_epi16(_mm_max_epi16(b, t), a),
                                       _mm_cmpgt_epi16(a, _mm_min_epi16(b, t)));
    const __m128i takeC = _mm_cmpgt_epi16(u, _mm_xor_si128(_mm_add_epi16(a, a), sign));
    // pick - a, masked: (b - a) + ((c - b) when c is taken), only where a is not.
    const __m128i delta =
        _mm_add_epi16(_mm_sub_epi16(b, a), _mm_and_si128(_mm_sub_epi16(c, b), takeC));
    a = _mm_and_si128(_mm_add_epi16(_mm_add_epi16(raw, a), _mm_and_si128(delta, notA)),
                      _mm_set1_epi16(0xFF));
    c = b;
}

// Paeth over whole pixels of S bytes; the next raw pixel is loaded before the current one is
// stored, so dst may be src.
template <unsigned S>
void PaethPixels(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;
    __m128i raw = _mm_unpacklo_epi8(LoadPixel<S>(r), zero);
    for (std::size_t j = 0; j < n; j += S) {
        const __m128i next = _mm_unpacklo_epi8(LoadPixel<S>(r + j + S), zero);
        PaethStep(a, c, _mm_unpacklo_epi8(LoadPixel<S>(q + j), zero), raw);
        StorePixel<S>(d + j, _mm_packus_epi16(a, a));
        raw = next;
    }
}

// Sub and Average over whole pixels of S bytes; the next raw pixel is loaded before the
// current one is stored, so dst may be src.
template <unsigned S, int Type>
void UnfilterPixels(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
    const __m128i ones = _mm_set1_epi8(-1);
    __m128i left = _mm_setzero_si128(), notLeft = ones;
    __m128i raw = LoadPixel<S>(r);
    for (std::size_t j = 0; j < n; j += S) {
        const __m128i next = LoadPixel<S>(r + j + S);
        __m128i value;
        if constexpr (Type == 1) {
            value = _mm_add_epi8(raw, left);
        } else {
            // The mean rounded down is the complement of pavgb's rounded-up mean of the
            // complements; carrying the left pixel complemented leaves two steps from one
            // pixel to the next: notLeft = pavgb(notLeft, ~up) - raw.
            const __m128i mean = _mm_avg_epu8(notLeft, _mm_xor_si128(LoadPixel<S>(q + j), ones));
            notLeft = _mm_sub_epi8(mean, raw);
            value = _mm_xor_si128(notLeft, ones);
        }
        StorePixel<S>(d + j, value);
        left = value;
        raw = next;
    }
}

// The sixteen terms t = up + 2 * raw of a block of single-byte Average (see AverageBytes). The
// loops read them back from memory one by one, through a volatile pointer: a load is one
// instruction where taking a lane out of the register, as the compiler would, takes two, and
// these loops are bound by the number of instructions.
inline void AverageTerms(std::uint16_t* t, const std::uint8_t* r, const std::uint8_t* q) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i raw = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r));
    const __m128i up = _mm_loadu_si128(reinterpret_cast<const __m128i*>(q));
    const __m128i rawLow = _mm_unpacklo_epi8(raw, zero), rawHigh = _mm_unpackhi_epi8(raw, zero);
    _mm_store_si128(reinterpret_cast<__m128i*>(t),
                    _mm_add_epi16(_mm_unpacklo_epi8(up, zero), _mm_add_epi16(rawLow, rawLow)));
    _mm_store_si128(reinterpret_cast<__m128i*>(t + 8),
                    _mm_add_epi16(_mm_unpackhi_epi8(up, zero), _mm_add_epi16(rawHigh, rawHigh)));
}

inline unsigned AverageStep(unsigned t, unsigned left) {
    return ((t + left) >> 1) & 0xFF;
}

// Average over single bytes, where each byte waits for the one before it. With t = up + 2 * raw
// the byte is (t + left) / 2 modulo 256, so only an add and a shift lie on that chain; t is
// worked out sixteen bytes at a time beside it. dst may be src: each block is loaded before it
// is stored.
__attribute__((noinline)) void AverageBytes(std::uint8_t* d, const std::uint8_t* r,
                                            const std::uint8_t* q, std::size_t n, unsigned left = 0,
                                            std::size_t j = 0) {
    alignas(16) std::uint16_t t[16];
    const volatile std::uint16_t* terms = t; // see AverageTerms
    for (; j + 16 <= n; j += 16) {
        AverageTerms(t, r + j, q + j);
#pragma GCC unroll 16
        for (unsigned k = 0; k < 16; ++k) {
            left = AverageStep(terms[k], left);
            d[j + k] = static_cast<std::uint8_t>(left);
        }
    }
    for (; j < n; ++j) {
        left = AverageStep(q[j] + 2u * r[j], left);
        d[j] = static_cast<std::uint8_t>(left);
    }
}

// Two single-byte Average rows, the second two blocks behind the first: its terms come from
// blocks of the first row stored well before, and the two chains of each block interleave.
void AveragePairBytes(std::uint8_t* d0, const std::uint8_t* r0, std::uint8_t* d1,
                      const std::uint8_t* r1, const std::uint8_t* q, std::size_t n) {
    constexpr std::size_t kLag = 32;
    alignas(16) std::uint16_t t0[16], t1[16];
    unsigned left0 = 0, left1 = 0;
    std::size_t j = 0;
    for (; j + 16 <= n; j += 16) {
        AverageTerms(t0, r0 + j, q + j);
        if (j < kLag) {
#pragma GCC unroll 16
            for (unsigned k = 0; k < 16; ++k) {
                left0 = AverageStep(t0[k], left0);
                d0[j + k] = static_cast<std::uint8_t>(left0);
            }
            continue;
        }
        const std::size_t i = j - kLag;
        AverageTerms(t1, r1 + i, d0 + i);
        const volatile std::uint16_t* v0 = t0; // see AverageTerms
        const volatile std::uint16_t* v1 = t1;
#pragma GCC unroll 16
        for (unsigned k = 0; k < 16; ++k) {
            left0 = AverageStep(v0[k], left0);
            d0[j + k] = static_cast<std::uint8_t>(left0);
            left1 = AverageStep(v1[k], left1);
            d1[i + k] = static_cast<std::uint8_t>(left1);
        }
    }
    AverageBytes(d0, r0, q, n, left0, j);
    AverageBytes(d1, r1, d0, n, left1, j < kLag ? 0 : j - kLag);
}

// Blocks [begin, end) of the first row and the same blocks, kRowLag bytes later each, of the M - 1
// rows below it (see AverageRowsBytes).
constexpr std::size_t kRowLag = 32;
template <unsigned M, unsigned N>
std::size_t AverageRowBlocks(std::uint8_t* const* d, const std::uint8_t* const* r,
                             const std::uint8_t* q, std::size_t n, unsigned (&left)[N],
                             std::size_t j, std::size_t end) {
    alignas(16) std::uint16_t t[M][16];
    const volatile std::uint16_t* terms = t[0]; // see AverageTerms
    // The rows and chains in registers: the byte stores could otherwise reach d and left, which
    // would be read back after each.
    std::uint8_t* out[M];
    unsigned chain[M];
    for (unsigned m = 0; m < M; ++m) {
        out[m] = d[m];
        chain[m] = left[m];
    }
    for (; j + 16 <= n && j < end; j += 16) {
#pragma GCC unroll 4
        for (unsigned m = 0; m < M; ++m)
            AverageTerms(t[m], r[m] + j - m * kRowLag, (m == 0 ? q : out[m - 1]) + j - m * kRowLag);
#pragma GCC unroll 16
        for (unsigned k = 0; k < 16; ++k)
#pragma GCC unroll 4
            for (unsigned m = 0; m < M; ++m) {
                chain[m] = AverageStep(terms[16 * m + k], chain[m]);
                out[m][j - m * kRowLag + k] = static_cast<std::uint8_t>(chain[m]);
            }
    }
    for (unsigned m = 0; m < M; ++m)
        left[m] = chain[m];
    return j;
}

// N single-byte Average rows, each row kRowLag bytes behind the one above it: its terms come
// from blocks of that row stored well before, and the N chains of each block interleave. The
// rows start one after another, and end one after another, alone.
template <unsigned N>
void AverageRowsBytes(std::uint8_t* const* d, const std::uint8_t* const* r, const std::uint8_t* q,
                      std::size_t n) {
    unsigned left[N] = {};
    static_assert(N >= 1 && N <= 3);
    std::size_t j = AverageRowBlocks<1>(d, r, q, n, left, 0, N == 1 ? n : kRowLag);
    if constexpr (N >= 2)
        j = AverageRowBlocks<2>(d, r, q, n, left, j, N == 2 ? n : 2 * kRowLag);
    if constexpr (N >= 3)
        j = AverageRowBlocks<3>(d, r, q, n, left, j, n);
    for (unsigned m = 0; m < N; ++m) {
        const std::size_t begin = j > m * kRowLag ? j - m * kRowLag : 0;
        AverageBytes(d[m], r[m], m == 0 ? q : d[m - 1], n, left[m], begin);
    }
}

// One step of an Average or Paeth row for the pair loops below: the next pixel from its raw
// bytes and the pixel above it (both in the low bytes of a register); the chain keeps the left
// and upper-left pixels itself.
struct AverageChain {
    __m128i notLeft = _mm_set1_epi8(-1); // the left pixel complemented, as in UnfilterPixels
    __m128i Step(__m128i raw, __m128i up) {
        const __m128i ones = _mm_set1_epi8(-1);
        notLeft = _mm_sub_epi8(_mm_avg_epu8(notLeft, _mm_xor_si128(up, ones)), raw);
        return _mm_xor_si128(notLeft, ones);
    }
};

struct PaethChain {
    __m128i a = _mm_setzero_si128(), c = _mm_setzero_si128(); // widened to 16-bit lanes
    __m128i Step(__m128i raw, __m128i up) {
        const __m128i zero = _mm_setzero_si128();
        PaethStep(a, c, _mm_unpacklo_epi8(up, zero), _mm_unpacklo_epi8(raw, zero));
        return _mm_packus_epi16(a, a);
    }
};

// Two rows in one loop, the second a pixel behind the first: its pixel above is the one the
// first row produced in the step before, still in a register. Each store of S bytes may spill
// into the next pixel, which is stored after it.
template <unsigned S, class First, class Second>
void PairPixels(std::uint8_t* d0, const std::uint8_t* r0, std::uint8_t* d1, const std::uint8_t* r1,
                const std::uint8_t* q, std::size_t n) {
    First row0;
    Second row1;
    __m128i v0 = row0.Step(LoadPixel<S>(r0), LoadPixel<S>(q));
    StorePixel<S>(d0, v0);
    for (std::size_t j = S; j < n; j += S) {
        const __m128i up1 = v0;
        v0 = row0.Step(LoadPixel<S>(r0 + j), LoadPixel<S>(q + j));
        StorePixel<S>(d0 + j, v0);
        StorePixel<S>(d1 + j - S, row1.Step(LoadPixel<S>(r1 + j - S), up1));
    }
    StorePixel<S>(d1 + n - S, row1.Step(LoadPixel<S>(r1 + n - S), v0));
}

// Two Paeth rows of pixels up to four bytes in one register of 16-bit lanes: the first row's
// pixel in the low half, the second row's (a pixel behind) in the high half, so both share
// every instruction. The second row's pixel above is the first row's result of the step before,
// moved up by the unpack that loads the first row's pixel above; its upper-left is, as for the
// first row, the pixel above of the step before.
template <unsigned S>
void PaethPairPixels(std::uint8_t* d0, const std::uint8_t* r0, std::uint8_t* d1,
                     const std::uint8_t* r1, const std::uint8_t* q, std::size_t n) {
    static_assert(S <= 4);
    const __m128i zero = _mm_setzero_si128();
    __m128i a = zero, c = zero;
    const auto step = [&](__m128i raw0, __m128i raw1, __m128i up0) {
        const __m128i raw = _mm_unpacklo_epi8(_mm_unpacklo_epi32(raw0, raw1), zero);
        PaethStep(a, c, _mm_unpacklo_epi64(_mm_unpacklo_epi8(up0, zero), a), raw);
        return _mm_packus_epi16(a, a);
    };
    // The first pixel of the first row alone: the second row starts from zero neighbours.
    StorePixel<S>(d0, step(LoadPixel<S>(r0), zero, LoadPixel<S>(q)));
    a = _mm_unpacklo_epi64(a, zero);
    for (std::size_t j = S; j < n; j += S) {
        const __m128i out =
            step(LoadPixel<S>(r0 + j), LoadPixel<S>(r1 + j - S), LoadPixel<S>(q + j));
        StorePixel<S>(d0 + j, out);
        StorePixel<S>(d1 + j - S, _mm_srli_si128(out, 4));
    }
    // The last pixel of the second row alone.
    StorePixel<S>(d1 + n - S, _mm_srli_si128(step(zero, LoadPixel<S>(r1 + n - S), zero), 4));
}

template <unsigned S>
bool PairSse2(int type0, int type1, std::uint8_t* d0, const std::uint8_t* r0, std::uint8_t* d1,
              const std::uint8_t* r1, const std::uint8_t* q, std::size_t n) {
    if (n % S != 0)
        return false;
    if (type0 == 3)
        type1 == 3 ? PairPixels<S, AverageChain, AverageChain>(d0, r0, d1, r1, q, n)
                   : PairPixels<S, AverageChain, PaethChain>(d0, r0, d1, r1, q, n);
    else if (type1 == 3)
        PairPixels<S, PaethChain, AverageChain>(d0, r0, d1, r1, q, n);
    else if constexpr (S <= 4)
        PaethPairPixels<S>(d0, r0, d1, r1, q, n);
    else
        PairPixels<S, PaethChain, PaethChain>(d0, r0, d1, r1, q, n);
    return true;
}
#endif

// One byte of an Average (3) or Paeth (4) row of one byte a pixel, from its raw byte and its
// left (a), upper (b) and upper-left (c) neighbours. Average adds b and the raw byte first, so
// that only an add and a shift wait for the left byte; Paeth picks without branches.
template <int T> inline unsigned FilterByte(unsigned raw, unsigned a, unsigned b, unsigned c) {
    if constexpr (T == 3) {
        const unsigned t = b + 2 * raw;
        return ((t + a) >> 1) & 0xFF;
    } else {
        const int p = int(b) - int(c), e = int(a) - int(c), s = p + e;
        const int pa = p < 0 ? -p : p, pb = e < 0 ? -e : e, pc = s < 0 ? -s : s;
        const unsigned bc = pb <= pc ? b : c;
        return (raw + (pa <= (pb < pc ? pb : pc) ? a : bc)) & 0xFF;
    }
}

// Two rows of one byte a pixel, the second a byte behind the first (see PairPixels).
template <int T0, int T1>
void PairBytes(std::uint8_t* d0, const std::uint8_t* r0, std::uint8_t* d1, const std::uint8_t* r1,
               const std::uint8_t* q, std::size_t n) {
    unsigned a0 = FilterByte<T0>(r0[0], 0, q[0], 0), c0 = q[0], a1 = 0, c1 = 0;
    d0[0] = static_cast<std::uint8_t>(a0);
    for (std::size_t j = 1; j < n; ++j) {
        const unsigned up1 = a0, b0 = q[j];
        a0 = FilterByte<T0>(r0[j], a0, b0, c0);
        c0 = b0;
        d0[j] = static_cast<std::uint8_t>(a0);
        a1 = FilterByte<T1>(r1[j - 1], a1, up1, c1);
        c1 = up1;
        d1[j - 1] = static_cast<std::uint8_t>(a1);
    }
    d1[n - 1] = static_cast<std::uint8_t>(FilterByte<T1>(r1[n - 1], a1, a0, c1));
}

bool PairOfBytes(int type0, int type1, std::uint8_t* d0, const std::uint8_t* r0, std::uint8_t* d1,
                 const std::uint8_t* r1, const std::uint8_t* q, std::size_t n) {
#if SC_PNG_X86
    if (type0 == 3 && type1 == 3) {
        AveragePairBytes(d0, r0, d1, r1, q, n);
        return true;
    }
#endif
    if (type0 == 3)
        type1 == 3 ? PairBytes<3, 3>(d0, r0, d1, r1, q, n) : PairBytes<3, 4>(d0, r0, d1, r1, q, n);
    else
        type1 == 3 ? PairBytes<4, 3>(d0, r0, d1, r1, q, n) : PairBytes<4, 4>(d0, r0, d1, r1, q, n);
    return true;
}

#if SC_PNG_X86
template <unsigned S>
bool UnfilterSse2(int type, std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q,
                  std::size_t n) {
    if (n % S != 0)
        return false;
    switch (type) {
    case 1:
        UnfilterPixels<S, 1>(d, r, q, n);
        return true;
    case 3:
        UnfilterPixels<S, 3>(d, r, q, n);
        return true;
    case 4:
        PaethPixels<S>(d, r, q, n);
        return true;
    case 2: {
        std::size_t j = 0;
        for (; j + 16 <= n; j += 16) {
            const __m128i v =
                _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r + j)),
                             _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + j)));
            _mm_storeu_si128(reinterpret_cast<__m128i*>(d + j), v);
        }
        for (; j < n; ++j)
            d[j] = std::uint8_t(r[j] + q[j]);
        return true;
    }
    default:
        return false;
    }
}

// Four pixels at a time: each 16-byte load holds them in its first 12 (or all 16) bytes; the
// store of 16 bytes reaches into the next group, which is written after it. The last groups,
// whose store would pass the end of the row, go pixel by pixel.
__attribute__((target("ssse3"))) std::uint32_t
ConvertRgb8Ssse3(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count) {
    const __m128i swap = _mm_setr_epi8(2, 1, 0, 5, 4, 3, 8, 7, 6, 11, 10, 9, -1, -1, -1, -1);
    std::uint32_t k = 0;
    for (; k + 6 <= count; k += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * k));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dib + 3 * k), _mm_shuffle_epi8(v, swap));
    }
    return k;
}

// Four pixels to every second place of the DIB row: their 24 bytes are read, the four pixels
// put in and the three between written back as they were. A group is taken only when a fifth
// pixel follows it, so the write ends before the row's last pixel does.
__attribute__((target("ssse3"))) std::uint32_t
ConvertRgb8Every2Ssse3(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count) {
    const __m128i lowSwap = _mm_setr_epi8(2, 1, 0, -1, -1, -1, 5, 4, 3, -1, -1, -1, 8, 7, 6, -1);
    const __m128i highSwap =
        _mm_setr_epi8(-1, -1, 11, 10, 9, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1, -1);
    const __m128i lowKeep = _mm_setr_epi8(0, 0, 0, -1, -1, -1, 0, 0, 0, -1, -1, -1, 0, 0, 0, -1);
    const __m128i highKeep = _mm_setr_epi8(-1, -1, 0, 0, 0, -1, -1, -1, 0, 0, 0, 0, 0, 0, 0, 0);
    std::uint32_t k = 0;
    for (; k + 5 <= count; k += 4) {
        const __m128i v = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + 3 * k));
        std::uint8_t* d = dib + 6 * k;
        const __m128i low = _mm_loadu_si128(reinterpret_cast<const __m128i*>(d));
        const __m128i high = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(d + 16));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d),
                         _mm_or_si128(_mm_shuffle_epi8(v, lowSwap), _mm_and_si128(low, lowKeep)));
        _mm_storel_epi64(
            reinterpret_cast<__m128i*>(d + 16),
            _mm_or_si128(_mm_shuffle_epi8(v, highSwap), _mm_and_si128(high, highKeep)));
    }
    return k;
}

// Each RGBA pixel of a 16-byte block as blue, green, red, then the four alpha bytes at the end.
__attribute__((target("ssse3"))) inline __m128i SplitRgba8(const std::uint8_t* src) {
    const __m128i split = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, 3, 7, 11, 15);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)), split);
}

// Groups of sixteen RGBA pixels: their colours joined into three whole 16-byte stores, their
// alpha into a fourth. Streamed, the colour stores go straight to memory (dib + 3 k lies on a
// 16-byte boundary), and so do the alpha stores when alpha is aligned alike.
template <bool Streamed>
__attribute__((target("ssse3"))) std::uint32_t
Rgba8Groups(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha, std::uint32_t count) {
    const __m128i colour = _mm_setr_epi32(-1, -1, -1, 0);
    const bool alphaStreamed = Streamed && reinterpret_cast<std::uintptr_t>(alpha) % 16 == 0;
    const auto put = [](std::uint8_t* to, __m128i v, bool streamed) {
        auto* at = reinterpret_cast<__m128i*>(to);
        streamed ? _mm_stream_si128(at, v) : _mm_storeu_si128(at, v);
    };
    std::uint32_t k = 0;
    for (; k + 16 <= count; k += 16) {
        const std::uint8_t* s = src + 4 * k;
        const __m128i a0 = SplitRgba8(s), a1 = SplitRgba8(s + 16), a2 = SplitRgba8(s + 32),
                      a3 = SplitRgba8(s + 48);
        std::uint8_t* d = dib + 3 * k;
        put(d, _mm_or_si128(_mm_and_si128(a0, colour), _mm_slli_si128(a1, 12)), Streamed);
        put(d + 16,
            _mm_or_si128(_mm_srli_si128(_mm_and_si128(a1, colour), 4), _mm_slli_si128(a2, 8)),
            Streamed);
        put(d + 32,
            _mm_or_si128(_mm_srli_si128(_mm_and_si128(a2, colour), 8), _mm_slli_si128(a3, 4)),
            Streamed);
        put(alpha + k, _mm_unpackhi_epi64(_mm_unpackhi_epi32(a0, a1), _mm_unpackhi_epi32(a2, a3)),
            alphaStreamed);
    }
    return k;
}

__attribute__((target("ssse3"))) std::uint32_t ConvertRgba8Ssse3(const std::uint8_t* src,
                                                                 std::uint8_t* dib,
                                                                 std::uint8_t* alpha,
                                                                 std::uint32_t count) {
    std::uint32_t k = Rgba8Groups<false>(src, dib, alpha, count);
    for (; k + 6 <= count; k += 4) {
        const __m128i v = SplitRgba8(src + 4 * k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dib + 3 * k), v);
        const std::uint32_t a =
            static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 12)));
        std::memcpy(alpha + k, &a, 4);
    }
    return k;
}

// Rows written around the caches: groups of sixteen pixels whose colour bytes start on a 16-byte
// boundary, stored whole and straight to memory, without first reading in the lines they
// overwrite. Output byte j of a group is input byte 3 (j / 3) + 2 - j % 3: each of the three
// stores gathers its bytes from two or three of the group's three loads.
__attribute__((target("ssse3"))) std::uint32_t
StreamRgb8Ssse3(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count) {
    alignas(16) static const std::array<std::array<std::int8_t, 16>, 9> picks = [] {
        std::array<std::array<std::int8_t, 16>, 9> p{};
        for (int store = 0; store < 3; ++store)
            for (int load = 0; load < 3; ++load)
                for (int b = 0; b < 16; ++b) {
                    const int j = 16 * store + b, from = 3 * (j / 3) + 2 - j % 3;
                    p[3 * store + load][b] = std::int8_t(from / 16 == load ? from % 16 : -1);
                }
        return p;
    }();
    const auto mask = [](int store, int load) {
        return _mm_load_si128(reinterpret_cast<const __m128i*>(picks[3 * store + load].data()));
    };
    const __m128i m00 = mask(0, 0), m01 = mask(0, 1), m10 = mask(1, 0), m11 = mask(1, 1),
                  m12 = mask(1, 2), m21 = mask(2, 1), m22 = mask(2, 2);
    std::uint32_t k = 0;
    for (; k + 16 <= count; k += 16) {
        const auto* in = reinterpret_cast<const __m128i*>(src + 3 * k);
        const __m128i a = _mm_loadu_si128(in), b = _mm_loadu_si128(in + 1),
                      c = _mm_loadu_si128(in + 2);
        auto* out = reinterpret_cast<__m128i*>(dib + 3 * k);
        _mm_stream_si128(out, _mm_or_si128(_mm_shuffle_epi8(a, m00), _mm_shuffle_epi8(b, m01)));
        _mm_stream_si128(
            out + 1, _mm_or_si128(_mm_or_si128(_mm_shuffle_epi8(a, m10), _mm_shuffle_epi8(b, m11)),
                                  _mm_shuffle_epi8(c, m12)));
        _mm_stream_si128(out + 2, _mm_or_si128(_mm_shuffle_epi8(b, m21), _mm_shuffle_epi8(c, m22)));
    }
    _mm_sfence(); // the streamed stores are ordered before whatever the caller does next
    return k;
}

// The same for RGBA (see Rgba8Groups).
__attribute__((target("ssse3"))) std::uint32_t StreamRgba8Ssse3(const std::uint8_t* src,
                                                                std::uint8_t* dib,
                                                                std::uint8_t* alpha,
                                                                std::uint32_t count) {
    const std::uint32_t k = Rgba8Groups<true>(src, dib, alpha, count);
    _mm_sfence();
    return k;
}

// The first pixel from which pixel k's colour bytes, 3 k on from dib, start on a 16-byte
// boundary: 3 x 11 = 1 (mod 16).
std::uint32_t AlignedPixel(const std::uint8_t* dib) {
    return std::uint32_t((16 - reinterpret_cast<std::uintptr_t>(dib) % 16) * 11 % 16);
}
#endif

} // namespace

TVectorLevel SupportedVectorLevel() {
    static const TVectorLevel level = DetectLevel();
    return level;
}

TVectorLevel VectorLevel() {
    return static_cast<TVectorLevel>(ChosenLevel().load(std::memory_order_relaxed));
}

void SetVectorLevel(TVectorLevel level) {
    if (static_cast<int>(level) > static_cast<int>(SupportedVectorLevel()))
        level = SupportedVectorLevel();
    ChosenLevel().store(static_cast<int>(level), std::memory_order_relaxed);
}

void UnfilterRowInto(std::uint8_t* out, const std::uint8_t* src, const std::uint8_t* above,
                     std::size_t rowLength, std::uint32_t filterStride, TVectorLevel level) {
#if SC_PNG_X86
    if (level != TVectorLevel::Plain && rowLength > 0) {
        const int type = src[0];
        std::uint8_t* d = out;
        const std::uint8_t* r = src + 1;
        const std::uint8_t* q = above;
        bool done = false;
        switch (filterStride) {
        case 2:
            done = UnfilterSse2<2>(type, d, r, q, rowLength);
            break;
        case 3:
            done = UnfilterSse2<3>(type, d, r, q, rowLength);
            break;
        case 4:
            done = UnfilterSse2<4>(type, d, r, q, rowLength);
            break;
        case 6:
            done = UnfilterSse2<6>(type, d, r, q, rowLength);
            break;
        case 8:
            done = UnfilterSse2<8>(type, d, r, q, rowLength);
            break;
        default: // bytes depend on the byte just before: Up gains from vectors, Average
                 // from taking the upper row out of the chain
            if (type == 3 && filterStride == 1) {
                AverageBytes(d, r, q, rowLength);
                done = true;
            } else {
                done = type == 2 && UnfilterSse2<1>(type, d, r, q, rowLength);
            }
            break;
        }
        if (done)
            return;
    }
#else
    (void)level;
#endif
    UnfilterRowPlain(out, src, above, rowLength, filterStride);
}

void UnfilterRowPairInto(std::uint8_t* out0, const std::uint8_t* src0, std::uint8_t* out1,
                         const std::uint8_t* src1, const std::uint8_t* above, std::size_t rowLength,
                         std::uint32_t filterStride, TVectorLevel level) {
    const int type0 = src0[0], type1 = src1[0];
    const bool chains = (type0 == 3 || type0 == 4) && (type1 == 3 || type1 == 4);
    if (level != TVectorLevel::Plain && chains && rowLength > 0) {
        std::uint8_t* d0 = out0;
        std::uint8_t* d1 = out1;
        const std::uint8_t* r0 = src0 + 1;
        const std::uint8_t* r1 = src1 + 1;
        const std::uint8_t* q = above;
        bool done = false;
        switch (filterStride) {
        case 1:
            done = PairOfBytes(type0, type1, d0, r0, d1, r1, q, rowLength);
            break;
#if SC_PNG_X86
        case 2:
            done = PairSse2<2>(type0, type1, d0, r0, d1, r1, q, rowLength);
            break;
        case 3:
            done = PairSse2<3>(type0, type1, d0, r0, d1, r1, q, rowLength);
            break;
        case 4:
            done = PairSse2<4>(type0, type1, d0, r0, d1, r1, q, rowLength);
            break;
        case 6:
        case 8:
            // Two Paeth rows; with an Average row the two chains of PairPixels go faster.
            if (level >= TVectorLevel::Avx2 && type0 == 4 && type1 == 4 &&
                rowLength % filterStride == 0 && rowLength / filterStride >= kAvx2RowMinPixels) {
                std::uint8_t* const d[2] = {d0, d1};
                const std::uint8_t* const r[2] = {r0, r1};
                UnfilterPairAvx2(d, r, q, rowLength, filterStride);
                done = true;
            } else {
                done = filterStride == 6 ? PairSse2<6>(type0, type1, d0, r0, d1, r1, q, rowLength)
                                         : PairSse2<8>(type0, type1, d0, r0, d1, r1, q, rowLength);
            }
            break;
#endif
        default:
            break;
        }
        if (done)
            return;
    }
    UnfilterRowInto(out0, src0, above, rowLength, filterStride, level);
    UnfilterRowInto(out1, src1, out0, rowLength, filterStride, level);
}

bool UnfilterRowQuadInto(std::uint8_t* const out[4], const std::uint8_t* const src[4],
                         const std::uint8_t* above, std::size_t rowLength,
                         std::uint32_t filterStride, TVectorLevel level) {
#if SC_PNG_X86
    if (level < TVectorLevel::Avx2 || filterStride < 2 || filterStride > 4 ||
        rowLength % filterStride != 0 || rowLength / filterStride < kAvx2RowMinPixels)
        return false;
    // Pairs with an Average row go faster as two chains (PairPixels), the Average chain two
    // instructions a pixel: four rows in one loop pay with one Average row at most.
    unsigned averages = 0, averageRows = 0;
    const std::uint8_t* raw[4];
    for (unsigned k = 0; k < 4; ++k) {
        if (src[k][0] != 3 && src[k][0] != 4)
            return false;
        averages |= unsigned(src[k][0] == 3) << k;
        averageRows += src[k][0] == 3;
        raw[k] = src[k] + 1;
    }
    if (averageRows > 1)
        return false;
    UnfilterQuadAvx2(out, raw, above, rowLength, filterStride, averages);
    return true;
#else
    (void)out, (void)src, (void)above, (void)rowLength, (void)filterStride, (void)level;
    return false;
#endif
}

void UnfilterRowTripleInto(std::uint8_t* const out[3], const std::uint8_t* const src[3],
                           const std::uint8_t* above, std::size_t rowLength,
                           std::uint32_t filterStride, TVectorLevel level) {
#if SC_PNG_X86
    if (level != TVectorLevel::Plain && filterStride == 1 && rowLength > 0 && src[0][0] == 3 &&
        src[1][0] == 3 && src[2][0] == 3) {
        const std::uint8_t* const raw[3] = {src[0] + 1, src[1] + 1, src[2] + 1};
        AverageRowsBytes<3>(out, raw, above, rowLength);
        return;
    }
#endif
    UnfilterRowPairInto(out[0], src[0], out[1], src[1], above, rowLength, filterStride, level);
    UnfilterRowInto(out[2], src[2], out[1], rowLength, filterStride, level);
}

void ConvertRgb8(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                 TVectorLevel level) {
    std::uint32_t k = 0;
#if SC_PNG_X86
    if (level >= TVectorLevel::Ssse3)
        k = ConvertRgb8Ssse3(src, dib, count);
#else
    (void)level;
#endif
    for (; k < count; ++k) {
        dib[3 * k] = src[3 * k + 2];
        dib[3 * k + 1] = src[3 * k + 1];
        dib[3 * k + 2] = src[3 * k];
    }
}

void ConvertRgb8Every2(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                       TVectorLevel level) {
    std::uint32_t k = 0;
#if SC_PNG_X86
    if (level >= TVectorLevel::Ssse3)
        k = ConvertRgb8Every2Ssse3(src, dib, count);
#else
    (void)level;
#endif
    for (; k < count; ++k) {
        dib[6 * k] = src[3 * k + 2];
        dib[6 * k + 1] = src[3 * k + 1];
        dib[6 * k + 2] = src[3 * k];
    }
}

void ConvertRgba8(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha,
                  std::uint32_t count, TVectorLevel level) {
    std::uint32_t k = 0;
#if SC_PNG_X86
    if (level >= TVectorLevel::Ssse3)
        k = ConvertRgba8Ssse3(src, dib, alpha, count);
#else
    (void)level;
#endif
    for (; k < count; ++k) {
        dib[3 * k] = src[4 * k + 2];
        dib[3 * k + 1] = src[4 * k + 1];
        dib[3 * k + 2] = src[4 * k];
        alpha[k] = src[4 * k + 3];
    }
}

void ConvertRgb8Streaming(const std::uint8_t* src, std::uint8_t* dib, std::uint32_t count,
                          TVectorLevel level) {
#if SC_PNG_X86
    const std::uint32_t head = AlignedPixel(dib);
    if (level >= TVectorLevel::Ssse3 && count >= head + 16) {
        ConvertRgb8(src, dib, head, level);
        const std::uint32_t k =
            head + StreamRgb8Ssse3(src + 3 * head, dib + 3 * head, count - head);
        ConvertRgb8(src + 3 * k, dib + 3 * k, count - k, level);
        return;
    }
#endif
    ConvertRgb8(src, dib, count, level);
}

void ConvertRgba8Streaming(const std::uint8_t* src, std::uint8_t* dib, std::uint8_t* alpha,
                           std::uint32_t count, TVectorLevel level) {
#if SC_PNG_X86
    const std::uint32_t head = AlignedPixel(dib);
    if (level >= TVectorLevel::Ssse3 && count >= head + 16) {
        ConvertRgba8(src, dib, alpha, head, level);
        const std::uint32_t k =
            head + StreamRgba8Ssse3(src + 4 * head, dib + 3 * head, alpha + head, count - head);
        ConvertRgba8(src + 4 * k, dib + 3 * k, alpha + k, count - k, level);
        return;
    }
#endif
    ConvertRgba8(src, dib, alpha, count, level);
}

} // namespace sc::png
