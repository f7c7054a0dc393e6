// PNG images read into a bottom-up device-independent bitmap with a separate alpha plane.
//
// Typical use:
//   sc::png::TPNGObject image;
//   sc::png::TPngMemoryStream stream(data, size);
//   image.ReadPng(stream);                       // raises the codec's exceptions on failure
//   const sc::png::TChunkIHDR& header = image.HeaderChunk();
//   const std::uint8_t* top = image.PixelRow(0); // DIB row of the top image row
#pragma once

#include "graphics/graphic.h"
#include "png/png_errors.h"
#include "png/png_stream.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace sc::png {

// ---- Windows bitmap description, laid out exactly as BITMAPINFOHEADER / RGBQUAD ----

struct TBitmapInfoHeader {
    std::uint32_t biSize;
    std::int32_t biWidth;
    std::int32_t biHeight;
    std::uint16_t biPlanes;
    std::uint16_t biBitCount;
    std::uint32_t biCompression;
    std::uint32_t biSizeImage;
    std::int32_t biXPelsPerMeter;
    std::int32_t biYPelsPerMeter;
    std::uint32_t biClrUsed;
    std::uint32_t biClrImportant;
};

struct TRgbQuad {
    std::uint8_t rgbBlue;
    std::uint8_t rgbGreen;
    std::uint8_t rgbRed;
    std::uint8_t rgbReserved;
};

struct TDibInfo {
    TBitmapInfoHeader bmiHeader;
    TRgbQuad bmiColors[256];
};

// The sizes are the sums of the fields' sizes: without padding, they fix every offset too.
static_assert(sizeof(TBitmapInfoHeader) == 40);
static_assert(sizeof(TRgbQuad) == 4);
static_assert(sizeof(TDibInfo) == 1064);

class TPNGObject;
class TPngPlatform;
class TChunk;

// ---- Chunk classes ----

// Describes a chunk class: its name, its parent class and how to make one.
struct TChunkClass {
    const char* ClassName;     // "TChunkIHDR"
    const TChunkClass* Parent; // nullptr for TChunk
    std::unique_ptr<TChunk> (*Create)(TPNGObject& owner);

    // The class name without its first six characters: "IHDR" for TChunkIHDR, "" for TChunk.
    std::string TypeName() const;
    bool InheritsFrom(const TChunkClass& other) const;
};

class TChunk {
  public:
    static const TChunkClass Class;

    explicit TChunk(TPNGObject& owner);
    virtual ~TChunk() = default;
    TChunk(const TChunk&) = delete;
    TChunk& operator=(const TChunk&) = delete;

    virtual const TChunkClass& ChunkClass() const { return Class; }
    std::string TypeName() const { return ChunkClass().TypeName(); }
    // Copies the type code and the payload.
    virtual void CopyFrom(const TChunk& source);
    // Reads the data and CRC of a chunk whose length and type code were just read.
    virtual bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length);

    const std::uint8_t* Payload() const { return HeapPayload ? HeapPayload.get() : InlinePayload; }
    std::uint8_t* Payload() { return HeapPayload ? HeapPayload.get() : InlinePayload; }
    std::uint32_t PayloadSize() const { return PayloadLength; }
    // Resizes the payload (kept one byte longer than its size, the extra byte zero).
    void ResizePayload(std::uint32_t size);
    TPNGObject& OwnerImage() const { return *Owner; }
    // The four type bytes exactly as they stand in the file.
    const std::array<char, 4>& TypeCode() const { return Code; }
    void SetTypeCode(const char code[4]);

  private:
    // Payloads with their extra byte up to this size (the header's, most ancillary chunks' and
    // the empty ones) live inside the chunk; larger ones on the heap.
    static constexpr std::size_t kInlinePayload = 24;
    std::unique_ptr<std::uint8_t[]> HeapPayload;
    std::size_t HeapCapacity = 0;
    std::uint8_t InlinePayload[kInlinePayload]{};
    std::uint32_t PayloadLength = 0;
    TPNGObject* Owner;
    std::array<char, 4> Code{};
};

class TChunkIEND : public TChunk {
  public:
    static const TChunkClass Class;
    using TChunk::TChunk;
    const TChunkClass& ChunkClass() const override { return Class; }
};

// Colour types of the header.
enum : std::uint8_t {
    COLOR_GRAYSCALE = 0,
    COLOR_RGB = 2,
    COLOR_PALETTE = 3,
    COLOR_GRAYSCALEALPHA = 4,
    COLOR_RGBALPHA = 6
};

class TChunkIHDR : public TChunk {
  public:
    static const TChunkClass Class;
    explicit TChunkIHDR(TPNGObject& owner);
    ~TChunkIHDR() override;
    const TChunkClass& ChunkClass() const override { return Class; }
    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;

    std::uint32_t Width() const { return Fields.Width; }
    std::uint32_t Height() const { return Fields.Height; }
    std::uint8_t BitDepth() const { return Fields.BitDepth; }
    std::uint8_t ColorType() const { return Fields.ColorType; }
    std::uint8_t CompressionMethod() const { return Fields.Compression; }
    std::uint8_t FilterMethod() const { return Fields.Filter; }
    std::uint8_t InterlaceMethod() const { return Fields.InterlaceMethod; }
    void SetColorType(std::uint8_t value) { Fields.ColorType = value; }

    bool IsPaletted() const { return Paletted; }
    TDibInfo& DibInfo() { return Info; }
    const TDibInfo& DibInfo() const { return Info; }
    // Bytes per DIB row: ((bits per pixel x width + 31) div 32) x 4.
    std::int32_t RowStride() const { return Stride; }
    // The pixel memory, RowStride x height bytes, rows bottom-up.
    std::uint8_t* Pixels() const {
        Settle();
        return PixelMemory;
    }
    // Width x height alpha bytes, rows top-down; nullptr unless the image has an alpha plane.
    std::uint8_t* AlphaPlane() const {
        Settle();
        return AlphaMemory;
    }
    // A header read from a stream leaves its planes unwritten (not yet zeroed), so that the
    // image data can be written into them once instead of twice. Everything above zeroes them
    // first; the decoder alone takes them as they are, writes image rows 0, 1, ... whole
    // (padding included) and then calls Settle with the number of rows it wrote.
    bool Unwritten() const { return PlanesUnwritten; }
    // The planes as they are, unwritten or not.
    std::uint8_t* RawPixels() { return PixelMemory; }
    std::uint8_t* RawAlphaPlane() { return AlphaMemory; }
    // Zeroes the rows of unwritten planes from image row writtenRows on, bitmap and alpha plane;
    // from then on they are ordinary memory. Nothing when the planes are not unwritten.
    void Settle(std::uint32_t writtenRows = 0) const {
        if (PlanesUnwritten)
            ZeroRowsFrom(writtenRows);
    }
    // Gives the image an alpha plane of width x height bytes, all zero.
    void AllocateAlphaPlane();
    // Turns a 1-, 2- or 4-bit greyscale image into an 8-bit one that shows the same greys: each
    // pixel becomes the level its colour table entry shows, over an identity grey ramp. Other
    // images are left alone.
    void WidenGreyToEightBits();

    // Makes this a fresh header of the given fields (payload included) with a zeroed bitmap;
    // raises EPngInvalidIHDR or EPNGSizeExceeds for fields the codec does not read.
    void Define(std::uint32_t width, std::uint32_t height, std::uint8_t bitDepth,
                std::uint8_t colorType);

    // Creates the bitmap (and the alpha plane for colour types 4 and 6) for the header fields,
    // zeroed or, with unwritten set and where the run-time's allocator serves, unwritten.
    void PrepareBitmap(bool unwritten = false);
    void ReleaseBitmap();

  private:
    void ZeroRowsFrom(std::uint32_t row) const;

    mutable bool PlanesUnwritten = false;
    bool Paletted = false;
    TDibInfo Info{};
    std::int32_t Stride = 0;
    std::uint8_t* PixelMemory = nullptr;
    std::size_t PixelBytes = 0;
    std::uint8_t* AlphaMemory = nullptr;
    std::size_t AlphaBytes = 0;
    struct {
        std::uint32_t Width = 0;
        std::uint32_t Height = 0;
        std::uint8_t BitDepth = 0;
        std::uint8_t ColorType = 0;
        std::uint8_t Compression = 0;
        std::uint8_t Filter = 0;
        std::uint8_t InterlaceMethod = 0;
    } Fields; // as the payload gives them
};

// Decodes the image data of this chunk and of every IDAT chunk directly behind it.
class TChunkIDAT : public TChunk {
  public:
    static const TChunkClass Class;
    using TChunk::TChunk;
    const TChunkClass& ChunkClass() const override { return Class; }
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;
};

class TChunkPLTE : public TChunk {
  public:
    static const TChunkClass Class;
    using TChunk::TChunk;
    const TChunkClass& ChunkClass() const override { return Class; }
    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;

    std::int32_t EntryCount() const { return Entries; }
    // Colour table entry index as 0x00RRGGBB; EPngError beyond the entries.
    std::uint32_t PaletteEntry(std::int32_t index) const;

  private:
    std::int32_t Entries = 0;
};

class TChunkgAMA : public TChunk {
  public:
    static const TChunkClass Class;
    explicit TChunkgAMA(TPNGObject& owner);
    const TChunkClass& ChunkClass() const override { return Class; }
    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;

    // The image gamma times 100000, big-endian in the payload.
    std::uint32_t GammaValue();
    void SetGammaValue(std::uint32_t value);
};

class TChunktRNS : public TChunk {
  public:
    static const TChunkClass Class;
    using TChunk::TChunk;
    const TChunkClass& ChunkClass() const override { return Class; }
    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;

    bool SingleKey = false;
    // The tRNS data, 255 in every byte beyond it.
    std::array<std::uint8_t, 256> AlphaValues{};

    // The transparent colour as 0x00BBGGRR, by the header's colour type.
    std::uint32_t KeyColor() const;
};

class TChunktIME : public TChunk {
  public:
    static const TChunkClass Class;
    using TChunk::TChunk;
    const TChunkClass& ChunkClass() const override { return Class; }
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;

    std::uint16_t Year = 0;
    std::uint8_t Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

class TChunktEXt : public TChunk {
  public:
    static const TChunkClass Class;
    using TChunk::TChunk;
    const TChunkClass& ChunkClass() const override { return Class; }
    void CopyFrom(const TChunk& source) override;
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;

    std::string Keyword;
    std::string Text;
};

class TChunkzTXt : public TChunktEXt {
  public:
    static const TChunkClass Class;
    using TChunktEXt::TChunktEXt;
    const TChunkClass& ChunkClass() const override { return Class; }
    bool ReadChunk(TPngStream& stream, const char typeCode[4], std::uint32_t length) override;
};

// ---- Chunk class registry ----

void RegisterChunkClass(const TChunkClass& chunkClass);
// A chunk of the first registered class whose TypeName equals the type text, else a plain
// TChunk; its TypeCode is set to the four bytes given.
std::unique_ptr<TChunk> CreateChunkFor(TPNGObject& image, const char typeCode[4]);

// ---- Lists ----

// A growable array of untyped pointers with an owner image.
class TPNGPointerList {
  public:
    explicit TPNGPointerList(TPNGObject& owner) : Owner(&owner) {}
    TPNGObject& OwnerImage() const { return *Owner; }
    std::int32_t Count() const { return static_cast<std::int32_t>(Items.size()); }
    // New slots hold nullptr.
    void SetCount(std::int32_t count);
    // nullptr outside 0..Count-1.
    void* GetItem(std::int32_t index) const;
    // Ignored outside 0..Count-1.
    void SetItem(std::int32_t index, void* item);
    void Add(void* item);
    // Ignored at or beyond Count.
    void Insert(void* item, std::int32_t index);
    // Takes out the last matching slot and returns the pointer; nullptr when not found.
    void* Remove(void* item);

  private:
    TPNGObject* Owner;
    std::vector<void*> Items;
};

// The image's chunks in file order. The owner image owns the chunks.
class TPNGList : public TPNGPointerList {
  public:
    using TPNGPointerList::TPNGPointerList;
    TChunk* Item(std::int32_t index) const { return static_cast<TChunk*>(GetItem(index)); }
    // The first chunk of that class or of a class derived from it.
    TChunk* FindChunk(const TChunkClass& chunkClass) const;
    template <class T> T* FindChunk() const { return static_cast<T*>(FindChunk(T::Class)); }
    // Creates a chunk of that class for the owner and inserts it at its place.
    TChunk* AddChunk(const TChunkClass& chunkClass);
    template <class T> T* AddChunk() { return static_cast<T*>(AddChunk(T::Class)); }
};

// ---- The image ----

enum TTransparencyKind { tkNone, tkKeyColor, tkPerPixel };

class TPNGObject : public tk::TGraphic {
  public:
    TPNGObject();
    ~TPNGObject() override;

    // The graphic class that the picture registry creates for ".png" files.
    static const tk::TGraphicClass GraphicClass;

    // Reads one PNG image; raises the codec's exceptions. After a failure the image holds the
    // chunks read up to and including the failing one.
    void ReadPng(TPngStream& stream);

    // ---- the graphic ----
    const char* ClassName() const override { return "TPNGObject"; }
    // Opaque and key-colour images are stretched to the rectangle; per-pixel alpha images are
    // blended at their own size at its top-left corner. An image without a header draws nothing.
    // Only a platform can draw (png_platform.h); without one this raises EPngError.
    void Draw(tk::TCanvas& canvas, const tk::TRect& rect) override;
    // The header's size; 0 without a header.
    int Width() const override;
    int Height() const override;
    bool Empty() const override { return ChunkList.Count() == 0; }
    // True when the transparency kind is not tkNone (false without a header).
    bool Transparent() const override;
    // For colour types 0 and 3 the system palette of the colour table, built on first request;
    // none for the others. EPNGHeaderNotPresent without a header. Only with a platform.
    tk::TPaletteHandle Palette() override;
    // For colour types 0 and 3 takes up to 256 entries of the palette into the colour table.
    void SetPalette(tk::TPaletteHandle palette) override;
    // From a TPNGObject: CopyImage. From a bitmap of the platform: an image of its pixels.
    // Anything else: the base class's EConvertError.
    void Assign(const tk::TGraphic& source) override;
    void LoadFromStream(tk::TStream& stream) override { ReadPng(stream); }

    // Resizing is not supported: both raise EPngError.
    void SetWidth(std::uint32_t value);
    void SetHeight(std::uint32_t value);

    // The first chunk when it is an IHDR chunk, else EPNGHeaderNotPresent.
    TChunkIHDR& HeaderChunk() const;
    // The first chunk when it is an IHDR chunk, else nullptr.
    TChunkIHDR* FindHeader() const;
    void DropAllChunks();
    // DIB row holding image row y (0 = top).
    std::uint8_t* PixelRow(std::uint32_t y) const;
    // Alpha bytes of image row y; nullptr without an alpha plane.
    std::uint8_t* AlphaRow(std::uint32_t y) const;
    void CopyImage(const TPNGObject& source);

    TTransparencyKind TransparencyKind() const;
    // The tRNS key colour as 0x00BBGGRR, 0 without tRNS.
    std::uint32_t KeyColor() const;
    void AddAlphaPlane();

    // Forgets the cached system palette, deleting it.
    void ReleaseSystemPalette();
    tk::TPaletteHandle CachedSystemPalette() const { return SystemPalette; }

    std::array<std::uint8_t, 256> GammaCurve{};
    std::uint8_t ImageInterlace = 0;
    TPNGList ChunkList;

    // Raises the exception class E with the message.
    template <class E> [[noreturn]] static void RaiseError(const char* message) {
        throw E(message);
    }

  private:
    tk::TPaletteHandle SystemPalette = nullptr;
    TPngPlatform* PaletteMaker = nullptr; // the platform that made SystemPalette
};

} // namespace sc::png
