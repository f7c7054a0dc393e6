// The header chunk: its fields, the bitmap description and the pixel memory it owns.
#include "png/png_decode.h"
#include "png/png_image.h"
#include "png/png_memory.h"
#include "png/png_messages.h"

#include <cstdint>
#include <cstring>

namespace sc::png {
namespace {

std::uint16_t DibBitsPerPixel(std::uint8_t colorType, std::uint8_t bitDepth) {
    switch (colorType) {
    case COLOR_GRAYSCALE:
    case COLOR_PALETTE:
    case COLOR_GRAYSCALEALPHA:
        switch (bitDepth) {
        case 1:
            return 1;
        case 2:
        case 4:
            return 4;
        case 8:
        case 16:
            return 8;
        default:
            return 0;
        }
    case COLOR_RGB:
    case COLOR_RGBALPHA:
        return 24;
    default:
        return 0;
    }
}

// a x b as a size that can be allocated, or false.
bool CheckedSize(std::uint64_t a, std::uint64_t b, std::size_t& out) {
    std::uint64_t product;
    if (__builtin_mul_overflow(a, b, &product) || product > std::uint64_t(PTRDIFF_MAX))
        return false;
    out = static_cast<std::size_t>(product);
    return true;
}

// A plane of a x b bytes, zeroed; with unwritten set it may come unzeroed, which clears
// unwritten when it does not.
std::uint8_t* AllocatePlane(std::uint64_t a, std::uint64_t b, std::size_t& bytes,
                            bool* unwritten = nullptr) {
    bytes = 0;
    std::size_t size;
    if (!CheckedSize(a, b, size))
        TPNGObject::RaiseError<EPNGOutMemory>(messages::EPNGOutMemoryText);
    if (size == 0)
        return nullptr;
    bool zeroed = true;
    auto* memory = static_cast<std::uint8_t*>(
        unwritten && *unwritten ? AllocateForWriting(size, zeroed) : AllocateZeroed(size));
    if (unwritten && zeroed)
        *unwritten = false;
    if (!memory)
        TPNGObject::RaiseError<EPNGOutMemory>(messages::EPNGOutMemoryText);
    bytes = size;
    return memory;
}

} // namespace

TChunkIHDR::TChunkIHDR(TPNGObject& owner) : TChunk(owner) {}

TChunkIHDR::~TChunkIHDR() {
    ReleaseBitmap();
}

void TChunkIHDR::ReleaseBitmap() {
    PlanesUnwritten = false;
    ReleaseZeroed(PixelMemory, PixelBytes);
    ReleaseZeroed(AlphaMemory, AlphaBytes);
    PixelMemory = AlphaMemory = nullptr;
    PixelBytes = AlphaBytes = 0;
}

void TChunkIHDR::ZeroRowsFrom(std::uint32_t row) const {
    PlanesUnwritten = false;
    if (row >= Fields.Height)
        return;
    // Image row y is DIB row height - 1 - y: the rows from row on are the first ones in memory.
    if (PixelMemory)
        std::memset(PixelMemory, 0, std::size_t(Stride) * (Fields.Height - row));
    if (AlphaMemory)
        std::memset(AlphaMemory + std::size_t(row) * Fields.Width, 0,
                    std::size_t(Fields.Height - row) * Fields.Width);
}

void TChunkIHDR::AllocateAlphaPlane() {
    Settle();
    ReleaseZeroed(AlphaMemory, AlphaBytes);
    AlphaMemory = nullptr;
    AlphaMemory = AllocatePlane(Fields.Width, Fields.Height, AlphaBytes);
}

void TChunkIHDR::WidenGreyToEightBits() {
    if (Fields.ColorType != COLOR_GRAYSCALE || Fields.BitDepth >= 8)
        return;
    Fields.BitDepth = 8;
    if (!PixelMemory)
        return; // a header that failed its checks holds no bitmap to widen
    Settle();
    struct Plane {
        std::uint8_t* Memory;
        std::size_t Bytes;
        ~Plane() { ReleaseZeroed(Memory, Bytes); }
    } old{PixelMemory, PixelBytes};
    PixelMemory = nullptr;
    PixelBytes = 0;
    const unsigned oldBits = Info.bmiHeader.biBitCount;
    const std::size_t oldStride = static_cast<std::size_t>(Stride);
    TRgbQuad levels[256];
    std::memcpy(levels, Info.bmiColors, sizeof levels);
    PrepareBitmap();
    for (unsigned k = 0; k < 256; ++k)
        Info.bmiColors[k] = TRgbQuad{std::uint8_t(k), std::uint8_t(k), std::uint8_t(k), 0};
    const std::size_t stride = static_cast<std::size_t>(Stride);
    for (std::size_t y = 0; y < Fields.Height; ++y) {
        const std::uint8_t* from = old.Memory + y * oldStride;
        std::uint8_t* to = PixelMemory + y * stride;
        for (std::uint32_t x = 0; x < Fields.Width; ++x) {
            const unsigned index = oldBits == 1 ? (from[x >> 3] >> (7 - (x & 7))) & 1
                                   : (x & 1)    ? from[x >> 1] & 15
                                                : from[x >> 1] >> 4;
            to[x] = levels[index].rgbRed;
        }
    }
}

void TChunkIHDR::PrepareBitmap(bool unwritten) {
    std::memset(&Info, 0, sizeof Info);
    ReleaseBitmap();
    OwnerImage().ReleaseSystemPalette();
    const std::uint16_t bits = DibBitsPerPixel(Fields.ColorType, Fields.BitDepth);
    TBitmapInfoHeader& h = Info.bmiHeader;
    h.biSize = 40;
    h.biWidth = static_cast<std::int32_t>(Fields.Width);
    h.biHeight = static_cast<std::int32_t>(Fields.Height);
    h.biPlanes = 1;
    h.biBitCount = bits;
    Paletted = Fields.ColorType == COLOR_GRAYSCALE || Fields.ColorType == COLOR_PALETTE ||
               Fields.ColorType == COLOR_GRAYSCALEALPHA;
    // Width and height are at most 65535 here, so the stride fits easily.
    Stride = static_cast<std::int32_t>((std::uint64_t(bits) * Fields.Width + 31) / 32 * 4);
    // Unwritten planes are zeroed by rows when asked for (ZeroRowsFrom), which would touch
    // every page of a plane that the system hands out zeroed: those stay as they are.
    std::size_t pixelBytes;
    unwritten = unwritten && CheckedSize(std::uint64_t(Stride), Fields.Height, pixelBytes) &&
                pixelBytes < kSmallZeroedSize; // then the alpha plane, never larger, is too
    PlanesUnwritten = unwritten;
    if (Fields.ColorType == COLOR_GRAYSCALEALPHA || Fields.ColorType == COLOR_RGBALPHA)
        AlphaMemory = AllocatePlane(Fields.Width, Fields.Height, AlphaBytes, &unwritten);
    PixelMemory = AllocatePlane(std::uint64_t(Stride), Fields.Height, PixelBytes, &unwritten);
}

bool TChunkIHDR::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunk::ReadChunk(stream, typeCode, length))
        return false;
    if (PayloadSize() < 13)
        TPNGObject::RaiseError<EPngInvalidIHDR>(messages::EPNGInvalidIHDRText);
    const std::uint8_t* p = Payload();
    Fields = {BigEndian32(p), BigEndian32(p + 4), p[8], p[9], p[10], p[11], p[12]};
    if (Fields.Width > 65535 || Fields.Height > 65535)
        TPNGObject::RaiseError<EPNGSizeExceeds>(messages::EPNGSizeExceedsText);
    if (Fields.Compression != 0)
        TPNGObject::RaiseError<EPNGUnknownCompression>(messages::EPNGUnknownCompressionText);
    if (Fields.InterlaceMethod > 1)
        TPNGObject::RaiseError<EPNGUnknownInterlace>(messages::EPNGUnknownInterlaceText);
    // An empty image, or a sample format without a conversion, cannot be decoded.
    if (Fields.Width == 0 || Fields.Height == 0 ||
        !HasConversion(Fields.ColorType, Fields.BitDepth))
        TPNGObject::RaiseError<EPngInvalidIHDR>(messages::EPNGInvalidIHDRText);
    OwnerImage().ImageInterlace = Fields.InterlaceMethod;
    PrepareBitmap(true); // the image data writes it
    return true;
}

void TChunkIHDR::Define(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                        std::uint8_t colorType) {
    if (width > 65535 || height > 65535)
        TPNGObject::RaiseError<EPNGSizeExceeds>(messages::EPNGSizeExceedsText);
    if (width == 0 || height == 0 || !HasConversion(colorType, bitDepth))
        TPNGObject::RaiseError<EPngInvalidIHDR>(messages::EPNGInvalidIHDRText);
    ResizePayload(13);
    std::uint8_t* p = Payload();
    for (int i = 0; i < 4; ++i) {
        p[i] = static_cast<std::uint8_t>(width >> (24 - 8 * i));
        p[4 + i] = static_cast<std::uint8_t>(height >> (24 - 8 * i));
    }
    p[8] = bitDepth;
    p[9] = colorType;
    p[10] = p[11] = p[12] = 0;
    Fields = {width, height, bitDepth, colorType, 0, 0, 0};
    OwnerImage().ImageInterlace = 0;
    PrepareBitmap();
}

void TChunkIHDR::CopyFrom(const TChunk& source) {
    const auto* from = dynamic_cast<const TChunkIHDR*>(&source);
    if (!from)
        TPNGObject::RaiseError<EPngError>(messages::EPNGCannotAssignChunkText);
    if (from == this)
        return;
    TChunk::CopyFrom(source);
    from->Settle();
    Fields = from->Fields;
    if (!from->PixelMemory) {
        // A header that failed its checks (or its allocation) holds no bitmap, and its fields
        // may name sizes that were never allowed: the copy holds none either.
        std::memset(&Info, 0, sizeof Info);
        ReleaseBitmap();
        Stride = 0;
        return;
    }
    PrepareBitmap();
    if (PixelMemory && from->PixelMemory)
        std::memcpy(PixelMemory, from->PixelMemory,
                    PixelBytes < from->PixelBytes ? PixelBytes : from->PixelBytes);
    if (!AlphaMemory && from->AlphaMemory) // the source gained its alpha plane later
        AllocateAlphaPlane();
    if (AlphaMemory && from->AlphaMemory)
        std::memcpy(AlphaMemory, from->AlphaMemory,
                    AlphaBytes < from->AlphaBytes ? AlphaBytes : from->AlphaBytes);
    std::memcpy(Info.bmiColors, from->Info.bmiColors, sizeof Info.bmiColors);
}

} // namespace sc::png
