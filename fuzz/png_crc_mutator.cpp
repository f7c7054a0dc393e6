// Mutations for png_fuzz: libFuzzer's own mutation, after which the CRC of every complete chunk
// is usually recomputed. Without this, nearly every mutated input would stop at the first CRC
// check and the decoding behind it would hardly be reached; one input in eight keeps its CRCs
// as mutated, so the checks themselves stay under test.

#include <cstddef>
#include <cstdint>
#include <zlib.h>

extern "C" std::size_t LLVMFuzzerMutate(std::uint8_t* data, std::size_t size, std::size_t maxSize);

namespace {

constexpr std::size_t kSignatureSize = 8;

std::uint32_t bigEndian32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) |
           p[3];
}

void repairChunkCrcs(std::uint8_t* data, std::size_t size) {
    std::size_t pos = kSignatureSize;
    while (pos <= size && size - pos >= 12) {
        const std::uint32_t length = bigEndian32(data + pos);
        if (length > size - pos - 12)
            return;
        const std::uint8_t* typeAndData = data + pos + 4;
        const uLong crc = crc32(crc32(0, nullptr, 0), typeAndData, length + 4);
        std::uint8_t* stored = data + pos + 8 + length;
        stored[0] = static_cast<std::uint8_t>(crc >> 24);
        stored[1] = static_cast<std::uint8_t>(crc >> 16);
        stored[2] = static_cast<std::uint8_t>(crc >> 8);
        stored[3] = static_cast<std::uint8_t>(crc);
        pos += 12 + std::size_t{length};
    }
}

} // namespace

extern "C" std::size_t LLVMFuzzerCustomMutator(std::uint8_t* data, std::size_t size,
                                               std::size_t maxSize, unsigned int seed) {
    size = LLVMFuzzerMutate(data, size, maxSize);
    if (seed % 8 != 0)
        repairChunkCrcs(data, size);
    return size;
}
