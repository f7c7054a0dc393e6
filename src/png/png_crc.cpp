#include "png/png_crc.h"

#include "png/png_vector.h"

#include <cstring>

#if SC_PNG_X86
#include <immintrin.h>
#endif

namespace sc::png {
namespace {

struct CrcTables {
    std::uint32_t T[8][256];
    CrcTables() {
        for (std::uint32_t n = 0; n < 256; ++n) {
            std::uint32_t c = n;
            for (int k = 0; k < 8; ++k)
                c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            T[0][n] = c;
        }
        for (std::uint32_t n = 0; n < 256; ++n)
            for (int k = 1; k < 8; ++k)
                T[k][n] = (T[k - 1][n] >> 8) ^ T[0][T[k - 1][n] & 0xFF];
    }
};

const CrcTables& Tables() {
    static const CrcTables tables; // built on first use
    return tables;
}

#if SC_PNG_X86
// Folds a whole number of 16-byte blocks (at least four) into the CRC register with carry-less
// multiplication: four lanes of 128 bits folded 64 bytes at a time, then into one lane, then
// to 64 bits, and a Barrett reduction to the 32-bit register. The constants are powers of x
// modulo the reflected polynomial.
#define SC_CLMUL_TARGET __attribute__((target("pclmul,sse4.1")))

SC_CLMUL_TARGET inline __m128i Load(const std::uint8_t* at) {
    return _mm_loadu_si128(reinterpret_cast<const __m128i*>(at));
}

// x times the constant in k, added to the next 128 bits.
SC_CLMUL_TARGET inline __m128i Fold(__m128i x, __m128i k, __m128i next) {
    const __m128i low = _mm_clmulepi64_si128(x, k, 0x00);
    return _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x, k, 0x11), next), low);
}

SC_CLMUL_TARGET std::uint32_t CrcFold(std::uint32_t crc, const std::uint8_t* p, std::size_t size) {
    alignas(16) static const std::uint64_t k1k2[2] = {0x0154442bd4, 0x01c6e41596};
    alignas(16) static const std::uint64_t k3k4[2] = {0x01751997d0, 0x00ccaa009e};
    alignas(16) static const std::uint64_t k5k0[2] = {0x0163cd6124, 0x0000000000};
    alignas(16) static const std::uint64_t poly[2] = {0x01db710641, 0x01f7011641};
    __m128i x1 = Load(p), x2 = Load(p + 16), x3 = Load(p + 32), x4 = Load(p + 48);
    x1 = _mm_xor_si128(x1, _mm_cvtsi32_si128(static_cast<int>(crc)));
    __m128i k = _mm_load_si128(reinterpret_cast<const __m128i*>(k1k2));
    p += 64;
    size -= 64;
    while (size >= 64) {
        const __m128i x5 = _mm_clmulepi64_si128(x1, k, 0x00);
        const __m128i x6 = _mm_clmulepi64_si128(x2, k, 0x00);
        const __m128i x7 = _mm_clmulepi64_si128(x3, k, 0x00);
        const __m128i x8 = _mm_clmulepi64_si128(x4, k, 0x00);
        x1 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x1, k, 0x11), x5), Load(p));
        x2 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x2, k, 0x11), x6), Load(p + 16));
        x3 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x3, k, 0x11), x7), Load(p + 32));
        x4 = _mm_xor_si128(_mm_xor_si128(_mm_clmulepi64_si128(x4, k, 0x11), x8), Load(p + 48));
        p += 64;
        size -= 64;
    }
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(k3k4));
    x1 = Fold(x1, k, x2);
    x1 = Fold(x1, k, x3);
    x1 = Fold(x1, k, x4);
    for (; size >= 16; p += 16, size -= 16)
        x1 = Fold(x1, k, Load(p));
    // 128 to 64 bits.
    const __m128i mask32 = _mm_setr_epi32(~0, 0, ~0, 0);
    x2 = _mm_clmulepi64_si128(x1, k, 0x10);
    x1 = _mm_xor_si128(_mm_srli_si128(x1, 8), x2);
    k = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(k5k0));
    x2 = _mm_srli_si128(x1, 4);
    x1 = _mm_xor_si128(_mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k, 0x00), x2);
    // Barrett reduction.
    k = _mm_load_si128(reinterpret_cast<const __m128i*>(poly));
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x1, mask32), k, 0x10);
    x2 = _mm_clmulepi64_si128(_mm_and_si128(x2, mask32), k, 0x00);
    x1 = _mm_xor_si128(x1, x2);
    return static_cast<std::uint32_t>(_mm_extract_epi32(x1, 1));
}
#endif

} // namespace

std::uint32_t CrcUpdate(std::uint32_t crc, const void* data, std::size_t size) {
    return CrcUpdate(crc, data, size, VectorLevel());
}

std::uint32_t CrcUpdate(std::uint32_t crc, const void* data, std::size_t size, TVectorLevel level) {
    const CrcTables& t = Tables();
    const auto* p = static_cast<const std::uint8_t*>(data);
#if SC_PNG_X86
    if (level >= TVectorLevel::Clmul && size >= 64) {
        const std::size_t whole = size & ~std::size_t(15);
        crc = CrcFold(crc, p, whole);
        p += whole;
        size -= whole;
    }
#else
    (void)level;
#endif
    while (size >= 8) {
        std::uint32_t lo = crc ^ (std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 |
                                  std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24);
        crc = t.T[7][lo & 0xFF] ^ t.T[6][(lo >> 8) & 0xFF] ^ t.T[5][(lo >> 16) & 0xFF] ^
              t.T[4][lo >> 24] ^ t.T[3][p[4]] ^ t.T[2][p[5]] ^ t.T[1][p[6]] ^ t.T[0][p[7]];
        p += 8;
        size -= 8;
    }
    while (size--)
        crc = t.T[0][(crc ^ *p++) & 0xFF] ^ (crc >> 8);
    return crc;
}

} // namespace sc::png
