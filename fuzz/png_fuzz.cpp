// libFuzzer target: reads arbitrary bytes as a PNG image from memory. The codec's own exceptions
// are the expected outcome of bad input; any other exception, a crash or a sanitizer report is
// a finding. After the read, whatever the image holds is walked and copied, so that a bitmap
// or alpha plane smaller than its header claims shows up under AddressSanitizer or at the
// guard page behind a large mapping (mapped_memory_guard.cpp).

#include "png/png_image.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

namespace {

using namespace sc::png;

volatile std::uint8_t sink;

bool isCodecError(const std::runtime_error& error) {
    return std::strcmp(PngExceptionClassName(error), "std::exception") != 0;
}

// Runs one step; codec exceptions are swallowed, anything else ends the run as a finding.
template <class Step> void guarded(const char* what, Step step) {
    try {
        step();
    } catch (const std::runtime_error& error) {
        if (!isCodecError(error)) {
            std::fprintf(stderr, "%s: foreign std::runtime_error: %s\n", what, error.what());
            std::abort();
        }
    }
}

// Planes up to this size are walked row by row and copied. Every page of a plane costs a fault
// when it is first read or written, even a page the codec never wrote: larger planes are only
// touched at both ends, which shows a plane shorter than its header claims as well (on the
// sanitizer's heap or at the guard page behind a mapping), and are not copied.
constexpr std::uint64_t kLargestWalked = std::uint64_t{1} << 20;

bool smallPlanes(const TChunkIHDR& header) {
    const std::uint64_t height = header.Height();
    return std::uint64_t(header.RowStride()) * height <= kLargestWalked &&
           std::uint64_t{header.Width()} * height <= kLargestWalked;
}

// Reads the first and last byte of the bitmap and alpha rows the header claims: of every row for
// small planes, else of the first and last row.
void touchImage(const TPNGObject& image) {
    if (image.Empty())
        return;
    const TChunkIHDR& header = image.HeaderChunk();
    if (header.Pixels() == nullptr || header.RowStride() <= 0 || header.Width() == 0 ||
        header.Height() == 0)
        return;
    std::uint8_t folded = 0;
    auto touchRow = [&](std::uint32_t y) {
        const std::uint8_t* row = image.PixelRow(y);
        folded ^= row[0] ^ row[header.RowStride() - 1];
        if (const std::uint8_t* alpha = image.AlphaRow(y))
            folded ^= alpha[0] ^ alpha[header.Width() - 1];
    };
    if (smallPlanes(header)) {
        for (std::uint32_t y = 0; y < header.Height(); ++y)
            touchRow(y);
    } else {
        touchRow(0);
        touchRow(header.Height() - 1);
    }
    sink = folded;
}

// A copy duplicates every byte of the planes of every header chunk (a file may hold more than
// one): only when they are all small.
bool worthCopying(const TPNGObject& image) {
    for (std::int32_t i = 0; i < image.ChunkList.Count(); ++i) {
        const auto* header = dynamic_cast<const TChunkIHDR*>(image.ChunkList.Item(i));
        if (header && header->Pixels() && !smallPlanes(*header))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    TPNGObject image;
    TPngMemoryStream stream(data, size);
    guarded("ReadPng", [&] { image.ReadPng(stream); });
    guarded("touch", [&] { touchImage(image); });
    guarded("transparency",
            [&] { sink = static_cast<std::uint8_t>(image.TransparencyKind() + image.KeyColor()); });
    guarded("CopyImage", [&] {
        if (!worthCopying(image))
            return;
        TPNGObject copy;
        copy.CopyImage(image);
        touchImage(copy);
    });
    return 0;
}
