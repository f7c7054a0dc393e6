#include "png/png_crc.h"

#include <cstring>

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

} // namespace

std::uint32_t CrcUpdate(std::uint32_t crc, const void* data, std::size_t size) {
    const CrcTables& t = Tables();
    const auto* p = static_cast<const std::uint8_t*>(data);
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
