// The vector routines against the plain ones: every filter type and pixel stride through the row
// functions chosen at each level, both forms of the band, the truecolour conversions, the folded
// CRC, and whole images decoded with the vector levels the processor offers and with the
// run-time check forced to plain.
#include "png/png_crc.h"
#include "png/png_decode.h"
#include "png/png_image.h"
#include "png/png_vector.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace sc::png;
using namespace pngtest;

namespace {

// Every level the processor offers, the plain one first.
std::vector<TVectorLevel> Levels() {
    std::vector<TVectorLevel> levels;
    for (int l = 0; l <= static_cast<int>(SupportedVectorLevel()); ++l)
        levels.push_back(static_cast<TVectorLevel>(l));
    return levels;
}

Bytes Noise(std::size_t n, std::uint32_t seed) {
    Bytes b(n);
    for (auto& v : b) {
        seed = seed * 1103515245u + 12345u;
        v = static_cast<std::uint8_t>(seed >> 16);
    }
    return b;
}

// Restores the process-wide level when a test ends, however it ends.
struct LevelGuard {
    ~LevelGuard() { SetVectorLevel(SupportedVectorLevel()); }
};

} // namespace

TEST(PngVector, RowFunctionsMatchThePlainLoopsAtEveryLevel) {
    for (TVectorLevel level : Levels())
        for (unsigned stride : {1u, 2u, 3u, 4u, 6u, 8u})
            for (std::size_t length = 1; length <= 67; ++length) {
                const TRowFunctions rows = ChooseRowFunctions(stride, length, level);
                for (int type = 0; type <= 4; ++type) {
                    const std::uint32_t seed = std::uint32_t(length * 131 + stride * 7 + type);
                    const Bytes src = [&] {
                        Bytes b = Noise(1 + length + kRowSlack, seed);
                        b[0] = std::uint8_t(type);
                        return b;
                    }();
                    const Bytes previous = Noise(1 + length + kRowSlack, seed + 1);
                    Bytes expected(src.size());
                    UnfilterRowPlain(expected.data() + 1, src.data(), previous.data() + 1, length,
                                     stride);
                    Bytes apart(src.size()), inPlace = src;
                    rows.Unfilter[type](apart.data() + 1, src.data() + 1, previous.data() + 1,
                                        length);
                    rows.Unfilter[type](inPlace.data() + 1, inPlace.data() + 1, previous.data() + 1,
                                        length);
                    const auto row = [&](const Bytes& b) {
                        return Bytes(b.begin() + 1, b.begin() + 1 + std::ptrdiff_t(length));
                    };
                    ASSERT_EQ(row(apart), row(expected))
                        << "level " << int(level) << " filter " << type << " stride " << stride
                        << " length " << length;
                    ASSERT_EQ(row(inPlace), row(expected))
                        << "in place, level " << int(level) << " filter " << type << " stride "
                        << stride << " length " << length;
                }
            }
}

#if SC_PNG_X86
// Bands of up to kBandRows rows with a random filter type each, in both forms (AVX2 where the
// processor has it): random rows apart, against the plain loops row after row, and in place
// images of the extreme byte values, where the Paeth distances tie and saturate, filtered by the
// encoder side. Every row, the row above and every output is a heap block of exactly its own
// size, so a read or write past a row trips the sanitizer build.
TEST(PngVector, BandMatchesThePlainLoopsRowAfterRow) {
    std::vector<TUnfilterBand> forms{UnfilterBandSse2};
    if (SupportedVectorLevel() >= TVectorLevel::Avx2)
        forms.push_back(UnfilterBandAvx2);
    std::vector<std::size_t> lengths;
    for (std::size_t length = 1; length <= 67; ++length)
        lengths.push_back(length);
    lengths.insert(lengths.end(), {1024, 3072});
    const auto extremes = [](Bytes b) {
        static const std::uint8_t kValues[8] = {0, 1, 2, 127, 128, 253, 254, 255};
        for (auto& v : b)
            v = kValues[v & 7];
        return b;
    };
    for (std::size_t form = 0; form < forms.size(); ++form) {
        std::uint32_t seed = 1;
        for (unsigned stride : {1u, 2u, 3u})
            for (std::size_t length : lengths)
                for (int count = 1; count <= kBandRows; ++count)
                    for (const char* variant : {"apart", "in place, extreme values"}) {
                        // Long rows with a few counts: one register, two, and both full.
                        if (length > 67 && count > 2 && count != 15 && count != 16 &&
                            count != kBandRows)
                            continue;
                        const bool inPlace = variant[0] == 'i', extreme = inPlace;
                        seed = seed * 1103515245u + 12345u;
                        const Bytes above =
                            extreme ? extremes(Noise(length, seed)) : Noise(length, seed);
                        std::vector<Bytes> src(static_cast<std::size_t>(count)), out = src,
                                                                                 expected = src;
                        std::uint8_t* outs[kBandRows];
                        const std::uint8_t* srcs[kBandRows];
                        std::uint32_t types = seed;
                        for (int k = 0; k < count; ++k) {
                            types = types * 1103515245u + 12345u;
                            const int type = int((types >> 16) % 5);
                            const Bytes& prev = k ? expected[k - 1] : above;
                            if (extreme) {
                                expected[k] = extremes(Noise(length, seed + 1 + unsigned(k)));
                                src[k] = FilterRow(type, expected[k], prev, stride);
                            } else {
                                src[k] = Noise(1 + length, seed + 1 + unsigned(k));
                                src[k][0] = std::uint8_t(type);
                                expected[k] = Bytes(length);
                                UnfilterRowPlain(expected[k].data(), src[k].data(), prev.data(),
                                                 length, stride);
                            }
                            out[k] = Bytes(length);
                            outs[k] = inPlace ? src[k].data() + 1 : out[k].data();
                            srcs[k] = src[k].data();
                        }
                        forms[form](outs, srcs, count, above.data(), length, stride);
                        for (int k = 0; k < count; ++k)
                            ASSERT_TRUE(std::equal(expected[k].begin(), expected[k].end(), outs[k]))
                                << "form " << form << " stride " << stride << " length " << length
                                << " rows " << count << " row " << k << " filter " << int(src[k][0])
                                << ", " << variant;
                    }
    }
}
#endif

TEST(PngVector, TruecolourConversionsMatchAndStopAtTheRowEnd) {
    for (TVectorLevel level : Levels())
        for (std::uint32_t count = 0; count <= 67; ++count) {
            const Bytes rgb = Noise(3 * count + kRowSlack, count + 1);
            const Bytes rgba = Noise(4 * count + kRowSlack, count + 2);
            Bytes dib(3 * count + 8, 0xEE), alpha(count + 8, 0xEE);
            ConvertRgb8(rgb.data(), dib.data(), count, level);
            for (std::uint32_t k = 0; k < count; ++k)
                ASSERT_TRUE(dib[3 * k] == rgb[3 * k + 2] && dib[3 * k + 1] == rgb[3 * k + 1] &&
                            dib[3 * k + 2] == rgb[3 * k])
                    << "rgb level " << int(level) << " count " << count << " pixel " << k;
            EXPECT_EQ(Bytes(dib.end() - 8, dib.end()), Bytes(8, 0xEE)) << "rgb count " << count;

            std::fill(dib.begin(), dib.end(), 0xEE);
            ConvertRgba8(rgba.data(), dib.data(), alpha.data(), count, level);
            for (std::uint32_t k = 0; k < count; ++k)
                ASSERT_TRUE(dib[3 * k] == rgba[4 * k + 2] && dib[3 * k + 1] == rgba[4 * k + 1] &&
                            dib[3 * k + 2] == rgba[4 * k] && alpha[k] == rgba[4 * k + 3])
                    << "rgba level " << int(level) << " count " << count << " pixel " << k;
            EXPECT_EQ(Bytes(dib.end() - 8, dib.end()), Bytes(8, 0xEE)) << "rgba count " << count;
            EXPECT_EQ(Bytes(alpha.end() - 8, alpha.end()), Bytes(8, 0xEE))
                << "alpha count " << count;
        }
}

TEST(PngVector, FoldedCrcMatchesTheTables) {
    const Bytes data = Noise(400, 7);
    for (TVectorLevel level : Levels())
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (std::size_t n = 0; n + offset <= data.size(); n += 1 + n / 16) {
                const std::uint32_t start = 0xFFFFFFFFu - std::uint32_t(n);
                ASSERT_EQ(CrcUpdate(start, data.data() + offset, n, level),
                          CrcUpdate(start, data.data() + offset, n, TVectorLevel::Plain))
                    << "level " << int(level) << " offset " << offset << " length " << n;
            }
    // The standard's check value.
    EXPECT_EQ(~CrcUpdate(0xFFFFFFFFu, "123456789", 9), 0xCBF43926u);
}

// The bitmap and alpha plane of png, decoded at each level.
std::vector<Bytes> DecodeAtEachLevel(const Bytes& png) {
    std::vector<Bytes> results;
    for (TVectorLevel level : Levels()) {
        SetVectorLevel(level);
        EXPECT_EQ(VectorLevel(), level);
        TPNGObject image;
        Read(image, png);
        const TChunkIHDR& h = image.HeaderChunk();
        Bytes out(h.Pixels(), h.Pixels() + std::size_t(h.RowStride()) * h.Height());
        if (h.AlphaPlane())
            out.insert(out.end(), h.AlphaPlane(),
                       h.AlphaPlane() + std::size_t(h.Width()) * h.Height());
        results.push_back(out);
    }
    return results;
}

// Whole images through the decoder with the level the run-time check chose and with the check
// forced to plain: wide rows in steps of their own and rows split over many small IDAT chunks;
// rows long enough for bands (straight into the bitmap, in zlib's output, in Adam7 passes) with
// every filter type in turn and with Paeth alone.
TEST(PngVector, DecodingForcedToPlainGivesTheSamePixels) {
    LevelGuard guard;
    // Truecolour bitmaps past a megabyte: bands and rows that lie across zlib's output steps.
    for (std::uint8_t type : {2, 6})
        for (bool adam7 : {false, true}) {
            const std::vector<Bytes> results = DecodeAtEachLevel(
                BuildPng(Pattern(700, 520, 8, type, type + 5u), adam7, {}, 0, -1));
            for (std::size_t l = 1; l < results.size(); ++l)
                EXPECT_EQ(results[l], results[0]) << "large, type " << int(type) << " level " << l;
        }
    for (std::uint8_t type : {0, 2, 4, 6})
        for (std::uint8_t depth : {1, 4, 8, 16})
            for (std::size_t piece : {std::size_t(0), std::size_t(97)})
                for (int shape = 0; shape < 4; ++shape) {
                    if (depth < 8 &&
                        type != 0) // grey rows of 1 and 4 bits go straight to the bitmap
                        continue;
                    const bool wide = shape > 0, adam7 = shape == 3;
                    const Image img = Pattern(wide ? 1100 / depth : 67, wide ? 75 : 40, depth, type,
                                              type * 17u + depth);
                    const std::vector<Bytes> results =
                        DecodeAtEachLevel(BuildPng(img, adam7, {}, piece, shape == 2 ? 4 : -1));
                    for (std::size_t l = 1; l < results.size(); ++l)
                        EXPECT_EQ(results[l], results[0])
                            << "type " << int(type) << " depth " << int(depth) << " piece " << piece
                            << " shape " << shape << " level " << l;
                }
}
