#include "png/png_quad_avx2.h"

#if defined(__x86_64__)
#include <immintrin.h>

#include <algorithm>
#include <cstring>

// Only the functions here use AVX2; the caller checks the processor first. On Windows this file
// is assembled with unaligned moves for the register spills (the stack is aligned to 16 bytes,
// not 32).
#define SC_AVX2 __attribute__((target("avx2")))
// The steps inline into the loops, so that the chain stays in registers.
#define SC_AVX2_STEP __attribute__((target("avx2"), always_inline)) inline

namespace sc::png {
namespace {

// One step of sixteen 16-bit lanes, as PaethStep of png_vector.cpp: a (the left pixels) becomes
// raw plus the Paeth pick among a, b (above) and c (upper-left). In the lanes set in averages it
// becomes raw plus (a + b) / 2 instead: the step to the pick is then that mean minus a, always
// taken, and the upper-left never.
template <bool Mixed>
SC_AVX2_STEP void ChainStep(__m256i& a, __m256i& c, __m256i b, __m256i raw, __m256i averages) {
    const __m256i c3 = _mm256_add_epi16(_mm256_add_epi16(c, c), c);
    const __m256i c3b = _mm256_sub_epi16(c3, b);
    const __m256i t = _mm256_sub_epi16(c3b, b);
    const __m256i sign = _mm256_cmpgt_epi16(c, b); // all ones when b - c < 0
    const __m256i u = _mm256_xor_si256(c3b, sign);
    __m256i notA = _mm256_and_si256(_mm256_cmpgt_epi16(_mm256_max_epi16(b, t), a),
                                    _mm256_cmpgt_epi16(a, _mm256_min_epi16(b, t)));
    __m256i takeC = _mm256_cmpgt_epi16(u, _mm256_xor_si256(_mm256_add_epi16(a, a), sign));
    __m256i toPick = _mm256_sub_epi16(b, a);
    if constexpr (Mixed) {
        const __m256i mean = _mm256_srli_epi16(_mm256_add_epi16(a, b), 1);
        toPick = _mm256_blendv_epi8(toPick, _mm256_sub_epi16(mean, a), averages);
        notA = _mm256_or_si256(notA, averages);
        takeC = _mm256_andnot_si256(averages, takeC);
    }
    const __m256i delta = _mm256_add_epi16(toPick, _mm256_and_si256(_mm256_sub_epi16(c, b), takeC));
    a = _mm256_and_si256(_mm256_add_epi16(_mm256_add_epi16(raw, a), _mm256_and_si256(delta, notA)),
                         _mm256_set1_epi16(0xFF));
    c = b;
}

// Four rows of S <= 4 bytes a pixel, row k in lanes 4k..4k+3, one pixel behind row k - 1, and
// row 2 a pixel more: its pixel above then comes from row 1's result two steps back, the one
// move across the register's halves off the chain from one step to the next.
template <unsigned S> struct TQuad {
    static constexpr unsigned kRows = 4, kStride = S, kMoved = 4;
    static constexpr std::ptrdiff_t kLag[kRows] = {0, 1, 3, 4};

    SC_AVX2_STEP static __m128i Load(const std::uint8_t* p) {
        std::uint32_t v;
        std::memcpy(&v, p, 4);
        return _mm_cvtsi32_si128(static_cast<int>(v));
    }
    SC_AVX2_STEP static __m256i Join(const __m128i (&p)[kRows]) {
        return _mm256_cvtepu8_epi16(
            _mm_unpacklo_epi64(_mm_unpacklo_epi32(p[0], p[1]), _mm_unpacklo_epi32(p[2], p[3])));
    }
    // up: row 0's pixel above; a and aOld: the results of the last step and the one before.
    SC_AVX2_STEP static __m256i Above(__m128i up, __m256i a, __m256i aOld) {
        const __m256i x =
            _mm256_blend_epi32(_mm256_castsi128_si256(_mm_cvtepu8_epi16(up)),
                               _mm256_permute4x64_epi64(aOld, _MM_SHUFFLE(3, 1, 1, 0)), 0xFC);
        return _mm256_unpacklo_epi64(x, a);
    }
    SC_AVX2_STEP static __m256i Mask(unsigned averages) {
        const auto m = [averages](unsigned k) { return (averages >> k & 1) ? -1ll : 0ll; };
        return _mm256_setr_epi64x(m(0), m(1), m(2), m(3));
    }
    // The rows' pixels, in turn in the four bytes of v, to at[k]: kMoved bytes, or exactly the
    // pixel's where at[k] is given.
    template <bool Exact>
    SC_AVX2_STEP static void Store(__m128i v, std::uint8_t* const (&at)[kRows]) {
        Put<Exact>(at[0], static_cast<std::uint32_t>(_mm_cvtsi128_si32(v)));
        Put<Exact>(at[1], static_cast<std::uint32_t>(_mm_extract_epi32(v, 1)));
        Put<Exact>(at[2], static_cast<std::uint32_t>(_mm_extract_epi32(v, 2)));
        Put<Exact>(at[3], static_cast<std::uint32_t>(_mm_extract_epi32(v, 3)));
    }
    template <bool Exact> static void Put(std::uint8_t* p, std::uint32_t bits) {
        if (!Exact)
            std::memcpy(p, &bits, kMoved);
        else if (p)
            std::memcpy(p, &bits, S);
    }
};

// Two rows of 6 or 8 bytes a pixel, row 0 in the low half, row 1 in the high half two pixels
// behind, for the same reason.
template <unsigned S> struct TPair {
    static constexpr unsigned kRows = 2, kStride = S, kMoved = 8;
    static constexpr std::ptrdiff_t kLag[kRows] = {0, 2};

    SC_AVX2_STEP static __m128i Load(const std::uint8_t* p) {
        return _mm_loadl_epi64(reinterpret_cast<const __m128i*>(p));
    }
    SC_AVX2_STEP static __m256i Join(const __m128i (&p)[kRows]) {
        return _mm256_cvtepu8_epi16(_mm_unpacklo_epi64(p[0], p[1]));
    }
    SC_AVX2_STEP static __m256i Above(__m128i up, __m256i, __m256i aOld) {
        return _mm256_inserti128_si256(_mm256_castsi128_si256(_mm_cvtepu8_epi16(up)),
                                       _mm256_castsi256_si128(aOld), 1);
    }
    template <bool Exact>
    SC_AVX2_STEP static void Store(__m128i v, std::uint8_t* const (&at)[kRows]) {
        Put<Exact>(at[0], static_cast<std::uint64_t>(_mm_cvtsi128_si64(v)));
        Put<Exact>(at[1], static_cast<std::uint64_t>(_mm_extract_epi64(v, 1)));
    }
    template <bool Exact> static void Put(std::uint8_t* p, std::uint64_t bits) {
        if (!Exact)
            std::memcpy(p, &bits, kMoved);
        else if (p)
            std::memcpy(p, &bits, S);
    }
};

// Step t works pixel t - kLag[k] of row k. Rows not yet started take zero pixels, which keep
// their left and upper-left neighbours zero; the steps where some row has not started or has
// ended check each row (Checked) and store exactly the pixel's bytes, the others store kMoved
// bytes a pixel, each store overwritten in turn by the next. The row pointers are copies: the
// byte stores could otherwise reach them, and they would be read back after each.
template <class L, bool Mixed> struct TRun {
    static constexpr unsigned R = L::kRows, S = L::kStride;
    static constexpr std::ptrdiff_t kLast = L::kLag[R - 1];

    std::uint8_t* d[R];
    const std::uint8_t* r[R];
    const std::uint8_t* q;
    std::ptrdiff_t m; // pixels a row
    __m256i averages, a, aOld, c;

    template <bool Checked> SC_AVX2_STEP __m256i Raw(std::ptrdiff_t t) const {
        __m128i p[R];
#pragma GCC unroll 4
        for (unsigned k = 0; k < R; ++k) {
            const std::ptrdiff_t i = t - L::kLag[k];
            p[k] = !Checked || (i >= 0 && i < m) ? L::Load(r[k] + i * S) : _mm_setzero_si128();
        }
        return L::Join(p);
    }

    // Step t from its raw pixels; returns those of step t + 1, read before this step's stores
    // (which may reach them when a row is unfiltered in place).
    template <bool Checked> SC_AVX2_STEP __m256i Step(std::ptrdiff_t t, __m256i raw) {
        const __m128i up = !Checked || t < m ? L::Load(q + t * S) : _mm_setzero_si128();
        const __m256i b = L::Above(up, a, aOld);
        aOld = a;
        ChainStep<Mixed>(a, c, b, raw, averages);
        const __m256i next = Raw<Checked>(t + 1);
        std::uint8_t* at[R];
#pragma GCC unroll 4
        for (unsigned k = 0; k < R; ++k) {
            const std::ptrdiff_t i = t - L::kLag[k];
            at[k] = !Checked || (i >= 0 && i < m) ? d[k] + i * S : nullptr;
        }
        L::template Store<Checked>(
            _mm_packus_epi16(_mm256_castsi256_si128(a), _mm256_extracti128_si256(a, 1)), at);
        return next;
    }

    SC_AVX2_STEP void Go() {
        __m256i raw = Raw<true>(0);
        std::ptrdiff_t t = 0;
        for (; t < kLast; ++t)
            raw = Step<true>(t, raw);
        // Every row started and none at its last pixel.
        for (; t + 1 < m; ++t)
            raw = Step<false>(t, raw);
        for (; t < m + kLast; ++t)
            raw = Step<true>(t, raw);
    }
};

// The mask is made here, not handed in: the compiler takes a function with a 32-byte argument
// to run among 32-byte code and ends it without clearing the registers' upper halves, which
// then slows every SSE2 instruction after it.
template <class L, bool Mixed>
SC_AVX2 void Unfilter(std::uint8_t* const d[], const std::uint8_t* const r[], const std::uint8_t* q,
                      std::size_t n, unsigned averages) {
    const __m256i zero = _mm256_setzero_si256();
    __m256i mask = zero;
    if constexpr (Mixed)
        mask = L::Mask(averages);
    TRun<L, Mixed> run{{},   {},   q,    static_cast<std::ptrdiff_t>(n / L::kStride),
                       mask, zero, zero, zero};
    std::copy_n(d, L::kRows, run.d);
    std::copy_n(r, L::kRows, run.r);
    run.Go();
}

template <unsigned S>
void UnfilterQuad(std::uint8_t* const d[], const std::uint8_t* const r[], const std::uint8_t* q,
                  std::size_t n, unsigned averages) {
    if (averages)
        Unfilter<TQuad<S>, true>(d, r, q, n, averages);
    else
        Unfilter<TQuad<S>, false>(d, r, q, n, 0);
}

} // namespace

void UnfilterQuadAvx2(std::uint8_t* const d[4], const std::uint8_t* const r[4],
                      const std::uint8_t* q, std::size_t rowLength, unsigned stride,
                      unsigned averages) {
    switch (stride) {
    case 2:
        UnfilterQuad<2>(d, r, q, rowLength, averages);
        break;
    case 3:
        UnfilterQuad<3>(d, r, q, rowLength, averages);
        break;
    default:
        UnfilterQuad<4>(d, r, q, rowLength, averages);
        break;
    }
}

void UnfilterPairAvx2(std::uint8_t* const d[2], const std::uint8_t* const r[2],
                      const std::uint8_t* q, std::size_t rowLength, unsigned stride) {
    if (stride == 6)
        Unfilter<TPair<6>, false>(d, r, q, rowLength, 0);
    else
        Unfilter<TPair<8>, false>(d, r, q, rowLength, 0);
}

} // namespace sc::png

#endif
