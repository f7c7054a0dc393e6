#include "our_decoder.h"

#include "alloc_meter.h"

#include "png/png_image.h"

#include <sstream>

namespace bench {
namespace {

using sc::png::TChunkIHDR;
using sc::png::TPngMemoryStream;
using sc::png::TPNGObject;

// A palette or grey index of an 1, 4 or 8 bit DIB row.
unsigned dibIndex(const uint8_t* row, unsigned bitsPerPixel, uint32_t x) {
    switch (bitsPerPixel) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1;
    case 4:
        return (row[x >> 1] >> ((x & 1) ? 0 : 4)) & 15;
    default:
        return row[x];
    }
}

// Our stored value of channel c of pixel x in image row y.
unsigned ourSample(const TPNGObject& image, const TChunkIHDR& header, uint32_t x, uint32_t y,
                   unsigned c) {
    const uint8_t* row = image.PixelRow(y);
    const uint8_t* alpha = image.AlphaRow(y);
    switch (header.ColorType()) {
    case 2:
    case 6:
        return c < 3 ? row[3 * size_t{x} + (2 - c)] : alpha[x];
    case 4:
        return c == 0 ? row[x] : alpha[x];
    default: {
        const unsigned index = dibIndex(row, header.DibInfo().bmiHeader.biBitCount, x);
        // 2-bit grey keeps its sample in the upper half of a 4-bit index.
        return header.ColorType() == 0 && header.BitDepth() == 2 ? index >> 2 : index;
    }
    }
}

// The file's value of channel c of pixel x, reduced to its high byte at 16 bits.
unsigned referenceSample(const uint8_t* row, unsigned channels, unsigned bitDepth, uint32_t x,
                         unsigned c) {
    const size_t sample = size_t{x} * channels + c;
    if (bitDepth == 16)
        return row[2 * sample];
    if (bitDepth == 8)
        return row[sample];
    const size_t bit = sample * bitDepth;
    return (row[bit / 8] >> (8 - bitDepth - bit % 8)) & ((1u << bitDepth) - 1);
}

} // namespace

uint64_t decodeWithOurs(std::span<const uint8_t> file) {
    TPNGObject image;
    TPngMemoryStream stream(file.data(), file.size());
    image.ReadPng(stream);
    return uint64_t(image.Width()) * std::uint64_t(image.Height());
}

OurHeapUse measureOurHeapUse(std::span<const uint8_t> file) {
    OurHeapUse use;
    if (!heapMeterAvailable())
        return use;
    startHeapMeter();
    try {
        TPNGObject image;
        TPngMemoryStream stream(file.data(), file.size());
        image.ReadPng(stream);
        const TChunkIHDR& header = image.HeaderChunk();
        use.resultBytes = int64_t{header.RowStride()} * header.Height();
        if (header.AlphaPlane())
            use.resultBytes += int64_t{header.Width()} * header.Height();
        // Stopped before the image goes, so its destruction is not counted.
        const HeapReading reading = stopHeapMeter();
        use.peakBytes = reading.peakBytes;
        use.heldBytes = reading.heldBytes;
        use.allocations = reading.allocations;
    } catch (...) {
        stopHeapMeter();
        throw;
    }
    return use;
}

std::string compareWithReference(std::span<const uint8_t> file, const PngFacts& facts,
                                 const NativeImage& reference) {
    TPNGObject image;
    TPngMemoryStream stream(file.data(), file.size());
    image.ReadPng(stream);
    const TChunkIHDR& header = image.HeaderChunk();
    std::ostringstream out;
    if (header.Width() != reference.width || header.Height() != reference.height) {
        out << "size " << header.Width() << "x" << header.Height() << ", reference "
            << reference.width << "x" << reference.height;
        return out.str();
    }
    const unsigned channels = channelsOf(facts.colourType);
    const bool colourThroughGamma =
        facts.hasGamma && (facts.colourType == 2 || facts.colourType == 6);
    for (uint32_t y = 0; y < reference.height; ++y) {
        const uint8_t* row = reference.rows.data() + size_t{y} * reference.rowBytes;
        for (uint32_t x = 0; x < reference.width; ++x) {
            for (unsigned c = 0; c < channels; ++c) {
                if (colourThroughGamma && c < 3)
                    continue;
                const unsigned ours = ourSample(image, header, x, y, c);
                const unsigned theirs = referenceSample(row, channels, facts.bitDepth, x, c);
                if (ours != theirs) {
                    out << "pixel (" << x << "," << y << ") channel " << c << ": " << ours
                        << ", reference " << theirs;
                    return out.str();
                }
            }
        }
    }
    return {};
}

} // namespace bench
