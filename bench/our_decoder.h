// Our codec as the benchmark sees it: a decode from memory, its heap use, and a sample by
// sample comparison of its bitmap with an image in the file's own layout.
#pragma once

#include "competitors.h"
#include "png_file.h"

#include <cstdint>
#include <span>
#include <string>

namespace bench {

// Reads the file with TPNGObject::ReadPng from a memory stream; returns the pixel count.
uint64_t decodeWithOurs(std::span<const uint8_t> file);

struct OurHeapUse {
    int64_t resultBytes = 0; // DIB pixels and alpha plane
    int64_t peakBytes = 0;   // most bytes held at one time during the read
    int64_t heldBytes = 0;   // bytes the image holds after the read
    uint64_t allocations = 0;
    int64_t workingBytes() const { return peakBytes - resultBytes; }
    int64_t keptBytes() const { return heldBytes - resultBytes; }
};

// One read under the heap meter (all zero when the meter is not available).
OurHeapUse measureOurHeapUse(std::span<const uint8_t> file);

// Compares our bitmap with `reference` sample by sample and returns the first difference, or
// an empty text when they agree. Colour samples of truecolour images are left out when the
// file has a gamma chunk, as our codec stores them through its gamma curve.
std::string compareWithReference(std::span<const uint8_t> file, const PngFacts& facts,
                                 const NativeImage& reference);

} // namespace bench
