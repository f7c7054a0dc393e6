// Palette, transparency, gamma, time and text chunks; adding chunks; the image's transparency.
#include "png/png_gamma.h"
#include "png/png_image.h"
#include "png/png_messages.h"
#include "png/png_zlib.h"

#include <cstring>

namespace sc::png {
namespace {

std::int32_t IndexOf(const TPNGList& list, const TChunk* chunk) {
    for (std::int32_t i = 0; i < list.Count(); ++i)
        if (list.Item(i) == chunk)
            return i;
    return -1;
}

std::uint32_t ToColorRef(const TRgbQuad& q) {
    return std::uint32_t(q.rgbRed) | std::uint32_t(q.rgbGreen) << 8 |
           std::uint32_t(q.rgbBlue) << 16;
}

} // namespace

// ---- PLTE ----

bool TChunkPLTE::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunk::ReadChunk(stream, typeCode, length))
        return false;
    if (PayloadSize() % 3 != 0 || PayloadSize() / 3 > 256)
        TPNGObject::RaiseError<EPNGInvalidPalette>(messages::EPNGInvalidPaletteText);
    Entries = static_cast<std::int32_t>(PayloadSize() / 3);
    TPNGObject& image = OwnerImage();
    TRgbQuad* table = image.HeaderChunk().DibInfo().bmiColors;
    const std::uint8_t* p = Payload();
    const auto& g = image.GammaCurve;
    for (std::int32_t i = 0; i < Entries; ++i, p += 3)
        table[i] = TRgbQuad{g[p[2]], g[p[1]], g[p[0]], 0};
    return true;
}

void TChunkPLTE::CopyFrom(const TChunk& source) {
    const auto* from = dynamic_cast<const TChunkPLTE*>(&source);
    if (!from)
        TPNGObject::RaiseError<EPngError>(messages::EPNGCannotAssignChunkText);
    Entries = from->Entries;
}

std::uint32_t TChunkPLTE::PaletteEntry(std::int32_t index) const {
    if (index < 0 || index > Entries - 1)
        TPNGObject::RaiseError<EPngError>(messages::EPNGUnknownPalEntryText);
    const TRgbQuad& q = OwnerImage().HeaderChunk().DibInfo().bmiColors[index];
    return std::uint32_t(q.rgbRed) << 16 | std::uint32_t(q.rgbGreen) << 8 | q.rgbBlue;
}

// ---- gAMA ----

TChunkgAMA::TChunkgAMA(TPNGObject& owner) : TChunk(owner) {
    SetGammaValue(1);
}

std::uint32_t TChunkgAMA::GammaValue() {
    if (PayloadSize() != 4) {
        ResizePayload(4);
        SetGammaValue(1);
        return 1;
    }
    return BigEndian32(Payload());
}

void TChunkgAMA::SetGammaValue(std::uint32_t value) {
    if (PayloadSize() != 4)
        ResizePayload(4);
    std::uint8_t* p = Payload();
    p[0] = std::uint8_t(value >> 24);
    p[1] = std::uint8_t(value >> 16);
    p[2] = std::uint8_t(value >> 8);
    p[3] = std::uint8_t(value);
}

bool TChunkgAMA::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunk::ReadChunk(stream, typeCode, length))
        return false;
    const std::uint32_t value = GammaValue();
    if (value == 0)
        return true;
    OwnerImage().GammaCurve = GammaCurveFor(value);
    return true;
}

void TChunkgAMA::CopyFrom(const TChunk& source) {
    auto* from = dynamic_cast<TChunkgAMA*>(const_cast<TChunk*>(&source));
    if (!from)
        TPNGObject::RaiseError<EPngError>(messages::EPNGCannotAssignChunkText);
    SetGammaValue(from->GammaValue());
}

// ---- tRNS ----

bool TChunktRNS::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunk::ReadChunk(stream, typeCode, length))
        return false;
    if (PayloadSize() > 256)
        TPNGObject::RaiseError<EPNGInvalidPalette>(messages::EPNGInvalidPaletteText);
    AlphaValues.fill(255);
    std::memcpy(AlphaValues.data(), Payload(), PayloadSize());
    switch (OwnerImage().HeaderChunk().ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
        SingleKey = true;
        break;
    case COLOR_PALETTE: {
        unsigned translucent = 0;
        for (std::uint32_t i = 0; i < PayloadSize(); ++i)
            if (AlphaValues[i] != 255)
                ++translucent;
        SingleKey = translucent == 1;
        break;
    }
    default:
        break;
    }
    return true;
}

void TChunktRNS::CopyFrom(const TChunk& source) {
    TChunk::CopyFrom(source);
    if (const auto* from = dynamic_cast<const TChunktRNS*>(&source)) {
        AlphaValues = from->AlphaValues;
        SingleKey = from->SingleKey;
    }
}

// The samples come from AlphaValues, which holds 255 beyond a short payload.
std::uint32_t TChunktRNS::KeyColor() const {
    const TChunkIHDR& header = OwnerImage().HeaderChunk();
    switch (header.ColorType()) {
    case COLOR_GRAYSCALE: {
        std::uint32_t g = AlphaValues[1];
        return g | g << 8 | g << 16;
    }
    case COLOR_RGB:
        return std::uint32_t(AlphaValues[1]) | std::uint32_t(AlphaValues[3]) << 8 |
               std::uint32_t(AlphaValues[5]) << 16;
    case COLOR_PALETTE: {
        if (!OwnerImage().ChunkList.FindChunk<TChunkPLTE>())
            return 0;
        const std::uint32_t entries = PayloadSize() < 256 ? PayloadSize() : 256;
        for (std::uint32_t i = 0; i < entries; ++i)
            if (AlphaValues[i] == 0)
                return ToColorRef(header.DibInfo().bmiColors[i]);
        return 0;
    }
    default:
        return 0;
    }
}

// ---- tIME ----

bool TChunktIME::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunk::ReadChunk(stream, typeCode, length))
        return false;
    if (PayloadSize() == 7) {
        const std::uint8_t* p = Payload();
        Year = static_cast<std::uint16_t>(p[0] * 256 + p[1]);
        Month = p[2];
        Day = p[3];
        Hour = p[4];
        Minute = p[5];
        Second = p[6];
    }
    return true;
}

// ---- tEXt and zTXt ----

bool TChunktEXt::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunk::ReadChunk(stream, typeCode, length))
        return false;
    Keyword.clear();
    Text.clear();
    const std::uint32_t size = PayloadSize();
    if (size >= 3) {
        const char* p = reinterpret_cast<const char*>(Payload());
        const void* zero = std::memchr(p, 0, size);
        const std::uint32_t keyLength =
            zero ? static_cast<std::uint32_t>(static_cast<const char*>(zero) - p) : size;
        Keyword.assign(p, keyLength);
        if (keyLength < size)
            Text.assign(p + keyLength + 1, size - keyLength - 1);
    }
    return true;
}

void TChunktEXt::CopyFrom(const TChunk& source) {
    TChunk::CopyFrom(source);
    if (const auto* from = dynamic_cast<const TChunktEXt*>(&source)) {
        Keyword = from->Keyword;
        Text = from->Text;
    }
}

bool TChunkzTXt::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (!TChunktEXt::ReadChunk(stream, typeCode, length))
        return false;
    const std::uint32_t size = PayloadSize();
    if (size < 4)
        return true;
    Text.clear();
    const std::uint32_t keyLength = static_cast<std::uint32_t>(Keyword.size());
    if (keyLength + 2 > size || Payload()[keyLength + 1] != 0)
        return true;
    std::string output, error;
    if (InflateBuffer(Payload() + keyLength + 2, size - keyLength - 2, output, error))
        Text = std::move(output);
    return true;
}

// ---- adding chunks ----

TChunk* TPNGList::AddChunk(const TChunkClass& chunkClass) {
    const bool critical = &chunkClass == &TChunkIHDR::Class || &chunkClass == &TChunkIDAT::Class ||
                          &chunkClass == &TChunkPLTE::Class || &chunkClass == &TChunkIEND::Class;
    const bool single = &chunkClass == &TChunkgAMA::Class || &chunkClass == &TChunktRNS::Class;
    if (critical || (single && FindChunk(chunkClass)))
        TPNGObject::RaiseError<EPngError>(messages::EPNGCannotAddChunkText);
    TChunk* end = FindChunk(TChunkIEND::Class);
    TChunk* header = FindChunk(TChunkIHDR::Class);
    if (!end || !header)
        TPNGObject::RaiseError<EPngError>(messages::EPNGCannotAddInvalidImageText);

    std::int32_t at;
    if (&chunkClass == &TChunkgAMA::Class) {
        at = IndexOf(*this, header) + 1;
    } else if (&chunkClass == &TChunktRNS::Class) {
        if (TChunk* palette = FindChunk(TChunkPLTE::Class))
            at = IndexOf(*this, palette) + 1;
        else if (TChunk* data = FindChunk(TChunkIDAT::Class))
            at = IndexOf(*this, data);
        else
            at = IndexOf(*this, header) + 1;
    } else {
        at = IndexOf(*this, end);
    }
    TChunk* chunk = chunkClass.Create(OwnerImage()).release();
    Insert(chunk, at);
    return chunk;
}

// ---- the image's transparency ----

TTransparencyKind TPNGObject::TransparencyKind() const {
    const TChunkIHDR& header = HeaderChunk();
    const auto* trns = ChunkList.FindChunk<TChunktRNS>();
    switch (header.ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB:
        return trns ? tkKeyColor : tkNone;
    case COLOR_PALETTE:
        if (!trns)
            return tkNone;
        return trns->SingleKey ? tkKeyColor : tkPerPixel;
    case COLOR_GRAYSCALEALPHA:
    case COLOR_RGBALPHA:
        return tkPerPixel;
    default:
        return tkNone;
    }
}

std::uint32_t TPNGObject::KeyColor() const {
    HeaderChunk();
    const auto* trns = ChunkList.FindChunk<TChunktRNS>();
    return trns ? trns->KeyColor() : 0;
}

void TPNGObject::AddAlphaPlane() {
    TChunkIHDR& header = HeaderChunk();
    switch (header.ColorType()) {
    case COLOR_GRAYSCALE:
    case COLOR_RGB: {
        // Grey with alpha is read one byte per pixel: narrower greys are widened first.
        header.WidenGreyToEightBits();
        header.AllocateAlphaPlane();
        header.SetColorType(header.ColorType() == COLOR_GRAYSCALE ? COLOR_GRAYSCALEALPHA
                                                                  : COLOR_RGBALPHA);
        if (std::uint8_t* alpha = header.AlphaPlane())
            std::memset(alpha, 255, std::size_t(header.Width()) * header.Height());
        break;
    }
    case COLOR_PALETTE: {
        auto* trns = ChunkList.FindChunk<TChunktRNS>();
        if (!trns)
            trns = ChunkList.AddChunk<TChunktRNS>();
        trns->AlphaValues.fill(255);
        trns->SingleKey = false;
        break;
    }
    default:
        break;
    }
}

} // namespace sc::png
