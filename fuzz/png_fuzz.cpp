// libFuzzer target: reads arbitrary bytes as a PNG image from memory. The codec's own exceptions
// are the expected outcome of bad input; any other exception, a crash or a sanitizer report is
// a finding. After the read, whatever the image holds is walked and copied, so that a bitmap
// or alpha plane smaller than its header claims shows up under AddressSanitizer.

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

// Reads the first and last byte of every bitmap and alpha row the header claims.
void touchImage(const TPNGObject& image) {
    if (image.Empty())
        return;
    const TChunkIHDR& header = image.HeaderChunk();
    if (header.Pixels() == nullptr || header.RowStride() <= 0 || header.Width() == 0)
        return;
    std::uint8_t folded = 0;
    for (std::uint32_t y = 0; y < header.Height(); ++y) {
        const std::uint8_t* row = image.PixelRow(y);
        folded ^= row[0] ^ row[header.RowStride() - 1];
        if (const std::uint8_t* alpha = image.AlphaRow(y))
            folded ^= alpha[0] ^ alpha[header.Width() - 1];
    }
    sink = folded;
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
        // A copy duplicates the whole bitmap; beyond 16 Mi pixels that is only a long memcpy
        // of untouched pages. (It also keeps out a header that failed its size check, whose
        // copy would build a bitmap of up to 4 G rows: a known fault of the copy.)
        if (!image.Empty() &&
            std::uint64_t(image.Width()) * std::uint64_t(image.Height()) > (std::uint64_t{1} << 24))
            return;
        TPNGObject copy;
        copy.CopyImage(image);
        touchImage(copy);
    });
    return 0;
}
