#include "png_writer.h"

#include "text/utf.h"

#include <zlib.h>

#include <array>
#include <cstddef>
#include <filesystem>
#include <fstream>
#include <limits>

namespace snapshot {
namespace {

constexpr std::array<std::uint8_t, 8> kSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

void putBigEndian32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    out.push_back(static_cast<std::uint8_t>(value >> 24));
    out.push_back(static_cast<std::uint8_t>(value >> 16));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
    out.push_back(static_cast<std::uint8_t>(value));
}

// Appends length, type, data and the CRC over type and data.
void putChunk(std::vector<std::uint8_t>& out, const char (&type)[5], const std::uint8_t* data,
              std::size_t size) {
    putBigEndian32(out, static_cast<std::uint32_t>(size));
    const std::size_t typeAt = out.size();
    out.insert(out.end(), type, type + 4);
    if (size > 0) {
        out.insert(out.end(), data, data + size);
    }
    uLong crc = crc32(0L, Z_NULL, 0);
    crc = crc32(crc, out.data() + typeAt, static_cast<uInt>(4 + size));
    putBigEndian32(out, static_cast<std::uint32_t>(crc));
}

// Each row prefixed with filter byte 0.
std::vector<std::uint8_t> filteredRows(const RgbImage& image, std::size_t rowBytes) {
    std::vector<std::uint8_t> raw;
    raw.reserve((rowBytes + 1) * static_cast<std::size_t>(image.height));
    for (int y = 0; y < image.height; ++y) {
        raw.push_back(0);
        const auto* row = image.pixels.data() + rowBytes * static_cast<std::size_t>(y);
        raw.insert(raw.end(), row, row + rowBytes);
    }
    return raw;
}

} // namespace

std::optional<std::vector<std::uint8_t>> encodePng(const RgbImage& image) {
    if (image.width <= 0 || image.height <= 0 || image.width > kMaxPngSide ||
        image.height > kMaxPngSide) {
        return std::nullopt;
    }
    // With both sides capped at 2^14 the products below stay under 2^31: no overflow.
    const std::size_t rowBytes = static_cast<std::size_t>(image.width) * 3;
    if (image.pixels.size() != rowBytes * static_cast<std::size_t>(image.height)) {
        return std::nullopt;
    }
    const std::vector<std::uint8_t> raw = filteredRows(image, rowBytes);
    uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
    if (packedSize > std::numeric_limits<std::uint32_t>::max() / 2) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> packed(packedSize);
    if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 6) !=
        Z_OK) {
        return std::nullopt;
    }

    std::vector<std::uint8_t> header;
    putBigEndian32(header, static_cast<std::uint32_t>(image.width));
    putBigEndian32(header, static_cast<std::uint32_t>(image.height));
    header.insert(header.end(), {8, 2, 0, 0, 0}); // depth, colour type, compression, filter, lace

    std::vector<std::uint8_t> file(kSignature.begin(), kSignature.end());
    putChunk(file, "IHDR", header.data(), header.size());
    putChunk(file, "IDAT", packed.data(), packedSize);
    putChunk(file, "IEND", nullptr, 0);
    return file;
}

bool writePngFile(const std::string& path, const RgbImage& image) {
    const auto file = encodePng(image);
    if (!file) {
        return false;
    }
    std::ofstream out(std::filesystem::path(sc::text::toUtf16(path)),
                      std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file->data()),
              static_cast<std::streamsize>(file->size()));
    out.close();
    return static_cast<bool>(out);
}

} // namespace snapshot
