// The image object, the chunk list, the generic chunk and the chunk class registry.
#include "png/png_image.h"

#include "png/png_crc.h"
#include "png/png_messages.h"
#include "png/png_platform.h"

#include <cstring>
#include <string_view>
#include <typeinfo>

namespace sc::png {
namespace {

std::string_view ClassTypeName(const TChunkClass& c);

template <class T> std::unique_ptr<TChunk> Make(TPNGObject& owner) {
    auto chunk = std::make_unique<T>(owner);
    const std::string_view name = ClassTypeName(T::Class);
    if (name.size() == 4)
        chunk->SetTypeCode(name.data());
    return chunk;
}

// The type code as text, up to its first zero byte.
std::string_view TypeTextOf(const char code[4]) {
    std::size_t n = 0;
    while (n < 4 && code[n] != 0)
        ++n;
    return std::string_view(code, n);
}

constexpr std::array<std::uint8_t, 256> kIdentityCurve = [] {
    std::array<std::uint8_t, 256> curve{};
    for (unsigned i = 0; i < 256; ++i)
        curve[i] = static_cast<std::uint8_t>(i);
    return curve;
}();

constexpr std::uint8_t kSignature[8] = {0x89, 0x50, 0x4E, 0x47, 0x0D, 0x0A, 0x1A, 0x0A};

// Payloads up to this size are read in one piece; larger ones in blocks, so that a false length
// costs no more memory than the data the stream really holds.
constexpr std::size_t kPayloadBlock = 1u << 16;

// A registered class with its type name packed into a word (zero bytes behind a shorter name), so
// that finding the class of a chunk compares words, not names.
struct TRegistered {
    const TChunkClass* Class;
    std::uint32_t TypeWord; // meaningful only when Fits
    bool Fits;              // the type name has at most four characters
};

std::uint32_t PackType(std::string_view text) {
    char bytes[4] = {};
    std::memcpy(bytes, text.data(), text.size() < 4 ? text.size() : 4);
    std::uint32_t word;
    std::memcpy(&word, bytes, 4);
    return word;
}

std::string_view ClassTypeName(const TChunkClass& c);

TRegistered Registered(const TChunkClass& c) {
    const std::string_view name = ClassTypeName(c);
    return {&c, PackType(name), name.size() <= 4};
}

std::vector<TRegistered>& Registry() {
    static std::vector<TRegistered> registry = {
        Registered(TChunkIEND::Class), Registered(TChunkIHDR::Class),
        Registered(TChunkIDAT::Class), Registered(TChunkPLTE::Class),
        Registered(TChunkgAMA::Class), Registered(TChunktRNS::Class),
        Registered(TChunktIME::Class), Registered(TChunktEXt::Class),
        Registered(TChunkzTXt::Class)};
    return registry;
}

} // namespace

// ---- chunk classes ----

const TChunkClass TChunk::Class{"TChunk", nullptr, &Make<TChunk>};
const TChunkClass TChunkIEND::Class{"TChunkIEND", &TChunk::Class, &Make<TChunkIEND>};
const TChunkClass TChunkIHDR::Class{"TChunkIHDR", &TChunk::Class, &Make<TChunkIHDR>};
const TChunkClass TChunkIDAT::Class{"TChunkIDAT", &TChunk::Class, &Make<TChunkIDAT>};
const TChunkClass TChunkPLTE::Class{"TChunkPLTE", &TChunk::Class, &Make<TChunkPLTE>};
const TChunkClass TChunkgAMA::Class{"TChunkgAMA", &TChunk::Class, &Make<TChunkgAMA>};
const TChunkClass TChunktRNS::Class{"TChunktRNS", &TChunk::Class, &Make<TChunktRNS>};
const TChunkClass TChunktIME::Class{"TChunktIME", &TChunk::Class, &Make<TChunktIME>};
const TChunkClass TChunktEXt::Class{"TChunktEXt", &TChunk::Class, &Make<TChunktEXt>};
const TChunkClass TChunkzTXt::Class{"TChunkzTXt", &TChunktEXt::Class, &Make<TChunkzTXt>};

namespace {
// TypeName without building a string.
std::string_view ClassTypeName(const TChunkClass& c) {
    const std::string_view name(c.ClassName);
    return name.size() > 6 ? name.substr(6) : std::string_view();
}
} // namespace

std::string TChunkClass::TypeName() const {
    return std::string(ClassTypeName(*this));
}

bool TChunkClass::InheritsFrom(const TChunkClass& other) const {
    for (const TChunkClass* c = this; c; c = c->Parent)
        if (c == &other)
            return true;
    return false;
}

void RegisterChunkClass(const TChunkClass& chunkClass) {
    Registry().push_back(Registered(chunkClass));
}

std::unique_ptr<TChunk> CreateChunkFor(TPNGObject& image, const char typeCode[4]) {
    // The type text holds no zero byte, so its packed word stands for it alone.
    const std::uint32_t word = PackType(TypeTextOf(typeCode));
    std::unique_ptr<TChunk> chunk;
    for (const TRegistered& r : Registry())
        if (r.TypeWord == word && r.Fits) {
            chunk = r.Class->Create(image);
            break;
        }
    if (!chunk)
        chunk = TChunk::Class.Create(image);
    chunk->SetTypeCode(typeCode);
    return chunk;
}

// ---- the generic chunk ----

TChunk::TChunk(TPNGObject& owner) : Owner(&owner) {}

void TChunk::ResizePayload(std::uint32_t size) {
    const std::size_t needed = std::size_t(size) + 1;
    const std::size_t had = std::size_t(PayloadLength) + 1;
    const std::size_t kept = had < needed ? had : needed;
    if (needed <= kInlinePayload) {
        if (HeapPayload) {
            std::memcpy(InlinePayload, HeapPayload.get(), kept);
            HeapPayload.reset();
            HeapCapacity = 0;
        }
    } else if (needed > HeapCapacity) {
        auto grown = std::make_unique_for_overwrite<std::uint8_t[]>(needed);
        std::memcpy(grown.get(), Payload(), kept);
        HeapPayload = std::move(grown);
        HeapCapacity = needed;
    }
    std::uint8_t* data = Payload();
    if (kept < needed)
        std::memset(data + kept, 0, needed - kept);
    data[size] = 0;
    PayloadLength = size;
}

void TChunk::SetTypeCode(const char code[4]) {
    std::memcpy(Code.data(), code, 4);
}

void TChunk::CopyFrom(const TChunk& source) {
    if (&source == this)
        return;
    Code = source.Code;
    ResizePayload(source.PayloadLength);
    std::memcpy(Payload(), source.Payload(), std::size_t(PayloadLength) + 1);
}

bool TChunk::ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) {
    if (length > 0x7FFFFFFFu) { // a short read in the making: no stream holds that much
        ResizePayload(0);
        TPNGObject::RaiseError<EPngInvalidCRC>(messages::EPngInvalidCRCText);
    }
    std::size_t got = 0;
    if (length <= kPayloadBlock) {
        ResizePayload(length);
        got = length ? stream.Read(Payload(), length) : 0;
    } else {
        std::vector<std::vector<std::uint8_t>> blocks;
        std::size_t left = length;
        while (left > 0) {
            std::vector<std::uint8_t> block(left < kPayloadBlock ? left : kPayloadBlock);
            std::size_t n = stream.Read(block.data(), block.size());
            block.resize(n);
            got += n;
            left -= n;
            blocks.push_back(std::move(block));
            if (n < kPayloadBlock && left > 0)
                break;
        }
        ResizePayload(static_cast<std::uint32_t>(got));
        std::size_t at = 0;
        for (const auto& block : blocks) {
            if (!block.empty())
                std::memcpy(Payload() + at, block.data(), block.size());
            at += block.size();
        }
    }
    // The stream ended inside the data: keep what arrived; the CRC cannot match.
    if (got < length)
        ResizePayload(static_cast<std::uint32_t>(got));
    std::uint8_t stored[4];
    bool complete = stream.Read(stored, 4) == 4 && got == length;
    std::uint32_t crc = CrcUpdate(0xFFFFFFFFu, typeCode, 4);
    crc = ~CrcUpdate(crc, Payload(), PayloadLength);
    if (!complete || BigEndian32(stored) != crc)
        TPNGObject::RaiseError<EPngInvalidCRC>(messages::EPngInvalidCRCText);
    return true;
}

// ---- lists ----

void TPNGPointerList::SetCount(std::int32_t count) {
    Items.resize(count > 0 ? static_cast<std::size_t>(count) : 0, nullptr);
    if (count <= 0)
        Items.shrink_to_fit();
}

void* TPNGPointerList::GetItem(std::int32_t index) const {
    return index >= 0 && index < Count() ? Items[static_cast<std::size_t>(index)] : nullptr;
}

void TPNGPointerList::SetItem(std::int32_t index, void* item) {
    if (index >= 0 && index < Count())
        Items[static_cast<std::size_t>(index)] = item;
}

void TPNGPointerList::Add(void* item) {
    if (Items.capacity() == 0)
        Items.reserve(8); // room for the chunks of a typical image at once
    Items.push_back(item);
}

void TPNGPointerList::Insert(void* item, std::int32_t index) {
    if (index >= 0 && index < Count())
        Items.insert(Items.begin() + index, item);
}

void* TPNGPointerList::Remove(void* item) {
    for (std::size_t i = Items.size(); i-- > 0;)
        if (Items[i] == item) {
            Items.erase(Items.begin() + static_cast<std::ptrdiff_t>(i));
            return item;
        }
    return nullptr;
}

TChunk* TPNGList::FindChunk(const TChunkClass& chunkClass) const {
    for (std::int32_t i = 0; i < Count(); ++i) {
        TChunk* chunk = Item(i);
        if (chunk && chunk->ChunkClass().InheritsFrom(chunkClass))
            return chunk;
    }
    return nullptr;
}

// ---- the image ----

TPNGObject::TPNGObject() : GammaCurve(kIdentityCurve), ChunkList(*this) {}

TPNGObject::~TPNGObject() {
    DropAllChunks();
    ReleaseSystemPalette();
}

const tk::TGraphicClass TPNGObject::GraphicClass{
    "TPNGObject", []() -> std::unique_ptr<tk::TGraphic> { return std::make_unique<TPNGObject>(); }};

TChunkIHDR* TPNGObject::FindHeader() const {
    TChunk* first = ChunkList.Item(0);
    if (first && typeid(*first) == typeid(TChunkIHDR)) // the usual case, without a cast search
        return static_cast<TChunkIHDR*>(first);
    return dynamic_cast<TChunkIHDR*>(first);
}

int TPNGObject::Width() const {
    const TChunkIHDR* header = FindHeader();
    return header ? static_cast<int>(header->Width()) : 0;
}

int TPNGObject::Height() const {
    const TChunkIHDR* header = FindHeader();
    return header ? static_cast<int>(header->Height()) : 0;
}

bool TPNGObject::Transparent() const {
    return FindHeader() && TransparencyKind() != tkNone;
}

void TPNGObject::Assign(const tk::TGraphic& source) {
    if (const auto* png = dynamic_cast<const TPNGObject*>(&source)) {
        CopyImage(*png);
        return;
    }
    if (!PngPlatform() || !PngPlatform()->Assign(*this, source))
        TGraphic::Assign(source);
}

void TPNGObject::Draw(tk::TCanvas& canvas, const tk::TRect& rect) {
    const TChunkIHDR* header = FindHeader();
    if (!header)
        return;
    if (!PngPlatform())
        RaiseError<EPngError>("This build cannot draw.");
    if (header->Pixels())
        PngPlatform()->Draw(*this, canvas, rect);
}

tk::TPaletteHandle TPNGObject::Palette() {
    const TChunkIHDR& header = HeaderChunk();
    const bool indexed =
        header.ColorType() == COLOR_GRAYSCALE || header.ColorType() == COLOR_PALETTE;
    if (indexed && !SystemPalette && PngPlatform()) {
        SystemPalette = PngPlatform()->MakePalette(header);
        PaletteMaker = PngPlatform();
    }
    return SystemPalette;
}

void TPNGObject::SetPalette(tk::TPaletteHandle palette) {
    TChunkIHDR* header = FindHeader();
    if (!header || !palette || !PngPlatform() ||
        (header->ColorType() != COLOR_GRAYSCALE && header->ColorType() != COLOR_PALETTE))
        return;
    PngPlatform()->ReadPalette(palette, *header);
    ReleaseSystemPalette();
}

void TPNGObject::ReleaseSystemPalette() {
    if (SystemPalette)
        PaletteMaker->DeletePalette(SystemPalette);
    SystemPalette = nullptr;
    PaletteMaker = nullptr;
}

namespace {
TPngPlatform* InstalledPlatform = nullptr;
}

void SetPngPlatform(TPngPlatform* platform) {
    InstalledPlatform = platform;
}

TPngPlatform* PngPlatform() {
    return InstalledPlatform;
}

void TPNGObject::SetWidth(std::uint32_t) {
    RaiseError<EPngError>(messages::EPNGCannotChangeSizeText);
}

void TPNGObject::SetHeight(std::uint32_t) {
    RaiseError<EPngError>(messages::EPNGCannotChangeSizeText);
}

TChunkIHDR& TPNGObject::HeaderChunk() const {
    TChunkIHDR* header = FindHeader();
    if (!header)
        RaiseError<EPNGHeaderNotPresent>(messages::EPNGHeaderNotPresentText);
    return *header;
}

void TPNGObject::DropAllChunks() {
    GammaCurve = kIdentityCurve;
    for (std::int32_t i = 0; i < ChunkList.Count(); ++i)
        delete ChunkList.Item(i);
    ChunkList.SetCount(0);
}

std::uint8_t* TPNGObject::PixelRow(std::uint32_t y) const {
    TChunkIHDR& header = HeaderChunk();
    if (!header.Pixels() || y >= header.Height())
        return nullptr;
    return header.Pixels() + std::size_t(header.RowStride()) * (header.Height() - 1 - y);
}

std::uint8_t* TPNGObject::AlphaRow(std::uint32_t y) const {
    TChunkIHDR& header = HeaderChunk();
    if (header.ColorType() != COLOR_GRAYSCALEALPHA && header.ColorType() != COLOR_RGBALPHA)
        return nullptr;
    if (!header.AlphaPlane() || y >= header.Height())
        return nullptr;
    return header.AlphaPlane() + std::size_t(y) * header.Width();
}

void TPNGObject::CopyImage(const TPNGObject& source) {
    if (&source == this)
        return;
    ImageInterlace = source.ImageInterlace;
    DropAllChunks();
    for (std::int32_t i = 0; i < source.ChunkList.Count(); ++i) {
        const TChunk* from = source.ChunkList.Item(i);
        if (!from)
            continue;
        TChunk* chunk = from->ChunkClass().Create(*this).release();
        ChunkList.Add(chunk);
        chunk->CopyFrom(*from);
    }
}

void TPNGObject::ReadPng(TPngStream& stream) {
    DropAllChunks();
    std::uint8_t signature[8];
    if (stream.Read(signature, 8) != 8 || std::memcmp(signature, kSignature, 8) != 0)
        RaiseError<EPNGInvalidFileHeader>(messages::EPNGInvalidFileHeaderText);

    bool hasImageData = false;
    for (;;) {
        std::uint8_t lengthBytes[4]{};
        if (stream.Read(lengthBytes, 4) == 0)
            RaiseError<EPngUnexpectedEnd>(messages::EPNGUnexpectedEndText);
        const std::uint32_t length = BigEndian32(lengthBytes);
        char type[4]{};
        stream.Read(type, 4);
        const std::string_view text = TypeTextOf(type);

        if (ChunkList.Count() == 0 && text != "IHDR")
            RaiseError<EPNGIHDRNotFirst>(messages::EPNGIHDRNotFirstText);
        if (text == "cHRM" || (text == "IDAT" && hasImageData)) {
            stream.SeekForward(std::uint64_t(length) + 4);
            continue;
        }
        if (text == "IDAT")
            hasImageData = true;

        TChunk* chunk = CreateChunkFor(*this, type).release();
        ChunkList.Add(chunk);
        const bool critical = (static_cast<std::uint8_t>(type[0]) & 0x20) == 0;
        if (&chunk->ChunkClass() == &TChunk::Class && critical && !text.empty())
            RaiseError<EPNGUnknownCriticalChunk>(messages::EPNGUnknownCriticalChunkText);
        if (!chunk->ReadChunk(stream, type, length))
            break;
        if (text == "IEND")
            break;
    }
    if (!hasImageData)
        RaiseError<EPNGNoImageData>(messages::EPNGNoImageDataText);
}

} // namespace sc::png
