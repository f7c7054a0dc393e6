// libFuzzer target: reads arbitrary bytes as a PNG image from memory. The codec's own exceptions
// are the expected outcome of bad input; any other exception, a crash or a sanitizer report is
// a finding. After the read, whatever the image holds is walked and copied, so that a bitmap
// or alpha plane smaller than its header claims shows up under AddressSanitizer or at the
// guard page behind a large mapping (mapped_memory_guard.cpp).

#include "mapped_memory_guard.h"
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

// Whether the header's bitmap and alpha plane came from the sanitizer's heap.
bool planesOnHeap(const TChunkIHDR& header) {
    const std::uint64_t height = header.Height();
    return std::uint64_t(header.RowStride()) * height <= pngfuzz::kLargestOnHeap &&
           std::uint64_t{header.Width()} * height <= pngfuzz::kLargestOnHeap;
}

// Reads the first and last byte of the bitmap and alpha rows the header claims: every row when
// the planes lie on the sanitizer's heap, else the first and last row, which reach both ends of
// the guarded mappings without committing the pages between them.
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
    if (planesOnHeap(header)) {
        for (std::uint32_t y = 0; y < header.Height(); ++y)
            touchRow(y);
    } else {
        touchRow(0);
        touchRow(header.Height() - 1);
    }
    sink = folded;
}

// A copy duplicates every byte of the planes of every header chunk (a file may hold more than
// one): only when they all lie on the sanitizer's heap, where a short copy shows.
bool worthCopying(const TPNGObject& image) {
    for (std::int32_t i = 0; i < image.ChunkList.Count(); ++i) {
        const auto* header = dynamic_cast<const TChunkIHDR*>(image.ChunkList.Item(i));
        if (header && header->Pixels() && !planesOnHeap(*header))
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
