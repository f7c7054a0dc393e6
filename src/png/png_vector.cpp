#include "png/png_vector.h"

#include "png/png_decode.h"

#include <atomic>
#include <cstring>

#if SC_PNG_X86
#include <cpuid.h>
#include <immintrin.h>
#endif

namespace sc::png {
namespace {

#if SC_PNG_X86
// AVX2 needs the system to save the upper halves of the registers (XCR0 bits 1 and 2).
__attribute__((target("xsave"))) bool SystemSavesAvx() {
    return (_xgetbv(0) & 6) == 6;
}
#endif

TVectorLevel DetectLevel() {
#if SC_PNG_X86
    unsigned a = 0, b = 0, c = 0, d = 0;
    if (!__get_cpuid(1, &a, &b, &c, &d) || !(c & bit_SSSE3))
        return TVectorLevel::Sse2;
    if (!(c & bit_SSE4_1) || !(c & bit_PCLMUL))
        return TVectorLevel::Ssse3;
    const bool osSaves = (c & bit_OSXSAVE) && (c & bit_AVX) && SystemSavesAvx();
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

// The row functions of pixels of S bytes (2 to 8), over whole pixels; the next raw pixel is
// loaded before the current one is stored, so out may be raw.
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

// Sub (Type 1) and Average (Type 3).
template <unsigned S, int Type>
void ChainPixels(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
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

// Up for every pixel width, sixteen bytes at a time.
void UpBlocks(std::uint8_t* d, const std::uint8_t* r, const std::uint8_t* q, std::size_t n) {
    std::size_t j = 0;
    for (; j + 16 <= n; j += 16) {
        const __m128i v = _mm_add_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(r + j)),
                                       _mm_loadu_si128(reinterpret_cast<const __m128i*>(q + j)));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(d + j), v);
    }
    for (; j < n; ++j)
        d[j] = std::uint8_t(r[j] + q[j]);
}

template <unsigned S> void VectorUnfiltersOf(TUnfilterRow (&unfilter)[5]) {
    unfilter[1] = ChainPixels<S, 1>;
    unfilter[3] = ChainPixels<S, 3>;
    unfilter[4] = PaethPixels<S>;
}

// Four pixels at a time: each 16-byte load holds them in its first 12 bytes; the store of 16
// bytes reaches into the next group, which is written after it. The last groups, whose store
// would pass the end of the row, go pixel by pixel.
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

// Each RGBA pixel of a 16-byte block as blue, green, red, then the four alpha bytes at the end.
__attribute__((target("ssse3"))) inline __m128i SplitRgba8(const std::uint8_t* src) {
    const __m128i split = _mm_setr_epi8(2, 1, 0, 6, 5, 4, 10, 9, 8, 14, 13, 12, 3, 7, 11, 15);
    return _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(src)), split);
}

// Groups of sixteen pixels, their colours joined into three whole 16-byte stores and their alpha
// into a fourth; then four pixels at a time, as for RGB.
__attribute__((target("ssse3"))) std::uint32_t ConvertRgba8Ssse3(const std::uint8_t* src,
                                                                 std::uint8_t* dib,
                                                                 std::uint8_t* alpha,
                                                                 std::uint32_t count) {
    const __m128i colour = _mm_setr_epi32(-1, -1, -1, 0);
    const auto put = [](std::uint8_t* to, __m128i v) {
        _mm_storeu_si128(reinterpret_cast<__m128i*>(to), v);
    };
    std::uint32_t k = 0;
    for (; k + 16 <= count; k += 16) {
        const std::uint8_t* s = src + 4 * k;
        const __m128i a0 = SplitRgba8(s), a1 = SplitRgba8(s + 16), a2 = SplitRgba8(s + 32),
                      a3 = SplitRgba8(s + 48);
        std::uint8_t* d = dib + 3 * k;
        put(d, _mm_or_si128(_mm_and_si128(a0, colour), _mm_slli_si128(a1, 12)));
        put(d + 16,
            _mm_or_si128(_mm_srli_si128(_mm_and_si128(a1, colour), 4), _mm_slli_si128(a2, 8)));
        put(d + 32,
            _mm_or_si128(_mm_srli_si128(_mm_and_si128(a2, colour), 8), _mm_slli_si128(a3, 4)));
        put(alpha + k, _mm_unpackhi_epi64(_mm_unpackhi_epi32(a0, a1), _mm_unpackhi_epi32(a2, a3)));
    }
    for (; k + 6 <= count; k += 4) {
        const __m128i v = SplitRgba8(src + 4 * k);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(dib + 3 * k), v);
        const std::uint32_t a =
            static_cast<std::uint32_t>(_mm_cvtsi128_si32(_mm_srli_si128(v, 12)));
        std::memcpy(alpha + k, &a, 4);
    }
    return k;
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

TRowFunctions ChooseRowFunctions(std::uint32_t filterStride, std::size_t rowLength,
                                 TVectorLevel level) {
    TRowFunctions f{};
    PlainUnfilters(filterStride, f.Unfilter);
#if SC_PNG_X86
    // The vector loops take whole pixels; every sample format's rows are made of them.
    if (level == TVectorLevel::Plain || rowLength == 0 ||
        (filterStride > 1 && rowLength % filterStride != 0))
        return f;
    f.Unfilter[2] = UpBlocks;
    // Single bytes wait for the byte just before them: only Up gains from vectors there.
    switch (filterStride) {
    case 2:
        VectorUnfiltersOf<2>(f.Unfilter);
        break;
    case 3:
        VectorUnfiltersOf<3>(f.Unfilter);
        break;
    case 4:
        VectorUnfiltersOf<4>(f.Unfilter);
        break;
    case 6:
        VectorUnfiltersOf<6>(f.Unfilter);
        break;
    case 8:
        VectorUnfiltersOf<8>(f.Unfilter);
        break;
    default:
        break;
    }
    // Wider pixels gain more from the row functions, which work a pixel at a time, than from a
    // band, which works a byte column at a time.
    if (filterStride <= 3 && rowLength >= kBandShortestRow)
        f.Band = level >= TVectorLevel::Avx2 ? UnfilterBandAvx2 : UnfilterBandSse2;
#else
    (void)rowLength, (void)level;
#endif
    return f;
}

bool TRowFunctions::BandPays(const std::uint8_t* const src[], int count) {
    int serial = 0;
    for (int k = 0; k < count; ++k)
        serial += src[k][0] == 1 || src[k][0] == 3 || src[k][0] == 4;
    return 2 * serial >= count;
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

} // namespace sc::png
