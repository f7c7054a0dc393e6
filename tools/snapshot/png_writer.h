#pragma once
// A small PNG writer for screenshots: colour type 2 (RGB), 8 bits per sample, no interlace,
// every row with filter 0, all image data in one IDAT chunk.

#include "rgb_image.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace snapshot {

// Largest width or height the writer accepts.
inline constexpr int kMaxPngSide = 16384;

// The complete PNG file, or nothing when the picture is empty, larger than kMaxPngSide on a side,
// its pixel buffer does not hold exactly width * height * 3 bytes, or zlib fails.
std::optional<std::vector<std::uint8_t>> encodePng(const RgbImage& image);

// Encodes and writes the file (its path in UTF-8); false when encoding or writing fails.
bool writePngFile(const std::string& path, const RgbImage& image);

} // namespace snapshot
