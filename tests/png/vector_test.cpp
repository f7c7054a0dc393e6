// The vector routines against the plain ones: every filter type, pixel stride and row width
// around the vector widths, the truecolour conversions, the folded CRC, and whole images decoded
// with the vector levels the processor offers and with the run-time check forced to plain.
#include "png/png_band.h"
#include "png/png_crc.h"
#include "png/png_decode.h"
#include "png/png_image.h"
#include "png/png_quad_avx2.h"
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

TEST(PngVector, UnfilterMatchesThePlainLoopsAtEveryLevel) {
    for (TVectorLevel level : Levels())
        for (unsigned stride : {1u, 2u, 3u, 4u, 6u, 8u})
            for (int type = 0; type <= 5; ++type) // 5: an unknown type, the row stays
                for (std::size_t length = 1; length <= 67; ++length) {
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
                    UnfilterRowInto(apart.data() + 1, src.data(), previous.data() + 1, length,
                                    stride, level);
                    UnfilterRowInto(inPlace.data() + 1, inPlace.data(), previous.data() + 1, length,
                                    stride, level);
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

// Two and three rows unfiltered side by side: every combination of filter types (Average and
// Paeth take the paired loops, three single-byte Average rows the loop of three, the others go
// row by row), against the plain loops row after row. Rows of 96 to 144 bytes reach the part
// of the loop of three where all three rows run, and the 32-byte loop of pairs of 8 bytes a pixel.
TEST(PngVector, RowGroupsMatchThePlainLoopsAtEveryLevel) {
    std::vector<std::size_t> lengths;
    for (std::size_t length = 1; length <= 67; ++length)
        lengths.push_back(length);
    lengths.insert(lengths.end(), {96, 104, 131, 144});
    for (unsigned group : {2u, 3u})
        for (TVectorLevel level : Levels())
            for (unsigned stride : {1u, 2u, 3u, 4u, 6u, 8u})
                for (int types = 0; types < (group == 2 ? 25 : 125); ++types)
                    for (std::size_t length : lengths) {
                        const std::uint32_t seed = std::uint32_t(length * 31 + stride * 5 + types);
                        const std::size_t size = 1 + length + kRowSlack;
                        const Bytes previous = Noise(size, seed + 7);
                        Bytes src[3], expected[3], dst[3];
                        for (unsigned k = 0, t = unsigned(types); k < group; ++k, t /= 5) {
                            src[k] = Noise(size, seed + k);
                            src[k][0] = std::uint8_t(t % 5);
                            expected[k] = dst[k] = Bytes(size);
                            UnfilterRowPlain(expected[k].data() + 1, src[k].data(),
                                             (k ? expected[k - 1] : previous).data() + 1, length,
                                             stride);
                        }
                        if (group == 2) {
                            UnfilterRowPairInto(dst[0].data() + 1, src[0].data(), dst[1].data() + 1,
                                                src[1].data(), previous.data() + 1, length, stride,
                                                level);
                        } else {
                            std::uint8_t* const out[3] = {dst[0].data() + 1, dst[1].data() + 1,
                                                          dst[2].data() + 1};
                            const std::uint8_t* const in[3] = {src[0].data(), src[1].data(),
                                                               src[2].data()};
                            UnfilterRowTripleInto(out, in, previous.data() + 1, length, stride,
                                                  level);
                        }
                        for (unsigned k = 0; k < group; ++k)
                            ASSERT_TRUE(std::equal(dst[k].begin() + 1,
                                                   dst[k].begin() + 1 + std::ptrdiff_t(length),
                                                   expected[k].begin() + 1))
                                << "rows " << group << " level " << int(level) << " filters "
                                << types << " stride " << stride << " length " << length << " row "
                                << k;
                    }
}

// Four Average and Paeth rows at once, laid out one after another as in zlib's output and
// unfiltered in place, against the plain loops row after row: nothing may be written behind a
// row (the next row's filter type and pixels, the slack behind the last). The AVX2 loop takes
// every combination of the two filters; the row loop's entry takes those it pays for at the Avx2
// level and leaves the rows untouched otherwise.
TEST(PngVector, FourRowsInPlaceMatchThePlainLoops) {
    if (SupportedVectorLevel() < TVectorLevel::Avx2)
        GTEST_SKIP() << "the processor has no AVX2";
    for (unsigned stride : {2u, 3u, 4u, 6u, 8u})
        for (unsigned types = 0; types < 17; ++types) // bit k: row k Paeth; 16: a Sub row
            for (std::size_t length = 1; length <= 100; ++length) {
                const std::size_t bytes = 1 + length;
                const std::uint32_t seed = std::uint32_t(length * 37 + stride * 3 + types);
                // Four bytes behind the rows, the most the loops may read there.
                const Bytes above = Noise(length + 4, seed + 9);
                Bytes rows = Noise(4 * bytes + 4, seed);
                for (unsigned k = 0; k < 4; ++k)
                    rows[k * bytes] =
                        std::uint8_t(types == 16 ? (k == 2 ? 1 : 4) : 3 + (types >> k & 1));
                Bytes expected = rows;
                for (unsigned k = 0; k < 4; ++k)
                    UnfilterRowPlain(expected.data() + k * bytes + 1, rows.data() + k * bytes,
                                     k ? expected.data() + (k - 1) * bytes + 1 : above.data(),
                                     length, stride);
                const auto unfilter = [&](TVectorLevel level, bool kernel) {
                    Bytes b = rows;
                    std::uint8_t* out[4];
                    const std::uint8_t* src[4];
                    for (unsigned k = 0; k < 4; ++k) {
                        src[k] = b.data() + k * bytes + (kernel ? 1 : 0);
                        out[k] = b.data() + k * bytes + 1;
                    }
                    if (kernel)
                        UnfilterQuadAvx2(out, src, above.data(), length, stride, ~types & 15);
                    else
                        UnfilterRowQuadInto(out, src, above.data(), length, stride, level);
                    return b;
                };
                const std::string where = "stride " + std::to_string(stride) + " filters " +
                                          std::to_string(types) + " length " +
                                          std::to_string(length);
                if (stride <= 4 && types < 16 && length % stride == 0) {
                    ASSERT_EQ(unfilter(TVectorLevel::Avx2, true), expected) << where;
                }
                for (TVectorLevel level : {TVectorLevel::Plain, TVectorLevel::Sse2,
                                           TVectorLevel::Clmul, TVectorLevel::Avx2}) {
                    const Bytes b = unfilter(level, false);
                    const bool taken = level == TVectorLevel::Avx2 && stride <= 4 && types == 15 &&
                                       length % stride == 0 && length / stride >= kAvx2RowMinPixels;
                    ASSERT_TRUE(b == expected || (!taken && b == rows)) << where;
                }
            }
}

// Bands of up to kBandRows rows with a random filter type each, at every level: random rows
// apart, against the plain loops row after row, and in place images of the extreme byte values,
// where the Paeth distances tie and saturate, filtered by the encoder side. Every row, the row
// above and every output is a heap block of exactly its own size, so a read or write past a row
// trips the sanitizer build.
TEST(PngVector, BandMatchesThePlainLoopsRowAfterRow) {
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
    for (TVectorLevel level : Levels()) {
        std::uint32_t seed = 1;
        for (unsigned stride : {1u, 2u, 3u, 4u, 6u, 8u})
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
                        UnfilterBand(outs, srcs, count, above.data(), length, stride, level);
                        for (int k = 0; k < count; ++k)
                            ASSERT_TRUE(std::equal(expected[k].begin(), expected[k].end(), outs[k]))
                                << "level " << int(level) << " stride " << stride << " length "
                                << length << " rows " << count << " row " << k << " filter "
                                << int(src[k][0]) << ", " << variant;
                    }
    }
}

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

            Bytes every2(6 * count + 8);
            for (std::size_t i = 0; i < every2.size(); ++i)
                every2[i] = std::uint8_t(i);
            const Bytes before = every2;
            ConvertRgb8Every2(rgb.data(), every2.data(), count, level);
            for (std::size_t i = 0; i < every2.size(); ++i) {
                const std::size_t k = i / 6, c = i % 6;
                const std::uint8_t want = k < count && c < 3 ? rgb[3 * k + 2 - c] : before[i];
                ASSERT_EQ(every2[i], want)
                    << "every second place, level " << int(level) << " count " << count;
            }

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

// The streamed forms write the same bytes, wherever their rows start against a 16-byte
// boundary (the blocks before the first boundary go the cached way), and nothing behind them.
TEST(PngVector, StreamedConversionsWriteWhatTheCachedOnesDo) {
    const auto aligned = [](Bytes& b, std::size_t offset) {
        const auto at = reinterpret_cast<std::uintptr_t>(b.data());
        return b.data() + (16 - at % 16) % 16 + offset;
    };
    for (TVectorLevel level : Levels())
        for (std::size_t offset = 0; offset < 16; ++offset)
            for (std::uint32_t count : {0u, 15u, 16u, 17u, 31u, 32u, 47u, 48u, 67u}) {
                const Bytes rgb = Noise(3 * count + kRowSlack, count + 3);
                const Bytes rgba = Noise(4 * count + kRowSlack, count + 4);
                Bytes want(3 * count + 8, 0xEE), wantAlpha(count + 8, 0xEE);
                Bytes dib(3 * count + 48, 0xEE), alpha(count + 48, 0xEE);
                std::uint8_t* d = aligned(dib, offset);
                std::uint8_t* a = aligned(alpha, offset * 5 % 16);
                ConvertRgb8(rgb.data(), want.data(), count, level);
                ConvertRgb8Streaming(rgb.data(), d, count, level);
                ASSERT_TRUE(std::equal(want.begin(), want.end(), d))
                    << "rgb level " << int(level) << " offset " << offset << " count " << count;
                ConvertRgba8(rgba.data(), want.data(), wantAlpha.data(), count, level);
                ConvertRgba8Streaming(rgba.data(), d, a, count, level);
                ASSERT_TRUE(std::equal(want.begin(), want.end(), d) &&
                            std::equal(wantAlpha.begin(), wantAlpha.end(), a))
                    << "rgba level " << int(level) << " offset " << offset << " count " << count;
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
    EXPECT_EQ(Crc32("123456789", 9), 0xCBF43926u);
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
// every filter type in turn and with Paeth alone; short rows of Paeth and Average only, plain
// and in Adam7 passes, for the loops of four rows.
TEST(PngVector, DecodingForcedToPlainGivesTheSamePixels) {
    LevelGuard guard;
    // Truecolour bitmaps past a megabyte, whose rows are streamed around the caches.
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
                for (int shape = 0; shape < 6; ++shape) {
                    if (depth < 8 &&
                        type != 0) // grey rows of 1 and 4 bits go straight to the bitmap
                        continue;
                    const bool wide = shape > 0 && shape < 4, adam7 = shape == 3 || shape == 5;
                    const Image img = Pattern(wide ? 1100 / depth : 67, wide ? 75 : 40, depth, type,
                                              type * 17u + depth);
                    const std::vector<Bytes> results =
                        DecodeAtEachLevel(BuildPng(img, adam7, {}, piece,
                                                   shape == 2  ? 4
                                                   : shape > 3 ? -2
                                                               : -1));
                    for (std::size_t l = 1; l < results.size(); ++l)
                        EXPECT_EQ(results[l], results[0])
                            << "type " << int(type) << " depth " << int(depth) << " piece " << piece
                            << " shape " << shape << " level " << l;
                }
}
