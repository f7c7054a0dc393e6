// The facts of a PNG file that the benchmark needs besides the decoders themselves:
// its header, whether it carries a gamma chunk, and its image data as one zlib stream.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <utility>
#include <vector>

namespace bench {

struct PngFacts {
    uint32_t width = 0;
    uint32_t height = 0;
    uint8_t bitDepth = 0;
    uint8_t colourType = 0;
    uint8_t interlace = 0;
    bool hasGamma = false;
    // Payloads of the first run of consecutive IDAT chunks, joined.
    std::vector<uint8_t> imageData;
    // Where those payloads lie in the file (offset, length), as a reader meets them.
    std::vector<std::pair<size_t, size_t>> imageChunks;
    // Bytes that inflating imageData yields: every row of every pass with its filter byte.
    size_t filteredSize = 0;
};

// Samples per pixel of a colour type (0 when the type is unknown).
unsigned channelsOf(uint8_t colourType);

// Bytes of one filtered row of `pixels` pixels, without the filter byte.
size_t packedRowBytes(uint64_t pixels, uint8_t colourType, uint8_t bitDepth);

// Walks the chunks of a PNG held in memory; throws std::runtime_error on a malformed layout.
PngFacts readPngFacts(const std::vector<uint8_t>& file);

std::vector<uint8_t> readWholeFile(const std::filesystem::path& path);

} // namespace bench
