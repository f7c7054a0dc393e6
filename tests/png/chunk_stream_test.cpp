// Walking the chunk sequence: signature, chunk order, CRCs, header checks and what the image
// holds after each kind of failure.
#include "png/png_crc.h"
#include "png/png_image.h"
#include "png/png_messages.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

#ifdef _WIN32
#include <windows.h>

#include <psapi.h>
#else
#include <unistd.h>
#endif

using namespace sc::png;
using namespace pngtest;

namespace {

Bytes Grey8(std::uint32_t w = 3, std::uint32_t h = 2) {
    return BuildPng(Pattern(w, h, 8, 0), false);
}

// Reads png, expects exception E, returns the chunk list afterwards.
template <class E> std::string FailingRead(const Bytes& png, std::string* message = nullptr) {
    TPNGObject image;
    try {
        Read(image, png);
    } catch (const E& e) {
        if (message)
            *message = e.what();
        return ChunkTypes(image);
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected " << PngExceptionClassName(e) << ": " << e.what();
        return "?";
    }
    ADD_FAILURE() << "no exception";
    return "?";
}

// The process's resident memory (the working set on Windows).
std::int64_t ResidentBytes() {
#ifdef _WIN32
    PROCESS_MEMORY_COUNTERS counters{};
    if (!K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters))
        return -1;
    return static_cast<std::int64_t>(counters.WorkingSetSize);
#else
    std::ifstream statm("/proc/self/statm");
    std::int64_t size = 0, resident = -1;
    statm >> size >> resident;
    return resident < 0 ? -1 : resident * sysconf(_SC_PAGESIZE);
#endif
}

// A memory stream that counts the reads made from it.
struct TCountingStream final : TPngStream {
    explicit TCountingStream(const Bytes& data) : Inner(data.data(), data.size()) {}
    std::size_t Read(void* buffer, std::size_t count) override {
        ++Reads;
        return Inner.Read(buffer, count);
    }
    void SeekForward(std::uint64_t count) override { Inner.SeekForward(count); }
    std::uint64_t Position() const override { return Inner.Position(); }
    TPngMemoryStream Inner;
    int Reads = 0;
};

// A valid image with chunk `extra` placed right behind IHDR.
Bytes WithChunk(const Bytes& extra, const Image& img = Pattern(3, 2, 8, 0)) {
    return BuildPng(img, false, extra);
}

} // namespace

TEST(PngCrc, MatchesZlibOnAllLengthsAndAlignments) {
    Bytes data(300);
    for (std::size_t i = 0; i < data.size(); ++i)
        data[i] = std::uint8_t(i * 7 + 3);
    for (std::size_t start = 0; start < 9; ++start)
        for (std::size_t n = 0; n + start <= data.size(); n += 13) {
            uLong expected = crc32(0, data.data() + start, static_cast<uInt>(n));
            EXPECT_EQ(~CrcUpdate(0xFFFFFFFFu, data.data() + start, n), expected)
                << start << " " << n;
        }
}

TEST(PngSignature, ShortOrWrongSignatureLeavesImageEmpty) {
    Bytes good = Grey8();
    for (std::size_t n = 0; n < 8; ++n) {
        std::string msg;
        EXPECT_EQ(FailingRead<EPNGInvalidFileHeader>(Bytes(good.begin(), good.begin() + n), &msg),
                  "");
        EXPECT_EQ(msg, messages::EPNGInvalidFileHeaderText);
    }
    for (std::size_t i = 0; i < 8; ++i) {
        Bytes bad = good;
        bad[i] ^= 0x01;
        EXPECT_EQ(FailingRead<EPNGInvalidFileHeader>(bad), "") << i;
    }
}

TEST(PngChunkOrder, FirstChunkMustBeHeader) {
    Bytes png = Signature();
    Append(png, Chunk("gAMA", {0, 0, 0xB1, 0x8F}));
    const Bytes rest = Grey8();
    Append(png, Bytes(rest.begin() + 8, rest.end()));
    std::string msg;
    EXPECT_EQ(FailingRead<EPNGIHDRNotFirst>(png, &msg), "");
    EXPECT_EQ(msg, "This \"Portable Network Graphics\" image is not supported or it might be "
                   "invalid.\r\n(IHDR chunk is not the first)");
    // A skipped cHRM chunk in first place does not count as a header either.
    Bytes chrm = Signature();
    Append(chrm, Chunk("cHRM", Bytes(32, 1)));
    Append(chrm, Bytes(rest.begin() + 8, rest.end()));
    EXPECT_EQ(FailingRead<EPNGIHDRNotFirst>(chrm), "");
}

TEST(PngChunkOrder, UnknownChunksAncillaryKeptCriticalRejected) {
    TPNGObject image;
    Read(image, WithChunk(Chunk("prIv", {1, 2, 3})));
    EXPECT_EQ(ChunkTypes(image), "IHDR prIv IDAT IEND");
    TChunk* plain = image.ChunkList.Item(1);
    EXPECT_EQ(&plain->ChunkClass(), &TChunk::Class);
    ASSERT_EQ(plain->PayloadSize(), 3u);
    EXPECT_EQ(plain->Payload()[2], 3);
    EXPECT_EQ(plain->Payload()[3], 0); // one byte longer than its size

    std::string msg;
    EXPECT_EQ(FailingRead<EPNGUnknownCriticalChunk>(WithChunk(Chunk("PRIV", {1})), &msg),
              "IHDR PRIV");
    EXPECT_EQ(msg, messages::EPNGUnknownCriticalChunkText);
    // A type whose first byte is zero has an empty text: kept, though its case bit is clear.
    Read(image, WithChunk(Chunk(std::string("\0abc", 4), {9})));
    ASSERT_EQ(image.ChunkList.Count(), 4);
    EXPECT_EQ(&image.ChunkList.Item(1)->ChunkClass(), &TChunk::Class);
    EXPECT_EQ(std::string(image.ChunkList.Item(1)->TypeCode().data(), 4), std::string("\0abc", 4));
    EXPECT_EQ(image.ChunkList.Item(1)->Payload()[0], 9);
}

TEST(PngChunkOrder, ASecondHeaderIsKeptAndSetsOnlyTheRowOrder) {
    // The pixels go into the first header's bitmap, in the row order the last header names.
    Image img = Pattern(5, 4, 8, 0);
    Bytes body = Chunk("IHDR", IhdrData(2, 1, 8, 2, 1));
    Append(body, IdatChunks(Compress(RawData(img, true))));
    TPNGObject image;
    Read(image, Png(IhdrData(5, 4, 8, 0), body));
    EXPECT_EQ(ChunkTypes(image), "IHDR IHDR IDAT IEND");
    EXPECT_EQ(image.Width(), 5);
    EXPECT_EQ(image.ImageInterlace, 1);
    for (std::uint32_t i = 0; i < 20; ++i)
        EXPECT_EQ(image.PixelRow(i / 5)[i % 5], img.At(i % 5, i / 5)) << i;
}

TEST(PngChunkOrder, SkippedChunksAreNotCheckedOrKept) {
    Bytes chrm = Chunk("cHRM", Bytes(32, 7));
    chrm[10] ^= 0xFF; // broken data and CRC go unnoticed
    chrm.back() ^= 0xFF;
    TPNGObject image;
    Read(image, WithChunk(chrm));
    EXPECT_EQ(ChunkTypes(image), "IHDR IDAT IEND");

    // A second IDAT run behind another chunk is skipped, even when broken.
    Image img = Pattern(4, 4, 8, 0);
    Bytes png = BuildPng(img, false);
    Bytes tail(png.end() - 12, png.end()); // IEND
    png.resize(png.size() - 12);
    Append(png, Chunk("tEXt", {'a', 0, 'b'}));
    Bytes late = Chunk("IDAT", {1, 2, 3});
    late[9] ^= 0x55;
    Append(png, late);
    Append(png, tail);
    TPNGObject second;
    Read(second, png);
    EXPECT_EQ(ChunkTypes(second), "IHDR IDAT tEXt IEND");
}

TEST(PngChunkOrder, MissingIendKeepsChunksAndPixels) {
    Image img = Pattern(3, 2, 8, 0);
    Bytes png = BuildPng(img, false);
    png.resize(png.size() - 12);
    TPNGObject image;
    EXPECT_THROW(Read(image, png), EPngUnexpectedEnd);
    EXPECT_EQ(ChunkTypes(image), "IHDR IDAT");
    EXPECT_EQ(image.PixelRow(1)[2], img.At(2, 1));
}

TEST(PngChunkOrder, NoImageData) {
    std::string msg;
    EXPECT_EQ(FailingRead<EPNGNoImageData>(Png(IhdrData(1, 1, 8, 0)), &msg), "IHDR IEND");
    EXPECT_EQ(msg, messages::EPNGNoImageDataText);
}

TEST(PngChunkOrder, NothingBehindIendIsRead) {
    Bytes png = Grey8();
    Append(png, Bytes{1, 2, 3, 4, 5});
    TPNGObject image;
    TPngMemoryStream stream(png.data(), png.size());
    image.ReadPng(stream);
    EXPECT_EQ(stream.Position(), png.size() - 5);
}

TEST(PngHeader, SizeAndMethodChecks) {
    std::string msg;
    EXPECT_EQ(FailingRead<EPNGSizeExceeds>(Png(IhdrData(65536, 1, 8, 0)), &msg), "IHDR");
    EXPECT_EQ(msg, messages::EPNGSizeExceedsText);
    EXPECT_EQ(FailingRead<EPNGSizeExceeds>(Png(IhdrData(1, 65536, 8, 0))), "IHDR");
    EXPECT_EQ(FailingRead<EPNGUnknownCompression>(Png(IhdrData(1, 1, 8, 0, 0, 1))), "IHDR");
    EXPECT_EQ(FailingRead<EPNGUnknownInterlace>(Png(IhdrData(1, 1, 8, 0, 2))), "IHDR");
    Bytes twelve = IhdrData(1, 1, 8, 0);
    twelve.pop_back();
    EXPECT_EQ(FailingRead<EPngInvalidIHDR>(Png(twelve), &msg), "IHDR");
    EXPECT_EQ(msg, messages::EPNGInvalidIHDRText);

    // 14 bytes: the first 13 count; filter method 1 is accepted.
    Bytes fourteen = IhdrData(2, 2, 8, 0, 0, 0, 1);
    fourteen.push_back(0xEE);
    TPNGObject image;
    Read(image, Png(fourteen, IdatChunks(Compress(RawData(Pattern(2, 2, 8, 0), false)))));
    EXPECT_EQ(image.HeaderChunk().FilterMethod(), 1);
    EXPECT_EQ(image.Width(), 2);
}

TEST(PngHeader, EmptySizesAndUnconvertibleFormatsAreRejected) {
    EXPECT_EQ(FailingRead<EPngInvalidIHDR>(Png(IhdrData(0, 5, 8, 0))), "IHDR");
    EXPECT_EQ(FailingRead<EPngInvalidIHDR>(Png(IhdrData(5, 0, 8, 0))), "IHDR");
    const struct {
        std::uint8_t type, depth;
        bool ok;
    } pairs[] = {{0, 1, true},  {0, 2, true},  {0, 4, true},  {0, 8, true},  {0, 16, true},
                 {0, 3, false}, {0, 0, false}, {2, 8, true},  {2, 16, true}, {2, 4, false},
                 {3, 1, true},  {3, 2, true},  {3, 4, true},  {3, 8, true},  {3, 16, true},
                 {3, 5, false}, {4, 8, true},  {4, 16, true}, {4, 1, false}, {4, 4, false},
                 {6, 8, true},  {6, 16, true}, {6, 2, false}, {1, 8, false}, {5, 8, false},
                 {7, 8, false}, {9, 8, false}};
    for (const auto& p : pairs) {
        TPNGObject image;
        if (p.ok) {
            Read(image, BuildPng(Pattern(3, 3, p.depth, p.type), false));
            EXPECT_EQ(image.HeaderChunk().ColorType(), p.type);
        } else {
            EXPECT_THROW(Read(image, Png(IhdrData(3, 3, p.depth, p.type))), EPngInvalidIHDR)
                << int(p.type) << "/" << int(p.depth);
            EXPECT_EQ(ChunkTypes(image), "IHDR");
        }
    }
}

TEST(PngHeader, BitmapDescription) {
    const struct {
        std::uint8_t type, depth;
        std::uint32_t w;
        std::uint16_t bits;
        std::int32_t stride;
        bool paletted, alpha;
    } cases[] = {{0, 1, 33, 1, 8, true, false},   {0, 2, 9, 4, 8, true, false},
                 {3, 4, 8, 4, 4, true, false},    {0, 8, 5, 8, 8, true, false},
                 {0, 16, 4, 8, 4, true, false},   {4, 8, 3, 8, 4, true, true},
                 {2, 8, 5, 24, 16, false, false}, {6, 16, 1, 24, 4, false, true}};
    for (const auto& c : cases) {
        TPNGObject image;
        Read(image, BuildPng(Pattern(c.w, 3, c.depth, c.type), false));
        const TChunkIHDR& h = image.HeaderChunk();
        const TBitmapInfoHeader& bi = h.DibInfo().bmiHeader;
        EXPECT_EQ(bi.biSize, 40u);
        EXPECT_EQ(bi.biWidth, std::int32_t(c.w));
        EXPECT_EQ(bi.biHeight, 3);
        EXPECT_EQ(bi.biPlanes, 1);
        EXPECT_EQ(bi.biBitCount, c.bits);
        EXPECT_EQ(bi.biCompression, 0u);
        EXPECT_EQ(h.RowStride(), c.stride);
        EXPECT_EQ(h.IsPaletted(), c.paletted);
        EXPECT_EQ(h.AlphaPlane() != nullptr, c.alpha);
        EXPECT_EQ(image.AlphaRow(0) != nullptr, c.alpha);
        EXPECT_EQ(image.PixelRow(0), h.Pixels() + 2 * c.stride); // rows bottom-up
    }
}

TEST(PngCrcCheck, AnyChangedByteInAKeptChunkIsNoticed) {
    Bytes png = WithChunk(Chunk("gAMA", {0, 0, 0xB1, 0x8F}));
    // Offsets: IHDR data 16..28, gAMA data 41..44.
    for (std::size_t at : {16u, 28u, 41u, 44u}) {
        Bytes bad = png;
        bad[at] ^= 0x10;
        TPNGObject image;
        EXPECT_THROW(Read(image, bad), EPngInvalidCRC) << at;
    }
    std::string msg;
    Bytes bad = png;
    bad[44] ^= 1;
    EXPECT_EQ(FailingRead<EPngInvalidCRC>(bad, &msg), "IHDR gAMA");
    EXPECT_EQ(msg, messages::EPngInvalidCRCText);
}

TEST(PngLengths, FalseLengthsEndInShortReadErrorsWithoutHugeAllocations) {
    Bytes base = Signature();
    Append(base, Chunk("IHDR", IhdrData(1, 1, 8, 0)));
    for (std::uint32_t length : {0x7FFFFFFFu, 0x80000000u, 0xFFFFFFFFu, 5000000u}) {
        Bytes png = base;
        Put32(png, length);
        Append(png, Bytes{'t', 'E', 'X', 't', 'a', 0, 'b'});
        std::string msg;
        EXPECT_EQ(FailingRead<EPngInvalidCRC>(png, &msg), "IHDR tEXt") << length;
        TPNGObject image;
        EXPECT_THROW(Read(image, png), EPngInvalidCRC);
        EXPECT_LE(image.ChunkList.Item(1)->PayloadSize(), 3u);
    }
    // A huge skipped chunk runs into the end of the stream.
    Bytes png = base;
    Put32(png, 0xFFFFFFF0u);
    Append(png, Bytes{'c', 'H', 'R', 'M', 1, 2});
    EXPECT_EQ(FailingRead<EPngUnexpectedEnd>(png), "IHDR");
    // A huge first IDAT chunk: a short read, ending in the CRC error.
    png = base;
    Put32(png, 0xFFFFFFF0u);
    Append(png, Bytes{'I', 'D', 'A', 'T', 1, 2});
    EXPECT_EQ(FailingRead<EPngInvalidCRC>(png), "IHDR IDAT");
}

// The bitmaps of these headers are never written: they cost no resident memory, and the reader
// stops after a handful of reads.
TEST(PngLengths, HugeHeaderWithLittleDataIsCheap) {
    const std::int64_t before = ResidentBytes();
    ASSERT_GT(before, 0) << "no measure of resident memory";
    for (std::uint8_t type : {2, 6, 0}) {
        const Bytes png = Png(IhdrData(65535, 65535, type == 0 ? 16 : 8, type),
                              Chunk("IDAT", Compress(Bytes(1000, 0))));
        TPNGObject image;
        TCountingStream stream(png);
        try {
            image.ReadPng(stream);
            ADD_FAILURE() << "rows are missing";
        } catch (const EPNGMissingMultipleIDAT&) {
            EXPECT_EQ(ChunkTypes(image), "IHDR IDAT");
            EXPECT_EQ(image.HeaderChunk().RowStride(), type == 0 ? 65536 : 196608);
        } catch (const EPNGOutMemory& e) {
            EXPECT_STREQ(e.what(), messages::EPNGOutMemoryText); // a system without overcommit
        }
        EXPECT_LE(stream.Reads, 16) << int(type);
        EXPECT_LT(ResidentBytes() - before, std::int64_t{64} << 20) << int(type);
    }
}

// A fuzzer's finding, kept in its corpus: a header of 36640 x 65291 grey with alpha (two planes
// of 2.4 GB each), then a chunk of an unknown critical type. The read stops there; the planes
// were never written and cost no resident memory.
TEST(PngLengths, HugeHeaderBeforeAnUnknownCriticalChunkCostsNoMemory) {
    const Bytes png =
        ReadFile(std::string(PNG_FUZZ_CORPUS_DIR) + "/grey-alpha-36640x65291-unknown-critical.png");
    ASSERT_EQ(png.size(), 143u);
    const std::int64_t before = ResidentBytes();
    ASSERT_GT(before, 0) << "no measure of resident memory";
    TPNGObject image;
    std::string msg;
    try {
        Read(image, png);
        ADD_FAILURE() << "the read succeeded";
    } catch (const EPNGUnknownCriticalChunk& e) {
        msg = e.what();
    }
    EXPECT_EQ(msg, messages::EPNGUnknownCriticalChunkText);
    EXPECT_EQ(image.ChunkList.Count(), 4);
    const TChunkIHDR& header = image.HeaderChunk();
    EXPECT_EQ(header.Width(), 36640u);
    EXPECT_EQ(header.Height(), 65291u);
    EXPECT_NE(header.Pixels(), nullptr);
    EXPECT_NE(header.AlphaPlane(), nullptr);
    EXPECT_LT(ResidentBytes() - before, std::int64_t{64} << 20);
}

TEST(PngImageObject, HeaderQueriesAndResizing) {
    TPNGObject image;
    EXPECT_TRUE(image.Empty());
    EXPECT_EQ(image.Width(), 0);
    EXPECT_EQ(image.Height(), 0);
    EXPECT_THROW(image.HeaderChunk(), EPNGHeaderNotPresent);
    EXPECT_THROW(image.TransparencyKind(), EPNGHeaderNotPresent);
    EXPECT_THROW(image.AddAlphaPlane(), EPNGHeaderNotPresent);
    try {
        image.SetWidth(5);
        ADD_FAILURE();
    } catch (const EPngError& e) {
        EXPECT_STREQ(e.what(), messages::EPNGCannotChangeSizeText);
    }
    EXPECT_THROW(image.SetHeight(5), EPngError);
    Read(image, Grey8(7, 5));
    EXPECT_FALSE(image.Empty());
    EXPECT_EQ(image.Width(), 7);
    EXPECT_EQ(image.Height(), 5);
    image.DropAllChunks();
    EXPECT_TRUE(image.Empty());
}

TEST(PngImageObject, CopyImageDuplicatesChunksAndPixels) {
    Image img = Pattern(5, 4, 8, 6);
    Bytes png = BuildPng(img, true, Chunk("tEXt", {'k', 0, 'v', 'w'}));
    TPNGObject source, copy;
    Read(source, png);
    Read(copy, Grey8()); // something to replace
    copy.CopyImage(source);
    EXPECT_EQ(ChunkTypes(copy), ChunkTypes(source));
    EXPECT_EQ(copy.ImageInterlace, 1);
    for (std::int32_t i = 0; i < source.ChunkList.Count(); ++i)
        EXPECT_EQ(&copy.ChunkList.Item(i)->ChunkClass(), &source.ChunkList.Item(i)->ChunkClass());
    const TChunkIHDR& a = source.HeaderChunk();
    const TChunkIHDR& b = copy.HeaderChunk();
    EXPECT_NE(a.Pixels(), b.Pixels());
    EXPECT_EQ(0, std::memcmp(a.Pixels(), b.Pixels(), std::size_t(a.RowStride()) * 4));
    EXPECT_EQ(0, std::memcmp(a.AlphaPlane(), b.AlphaPlane(), 20));
    EXPECT_EQ(copy.ChunkList.FindChunk<TChunktEXt>()->Text, "vw");
    TChunkIEND end(copy);
    EXPECT_THROW(copy.HeaderChunk().CopyFrom(end), EPngError);
}

TEST(PngImageObject, CopyOfAHeaderThatFailedItsChecksHoldsNoBitmap) {
    // After a failed read the image keeps its header chunk with the rejected size; copying it
    // must not build a bitmap of that size.
    Bytes png = Signature();
    Append(png, Chunk("IHDR", IhdrData(0xFFFFu, 0xFFFF0420u, 8, 6)));
    TPNGObject source, copy;
    EXPECT_THROW(Read(source, png), EPNGSizeExceeds);
    ASSERT_EQ(ChunkTypes(source), "IHDR");
    copy.CopyImage(source);
    ASSERT_EQ(ChunkTypes(copy), "IHDR");
    EXPECT_EQ(copy.HeaderChunk().Pixels(), nullptr);
    EXPECT_EQ(copy.HeaderChunk().AlphaPlane(), nullptr);
    EXPECT_EQ(copy.HeaderChunk().RowStride(), 0);
}

TEST(PngRegistry, CreateChunkForAndFindChunk) {
    TPNGObject image;
    const char* types[] = {"IEND", "IHDR", "IDAT", "PLTE", "gAMA",
                           "tRNS", "tIME", "tEXt", "zTXt", "abcd"};
    const TChunkClass* classes[] = {&TChunkIEND::Class, &TChunkIHDR::Class, &TChunkIDAT::Class,
                                    &TChunkPLTE::Class, &TChunkgAMA::Class, &TChunktRNS::Class,
                                    &TChunktIME::Class, &TChunktEXt::Class, &TChunkzTXt::Class,
                                    &TChunk::Class};
    for (int i = 0; i < 10; ++i) {
        auto chunk = CreateChunkFor(image, types[i]);
        EXPECT_EQ(&chunk->ChunkClass(), classes[i]) << types[i];
        EXPECT_EQ(std::string(chunk->TypeCode().data(), 4), types[i]);
    }
    EXPECT_EQ(TChunkIHDR::Class.TypeName(), "IHDR");
    EXPECT_EQ(TChunk::Class.TypeName(), "");
    // Type text stops at the first zero byte: "IE\0D" is not "IEND".
    const char odd[4] = {'I', 'E', 0, 'D'};
    EXPECT_EQ(&CreateChunkFor(image, odd)->ChunkClass(), &TChunk::Class);
    const char prefix[4] = {'I', 'H', 'D', 0};
    EXPECT_EQ(&CreateChunkFor(image, prefix)->ChunkClass(), &TChunk::Class);

    // A search for tEXt also finds zTXt, not the other way round.
    TPNGList& list = image.ChunkList;
    auto z = CreateChunkFor(image, "zTXt");
    list.Add(z.get());
    EXPECT_EQ(list.FindChunk<TChunktEXt>(), z.get());
    EXPECT_EQ(list.FindChunk<TChunkIEND>(), nullptr);
    list.SetCount(0);

    static const TChunkClass custom{"TChunkfoOo", &TChunk::Class, TChunktEXt::Class.Create};
    RegisterChunkClass(custom);
    EXPECT_EQ(&CreateChunkFor(image, "foOo")->ChunkClass(), &TChunktEXt::Class);
}

// Growing and shrinking across the size kept inside the chunk keeps the bytes that stay, zeroes
// the new ones and always holds a zero behind the payload.
TEST(PngChunkPayload, ResizeKeepsBytesAndTheZeroBehind) {
    TPNGObject image;
    TChunk chunk(image);
    EXPECT_EQ(chunk.PayloadSize(), 0u);
    EXPECT_EQ(chunk.Payload()[0], 0);
    for (std::uint32_t size : {5u, 23u, 24u, 300u, 40u, 7u, 1000u, 3u}) {
        const std::uint32_t had = chunk.PayloadSize();
        chunk.ResizePayload(size);
        ASSERT_EQ(chunk.PayloadSize(), size);
        for (std::uint32_t i = 0; i < size; ++i)
            ASSERT_EQ(chunk.Payload()[i], i < had ? std::uint8_t(i * 7 + 1) : 0)
                << size << " " << i;
        EXPECT_EQ(chunk.Payload()[size], 0);
        for (std::uint32_t i = 0; i < size; ++i)
            chunk.Payload()[i] = std::uint8_t(i * 7 + 1);
    }
    TChunk copy(image);
    copy.CopyFrom(chunk);
    ASSERT_EQ(copy.PayloadSize(), 3u);
    EXPECT_EQ(copy.Payload()[2], 15);
    EXPECT_EQ(copy.Payload()[3], 0);
}

TEST(PngPointerList, IndexingInsertAndRemove) {
    TPNGObject owner;
    TPNGPointerList list(owner);
    int a, b, c;
    list.Add(&a);
    list.Add(&b);
    EXPECT_EQ(list.GetItem(-1), nullptr);
    EXPECT_EQ(list.GetItem(2), nullptr);
    list.SetItem(5, &c); // ignored
    EXPECT_EQ(list.Count(), 2);
    list.Insert(&c, 2); // at the count: ignored
    EXPECT_EQ(list.Count(), 2);
    list.Insert(&c, 0);
    EXPECT_EQ(list.GetItem(0), &c);
    EXPECT_EQ(list.GetItem(1), &a);
    list.Add(&c);
    EXPECT_EQ(list.Remove(&c), &c); // the last matching slot
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetItem(0), &c);
    EXPECT_EQ(list.GetItem(2), &b);
    EXPECT_EQ(list.Remove(&owner), nullptr);
    list.SetCount(5);
    EXPECT_EQ(list.Count(), 5);
    list.SetCount(0);
    EXPECT_EQ(list.GetItem(0), nullptr);
}

TEST(PngStreams, MemoryAndFileStreamsAgree) {
    Bytes png = Grey8();
    const std::string path = ::testing::TempDir() + "png_stream_test.png";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(png.data()), std::streamsize(png.size()));
    }
    TPngFileStream file(path);
    ASSERT_TRUE(file.IsOpen());
    TPngMemoryStream memory(png.data(), png.size());
    std::uint8_t x[10], y[10];
    EXPECT_EQ(file.Read(x, 10), 10u);
    EXPECT_EQ(memory.Read(y, 10), 10u);
    EXPECT_EQ(0, std::memcmp(x, y, 10));
    file.SeekForward(1u << 30);
    memory.SeekForward(1u << 30);
    EXPECT_EQ(file.Position(), png.size());
    EXPECT_EQ(memory.Position(), png.size());
    EXPECT_EQ(file.Read(x, 1), 0u);
    EXPECT_FALSE(TPngFileStream(path + ".missing").IsOpen());
    std::remove(path.c_str());
}
