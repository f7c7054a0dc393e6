#include "png_file.h"

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>
#include <stdexcept>

namespace bench {
namespace {

constexpr std::array<uint8_t, 8> kSignature{0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};

struct Adam7Pass {
    unsigned firstRow, rowStep, firstColumn, columnStep;
};
constexpr std::array<Adam7Pass, 7> kPasses{{
    {0, 8, 0, 8},
    {0, 8, 4, 8},
    {4, 8, 0, 4},
    {0, 4, 2, 4},
    {2, 4, 0, 2},
    {0, 2, 1, 2},
    {1, 2, 0, 1},
}};

uint32_t bigEndian32(const uint8_t* p) {
    return (uint32_t{p[0]} << 24) | (uint32_t{p[1]} << 16) | (uint32_t{p[2]} << 8) | p[3];
}

uint64_t passExtent(uint32_t size, unsigned first, unsigned step) {
    return size > first ? (uint64_t{size} - first + step - 1) / step : 0;
}

size_t filteredSizeOf(const PngFacts& f) {
    auto rows = [&](uint64_t width, uint64_t height) -> size_t {
        size_t row = packedRowBytes(width, f.colourType, f.bitDepth);
        return row == 0 ? 0 : static_cast<size_t>(height) * (row + 1);
    };
    if (f.interlace == 0)
        return rows(f.width, f.height);
    size_t total = 0;
    for (const Adam7Pass& p : kPasses)
        total += rows(passExtent(f.width, p.firstColumn, p.columnStep),
                      passExtent(f.height, p.firstRow, p.rowStep));
    return total;
}

} // namespace

unsigned channelsOf(uint8_t colourType) {
    switch (colourType) {
    case 0:
    case 3:
        return 1;
    case 2:
        return 3;
    case 4:
        return 2;
    case 6:
        return 4;
    default:
        return 0;
    }
}

size_t packedRowBytes(uint64_t pixels, uint8_t colourType, uint8_t bitDepth) {
    return static_cast<size_t>((pixels * channelsOf(colourType) * bitDepth + 7) / 8);
}

PngFacts readPngFacts(const std::vector<uint8_t>& file) {
    if (file.size() < kSignature.size() ||
        std::memcmp(file.data(), kSignature.data(), kSignature.size()) != 0)
        throw std::runtime_error("no PNG signature");
    PngFacts facts;
    bool headerSeen = false;
    bool inImageRun = false;
    bool imageRunDone = false;
    size_t pos = kSignature.size();
    while (file.size() - pos >= 12) {
        const uint32_t length = bigEndian32(&file[pos]);
        const uint8_t* type = &file[pos + 4];
        if (length > file.size() - pos - 12)
            throw std::runtime_error("chunk runs past the end of the file");
        const uint8_t* data = &file[pos + 8];
        const bool isIdat = std::memcmp(type, "IDAT", 4) == 0;
        if (std::memcmp(type, "IHDR", 4) == 0 && length >= 13) {
            facts.width = bigEndian32(data);
            facts.height = bigEndian32(data + 4);
            facts.bitDepth = data[8];
            facts.colourType = data[9];
            facts.interlace = data[12];
            headerSeen = true;
        } else if (std::memcmp(type, "gAMA", 4) == 0) {
            facts.hasGamma = true;
        } else if (isIdat && !imageRunDone) {
            facts.imageData.insert(facts.imageData.end(), data, data + length);
            facts.imageChunks.emplace_back(pos + 8, length);
            inImageRun = true;
        } else if (std::memcmp(type, "IEND", 4) == 0) {
            break;
        }
        if (inImageRun && !isIdat)
            imageRunDone = true;
        pos += 12 + size_t{length};
    }
    if (!headerSeen || facts.imageData.empty())
        throw std::runtime_error("no header or no image data");
    facts.filteredSize = filteredSizeOf(facts);
    return facts;
}

std::vector<uint8_t> readWholeFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        throw std::runtime_error("cannot open " + path.string());
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

} // namespace bench
