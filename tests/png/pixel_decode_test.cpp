// Image data decoding: filters, Adam7 geometry, IDAT runs, zlib failures and the conversions.
#include "png/png_decode.h"
#include "png/png_image.h"
#include "png/png_messages.h"
#include "png/png_zlib.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

using namespace sc::png;
using namespace pngtest;

namespace {

// What the DIB must hold for sample values of the image, checked pixel by pixel.
void ExpectPixels(const TPNGObject& image, const Image& img, const std::string& what) {
    const TChunkIHDR& h = image.HeaderChunk();
    const unsigned bits = h.DibInfo().bmiHeader.biBitCount;
    const bool sixteen = img.depth == 16;
    auto high = [&](unsigned v) { return sixteen ? v >> 8 : v; };
    int failures = 0;
    for (std::uint32_t y = 0; y < img.h && failures < 5; ++y) {
        const std::uint8_t* row = image.PixelRow(y);
        const std::uint8_t* alpha = image.AlphaRow(y);
        for (std::uint32_t x = 0; x < img.w && failures < 5; ++x) {
            bool ok = true;
            if (bits == 24) {
                ok = row[3 * x] == high(img.At(x, y, 2)) &&
                     row[3 * x + 1] == high(img.At(x, y, 1)) &&
                     row[3 * x + 2] == high(img.At(x, y, 0));
            } else {
                unsigned expected = high(img.At(x, y, 0));
                if (img.depth == 2 && img.type == 0)
                    expected *= 5;
                ok = IndexAt(row, bits, x) == expected;
            }
            if (img.type == 4 || img.type == 6)
                ok = ok && alpha[x] == high(img.At(x, y, img.type == 4 ? 1 : 3));
            if (!ok) {
                ++failures;
                ADD_FAILURE() << what << ": pixel " << x << "," << y;
            }
        }
    }
}

const struct Format {
    std::uint8_t type, depth;
} kFormats[] = {{0, 1}, {0, 2}, {0, 4}, {0, 8},  {0, 16}, {2, 8},  {2, 16}, {3, 1},
                {3, 2}, {3, 4}, {3, 8}, {3, 16}, {4, 8},  {4, 16}, {6, 8},  {6, 16}};

std::string Name(const Format& f, std::uint32_t w = 0, std::uint32_t h = 0) {
    return "type " + std::to_string(f.type) + " depth " + std::to_string(f.depth) + " " +
           std::to_string(w) + "x" + std::to_string(h);
}

// Paeth's pick among the left (a), upper (b) and upper-left (c) byte: the second byte of a Paeth
// row of single bytes with raw byte 0. The first byte, with 0 on its left and upper left, picks
// the byte above it, c.
std::uint8_t PaethPick(std::uint8_t a, std::uint8_t b, std::uint8_t c) {
    const Bytes src = {4, std::uint8_t(a - c), 0}, above = {c, b};
    Bytes out(2);
    UnfilterRowPlain(out.data(), src.data(), above.data(), 2, 1);
    return out[1];
}

} // namespace

TEST(PngUnfilter, PaethTiesGoToLeftThenAbove) {
    EXPECT_EQ(PaethPick(7, 7, 7), 7);
    EXPECT_EQ(PaethPick(10, 20, 15), 15); // pa = pb = 5, pc = 0
    EXPECT_EQ(PaethPick(10, 12, 20), 10); // pa = 8, pb = 10, pc = 18
    EXPECT_EQ(PaethPick(20, 20, 10), 20); // pa = pb = 10 < pc
    EXPECT_EQ(PaethPick(0, 30, 10), 30);  // pb = pc = 10 < pa
    EXPECT_EQ(PaethPick(0, 20, 10), 10);  // pa = pb = 10, pc = 0
    EXPECT_EQ(PaethPick(255, 0, 255), 0);
}

TEST(PngUnfilter, EdgesOfTheRow) {
    // Sub with stride 3 leaves the first three bytes alone.
    Bytes row = {1, 10, 20, 30, 1, 2, 3};
    Bytes prev(7, 99);
    UnfilterRowPlain(row.data() + 1, row.data(), prev.data() + 1, 6, 3);
    EXPECT_EQ(row, (Bytes{1, 10, 20, 30, 11, 22, 33}));
    // Average and Paeth see 0 for the missing left neighbour; sums wrap modulo 256.
    Bytes avg = {3, 5, 5, 200};
    Bytes above = {0, 9, 255, 255};
    UnfilterRowPlain(avg.data() + 1, avg.data(), above.data() + 1, 3, 1);
    EXPECT_EQ(avg, (Bytes{3, 9, 137, 140})); // 5+4, 5+(255+9)/2, 200+(255+137)/2 wraps
    Bytes paeth = {4, 1, 1};
    Bytes up = {0, 50, 60};
    UnfilterRowPlain(paeth.data() + 1, paeth.data(), up.data() + 1, 2, 1);
    EXPECT_EQ(paeth, (Bytes{4, 51, 61})); // first byte: above; then Paeth(51, 60, 50) = 60
    // Unknown filter types leave the row untouched.
    Bytes odd = {7, 1, 2, 3};
    UnfilterRowPlain(odd.data() + 1, odd.data(), up.data() + 1, 3, 1);
    EXPECT_EQ(odd, (Bytes{7, 1, 2, 3}));
}

TEST(PngDecode, AllFormatsAllFiltersPlainAndAdam7) {
    for (const Format& f : kFormats)
        for (bool adam7 : {false, true}) {
            Image img = Pattern(13, 11, f.depth, f.type, f.type * 31 + f.depth);
            TPNGObject image;
            Read(image, BuildPng(img, adam7, {}, 0, -1));
            ExpectPixels(image, img, Name(f, 13, 11) + (adam7 ? " adam7" : ""));
        }
}

TEST(PngDecode, Adam7PassGeometryOnTinyImages) {
    for (const Format& f : kFormats)
        for (std::uint32_t w = 1; w <= 9; ++w)
            for (std::uint32_t h = 1; h <= 9; ++h) {
                Image img = Pattern(w, h, f.depth, f.type, w * 16 + h);
                TPNGObject image;
                Read(image, BuildPng(img, true));
                ExpectPixels(image, img, Name(f, w, h));
            }
}

TEST(PngDecode, OneByteIdatChunksDecodeTheSameAndCheckEveryCrc) {
    Image img = Pattern(9, 7, 8, 2, 5);
    Bytes single = BuildPng(img, true);
    Bytes split = BuildPng(img, true, {}, 1);
    TPNGObject a, b;
    Read(a, single);
    Read(b, split);
    ExpectPixels(a, img, "single");
    ExpectPixels(b, img, "split");
    EXPECT_EQ(ChunkTypes(b), "IHDR IDAT IEND");
    // Flip the CRC of each one-byte IDAT chunk in turn (13 bytes each, starting at 33). The
    // chunks behind the last row's data (the zlib checksum) are passed over unread.
    const std::size_t chunks = (split.size() - 33 - 12) / 13;
    for (std::size_t i = 0; i < chunks; ++i) {
        Bytes bad = split;
        bad[33 + 13 * i + 12] ^= 0x01;
        TPNGObject image;
        if (i + 5 < chunks) {
            EXPECT_THROW(Read(image, bad), EPngInvalidCRC) << "chunk " << i;
            EXPECT_EQ(ChunkTypes(image), "IHDR IDAT");
        } else if (i + 4 >= chunks) {
            EXPECT_NO_THROW(Read(image, bad)) << "chunk " << i;
        }
    }
    // Zero-length IDAT chunks inside the run are passed over.
    Bytes compressed = Compress(RawData(img, false)), runs = Chunk("IDAT", {});
    Append(runs, Chunk("IDAT", Bytes(compressed.begin(), compressed.begin() + 10)));
    Append(runs, Chunk("IDAT", {}));
    Append(runs, Chunk("IDAT", Bytes(compressed.begin() + 10, compressed.end())));
    TPNGObject c;
    Read(c, Png(IhdrData(9, 7, 8, 2), runs));
    ExpectPixels(c, img, "empty chunks");
}

TEST(PngDecode, MissingRowsAndBrokenRuns) {
    Image img = Pattern(6, 6, 8, 0);
    Bytes raw = RawData(img, false);
    std::string msg;
    auto build = [](const Bytes& idats) { return Png(IhdrData(6, 6, 8, 0), idats); };
    // The compressed data stops before the last row.
    Bytes compressed = Compress(raw);
    {
        TPNGObject image;
        try {
            Read(image, build(Chunk("IDAT", Bytes(compressed.begin(), compressed.end() - 8))));
            ADD_FAILURE();
        } catch (const EPNGMissingMultipleIDAT& e) {
            EXPECT_STREQ(e.what(), messages::EPNGMissingMultipleIDATText);
            EXPECT_EQ(ChunkTypes(image), "IHDR IDAT");
        }
    }
    // A complete zlib stream that holds too few rows and ends with its chunk: that chunk's CRC
    // is checked before the next chunk's type.
    {
        TPNGObject image;
        Bytes png = build(Chunk("IDAT", Compress(Bytes(raw.begin(), raw.begin() + 3 * 7))));
        EXPECT_THROW(Read(image, png), EPNGMissingMultipleIDAT);
        EXPECT_EQ(image.PixelRow(2)[5], img.At(5, 2)); // rows decoded so far stay
        png[png.size() - 13] ^= 0x01;                  // the IDAT chunk's CRC, just before IEND
        EXPECT_THROW(Read(image, png), EPngInvalidCRC);
    }
    // An IDAT chunk behind another chunk is not joined to the run.
    {
        Bytes parts = Chunk("IDAT", Bytes(compressed.begin(), compressed.begin() + 12));
        Append(parts, Chunk("tEXt", {'a', 0, 'b'}));
        Append(parts, Chunk("IDAT", Bytes(compressed.begin() + 12, compressed.end())));
        TPNGObject image;
        EXPECT_THROW(Read(image, build(parts)), EPNGMissingMultipleIDAT);
    }
    // The stream ends inside the image data: the rows that arrived are kept (plain: 3 rows and
    // a bit; Adam7: passes 1 and 2, then a bit of pass 3), then the CRC fails.
    for (std::uint8_t adam7 : {0, 1}) {
        Bytes png =
            Png(IhdrData(6, 6, 8, 0, adam7), Chunk("IDAT", Compress(RawData(img, adam7), 0)));
        png.resize(33 + 8 + 2 + 5 + (adam7 ? 6 : 3 * 7 + 2)); // zlib and stored-block headers
        TPNGObject image;
        EXPECT_THROW(Read(image, png), EPngInvalidCRC);
        EXPECT_EQ(image.PixelRow(0)[4], img.At(4, 0)) << int(adam7);
        EXPECT_EQ(image.PixelRow(adam7 ? 4 : 2)[0], img.At(0, adam7 ? 4 : 2)) << int(adam7);
    }
}

TEST(PngDecode, ZlibFailuresNameTheirResult) {
    Image img = Pattern(4, 4, 8, 0);
    Bytes raw = RawData(img, false);
    auto build = [](const Bytes& data) { return Png(IhdrData(4, 4, 8, 0), Chunk("IDAT", data)); };
    Bytes corrupt = Compress(raw);
    corrupt[0] ^= 0x01; // header check fails
    TPNGObject image;
    try {
        Read(image, build(corrupt));
        ADD_FAILURE();
    } catch (const EPNGZLIBError& e) {
        EXPECT_EQ(std::string(e.what()),
                  std::string(messages::EPNGZLIBErrorText) + "data error (-3)");
        EXPECT_EQ(ChunkTypes(image), "IHDR IDAT");
    }
    // A stream that asks for a preset dictionary.
    z_stream z{};
    ASSERT_EQ(deflateInit(&z, 9), Z_OK);
    const Bytef dictionary[] = "some dictionary";
    deflateSetDictionary(&z, dictionary, sizeof dictionary);
    Bytes out(1024);
    z.next_in = raw.data();
    z.avail_in = static_cast<uInt>(raw.size());
    z.next_out = out.data();
    z.avail_out = static_cast<uInt>(out.size());
    ASSERT_EQ(deflate(&z, Z_FINISH), Z_STREAM_END);
    out.resize(z.total_out);
    deflateEnd(&z);
    try {
        Read(image, build(out));
        ADD_FAILURE();
    } catch (const EPNGZLIBError& e) {
        EXPECT_EQ(std::string(e.what()),
                  std::string(messages::EPNGZLIBErrorText) + "need dictionary (2)");
    }
    EXPECT_STREQ(ZlibResultText(-6), "incompatible version (-6)");
    EXPECT_STREQ(ZlibResultText(1), "stream end (1)");
    EXPECT_STREQ(ZlibResultText(0), "(0)");
}

TEST(PngDecode, ExtraBytesInTheLastIdatChunkAreCoveredByItsCrc) {
    Image img = Pattern(40, 30, 8, 6, 3);
    Bytes compressed = Compress(RawData(img, false));
    Bytes padded = compressed;
    padded.resize(compressed.size() + 150000, 0xA5); // beyond two input blocks
    Bytes idats = Chunk("IDAT", padded);
    Append(idats, Chunk("IDAT", {9, 9})); // the rest of the run is skipped
    Bytes png = Png(IhdrData(40, 30, 8, 6), idats);
    TPNGObject image;
    Read(image, png);
    ExpectPixels(image, img, "padded");
    EXPECT_EQ(ChunkTypes(image), "IHDR IDAT IEND");
    // A changed byte among the extra bytes is noticed.
    png[33 + 8 + compressed.size() + 100000] ^= 1;
    EXPECT_THROW(Read(image, png), EPngInvalidCRC);
}

TEST(PngDecode, ZlibFailureKeepsTheRowsBeforeItAndAWrongChecksumFails) {
    Image img = Pattern(300, 300, 8, 0, 9);
    const Bytes raw = RawData(img, false);
    auto build = [](const Bytes& data) {
        return Png(IhdrData(300, 300, 8, 0), Chunk("IDAT", data));
    };
    // Stored blocks: break the length check of the second block.
    Bytes stored = Compress(raw, 0);
    const std::size_t first = stored[3] | stored[4] << 8;
    ASSERT_LT(first, raw.size());
    stored[2 + 5 + first + 3] ^= 0xFF;
    TPNGObject image;
    EXPECT_THROW(Read(image, build(stored)), EPNGZLIBError);
    const std::uint32_t complete = static_cast<std::uint32_t>(first / 301);
    ASSERT_GT(complete, 1u);
    for (std::uint32_t y : {0u, complete - 1})
        for (std::uint32_t x : {0u, 299u})
            EXPECT_EQ(image.PixelRow(y)[x], img.At(x, y)) << x << "," << y;

    // A wrong checksum of the stream, reached with the last rows, is zlib's data error; the
    // rows are all there.
    Bytes wrongSum = Compress(raw);
    wrongSum.back() ^= 0x01;
    try {
        Read(image, build(wrongSum));
        FAIL() << "wrong checksum accepted";
    } catch (const EPNGZLIBError& e) {
        const std::string text = e.what();
        EXPECT_EQ(text.substr(text.size() - 15), "data error (-3)");
    }
    ExpectPixels(image, img, "checksum");
}

// Truecolour through a gamma curve: every sample format, row lengths around the groups the
// conversion takes at once, in plain order and spread over every second column.
TEST(PngConvert, GammaMapsEveryColourSampleAndNothingElse) {
    std::uint8_t curve[256];
    for (unsigned i = 0; i < 256; ++i)
        curve[i] = std::uint8_t(i * 7 + 3);
    for (const Format& f : {Format{2, 8}, Format{2, 16}, Format{6, 8}, Format{6, 16}})
        for (std::uint32_t step : {1u, 2u})
            for (std::uint32_t count = 0; count <= 9; ++count) {
                const unsigned bytes = (f.type == 6 ? 4 : 3) * f.depth / 8, width = f.depth / 8;
                Bytes src(bytes * count);
                for (std::size_t i = 0; i < src.size(); ++i)
                    src[i] = std::uint8_t(i * 37 + count);
                const std::uint32_t first = step - 1, columns = first + step * count + 2;
                Bytes dib(3 * columns, 0xEE), alpha(columns, 0xEE);
                ConvertRow(f.type, f.depth, src.data(), dib.data(), alpha.data(), count, first,
                           step, curve);
                for (std::uint32_t c = 0; c < columns; ++c) {
                    const bool placed =
                        c >= first && (c - first) % step == 0 && (c - first) / step < count;
                    const std::uint8_t* s = src.data() + bytes * ((c - first) / step);
                    for (unsigned i = 0; i < 3; ++i)
                        ASSERT_EQ(dib[3 * c + i], placed ? curve[s[(2 - i) * width]] : 0xEE)
                            << Name(f) << " step " << step << " count " << count << " column " << c;
                    if (f.type == 6) {
                        ASSERT_EQ(alpha[c], placed ? s[3 * width] : 0xEE) << Name(f) << c;
                    }
                }
            }
}

// The bitmap of a header just read is not zeroed before the image data is written into it: row
// padding and the rows that the data never reaches (it ends early, or a failure stops it) must
// be zero all the same, also where the memory held an earlier image of all bits set.
TEST(PngDecode, PaddingAndRowsNeverReachedAreZero) {
    for (const Format& f : {Format{0, 1}, Format{0, 2}, Format{3, 4}, Format{0, 16}, Format{2, 8},
                            Format{4, 8}, Format{6, 8}, Format{6, 16}})
        for (bool failing : {false, true}) {
            Image full = Pattern(5, 6, f.depth, f.type);
            for (auto& v : full.samples)
                v = f.depth == 16 ? 0xFFFF : std::uint16_t((1u << f.depth) - 1);
            TPNGObject image;
            Read(image, BuildPng(full, false));
            const Bytes raw = RawData(Pattern(5, 6, f.depth, f.type), false);
            const std::size_t rowBytes = raw.size() / 6;
            // Stored blocks: two rows and the filter type of the third arrive.
            Bytes data = Compress(raw, 0);
            data.resize(2 + 5 + 2 * rowBytes + 1);
            // Failing, the run ends before the rows do: the third row is never converted.
            // Otherwise the file ends: the third row is converted from what arrived.
            Bytes png = Png(IhdrData(5, 6, f.depth, f.type), Chunk("IDAT", data));
            png.resize(png.size() - (failing ? 0 : 16));
            if (failing)
                EXPECT_THROW(Read(image, png), EPNGMissingMultipleIDAT) << Name(f);
            else
                EXPECT_THROW(Read(image, png), EPngInvalidCRC) << Name(f);
            const TChunkIHDR& h = image.HeaderChunk();
            const std::size_t used = (5 * h.DibInfo().bmiHeader.biBitCount + 7) / 8;
            const std::uint32_t kept = failing ? 2 : 3;
            for (std::uint32_t y = 0; y < 6; ++y) {
                const std::uint8_t* row = image.PixelRow(y);
                for (std::size_t i = y < kept ? used : 0; i < std::size_t(h.RowStride()); ++i)
                    ASSERT_EQ(row[i], 0) << Name(f) << " failing " << failing << " row " << y;
                if (h.AlphaPlane() && y >= kept) {
                    ASSERT_EQ(Bytes(image.AlphaRow(y), image.AlphaRow(y) + 5), Bytes(5, 0))
                        << Name(f) << " row " << y;
                }
            }
            EXPECT_NE(image.PixelRow(1)[0], 0xFF) << Name(f); // the earlier image is gone
        }
}
