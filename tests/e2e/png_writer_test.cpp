// The screenshot writer's files, read back by the system's own image decoder (WIC).

#include "png_writer.h"
#include "wic_decoder.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace {

using e2e::WicDecoder;
using snapshot::encodePng;
using snapshot::RgbImage;

// Deterministic noise: incompressible rows that catch any shifted or dropped byte.
RgbImage noise(int width, int height, std::uint32_t seed) {
    RgbImage image{width, height, {}};
    image.pixels.resize(static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 3);
    for (auto& sample : image.pixels) {
        seed = seed * 1664525u + 1013904223u;
        sample = static_cast<std::uint8_t>(seed >> 24);
    }
    return image;
}

TEST(PngWriter, SystemDecoderReadsBackTheSamePixels) {
    WicDecoder wic;
    ASSERT_TRUE(wic.ready());
    // Widths whose rows are not a multiple of four bytes, one pixel, a screenshot's size, and a
    // flat picture that compresses to almost nothing.
    RgbImage flat{64, 48, std::vector<std::uint8_t>(64 * 48 * 3, 0xC0)};
    for (const RgbImage& original :
         {noise(1, 1, 1), noise(37, 5, 2), noise(5, 37, 3), noise(658, 478, 4), flat}) {
        SCOPED_TRACE(std::to_string(original.width) + "x" + std::to_string(original.height));
        const auto file = encodePng(original);
        ASSERT_TRUE(file.has_value());
        const auto decoded = wic.decode(*file);
        ASSERT_TRUE(decoded.has_value()) << "WIC rejected the file";
        EXPECT_EQ(decoded->width, original.width);
        EXPECT_EQ(decoded->height, original.height);
        EXPECT_TRUE(decoded->pixels == original.pixels);
        const std::vector<std::uint8_t> iend = {0,   0,   0,    0,    'I',  'E',
                                                'N', 'D', 0xAE, 0x42, 0x60, 0x82};
        EXPECT_TRUE(std::equal(iend.begin(), iend.end(), file->end() - 12)) << "no IEND at the end";
    }
}

TEST(PngWriter, RefusesPicturesItCannotDescribe) {
    EXPECT_FALSE(encodePng(RgbImage{}).has_value());
    EXPECT_FALSE(encodePng(RgbImage{0, 4, {}}).has_value());
    EXPECT_FALSE(encodePng(RgbImage{4, -1, {}}).has_value());
    EXPECT_FALSE(encodePng(RgbImage{snapshot::kMaxPngSide + 1, 1, {}}).has_value());
    RgbImage shortBuffer = noise(4, 4, 6);
    shortBuffer.pixels.pop_back();
    EXPECT_FALSE(encodePng(shortBuffer).has_value());
    RgbImage longBuffer = noise(4, 4, 7);
    longBuffer.pixels.push_back(0);
    EXPECT_FALSE(encodePng(longBuffer).has_value());
    EXPECT_TRUE(encodePng(noise(4, 4, 8)).has_value());
}

TEST(PngWriter, WritesTheEncodedBytesAndReportsWriteFailures) {
    char folder[MAX_PATH + 1] = {};
    ASSERT_GT(GetTempPathA(MAX_PATH, folder), 0u);
    const std::string path = std::string(folder) + "sc-png-writer-test.png";
    const RgbImage image = noise(9, 7, 9);
    ASSERT_TRUE(snapshot::writePngFile(path, image));
    std::ifstream in(path, std::ios::binary);
    const std::vector<std::uint8_t> written((std::istreambuf_iterator<char>(in)),
                                            std::istreambuf_iterator<char>());
    in.close();
    std::remove(path.c_str());
    EXPECT_TRUE(written == encodePng(image).value());

    EXPECT_FALSE(snapshot::writePngFile(std::string(folder) + "no-such-folder\\x.png", image));
    EXPECT_FALSE(snapshot::writePngFile(path, RgbImage{}));
}

} // namespace
