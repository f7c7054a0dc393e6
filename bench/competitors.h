// The decoders our codec is measured against, each fed a whole PNG file from memory, and the
// floor: inflating the image data alone. Every decoder throws std::runtime_error on failure.
#pragma once

#include "png_file.h"

#include <cstdint>
#include <span>
#include <vector>

namespace bench {

// An image in the file's own sample layout: rows of packed samples at the file's bit depth,
// top row first, interlaced images already put together.
struct NativeImage {
    uint32_t width = 0;
    uint32_t height = 0;
    size_t rowBytes = 0;
    std::vector<uint8_t> rows;
};

// libpng's classic reader with interlace handling as its only transform.
NativeImage decodeWithLibpng(std::span<const uint8_t> file);

// libspng in its SPNG_FMT_PNG output format; returns the pixel count.
uint64_t decodeWithSpng(std::span<const uint8_t> file);

// stb_image with the file's own channel count (8 bits per sample); returns the pixel count.
uint64_t decodeWithStb(std::span<const uint8_t> file);

// Inflates facts.imageData into `out`, which must hold facts.filteredSize bytes.
void inflateImageData(const PngFacts& facts, std::vector<uint8_t>& out);

// The same, with zlib fed the IDAT chunks of `file` one by one where they lie, as a reader that
// streams the file must feed it: each chunk is a call of its own, and zlib starts every call
// over with its matches reaching back into its window. Same output, same checks.
void inflateImageDataByChunk(std::span<const uint8_t> file, const PngFacts& facts,
                             std::vector<uint8_t>& out);

} // namespace bench
