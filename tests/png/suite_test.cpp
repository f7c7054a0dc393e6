// The conformance suites: every broken file fails with the class of its fault, every valid one
// reads, and interlaced files decode to the same pixels as their plain twins.
#include "png/png_image.h"
#include "png_suite_files.h"
#include "png_test_util.h"

#include <gtest/gtest.h>

#include <map>

using namespace sc::png;
using namespace pngtest;

TEST(PngSuite, BrokenFilesRaiseTheClassOfTheirFault) {
    const std::map<std::string, std::string> expected = {
        {"xc1n0g08.png", "EPngInvalidIHDR"},       {"xc9n2c08.png", "EPngInvalidIHDR"},
        {"xcrn0g04.png", "EPNGInvalidFileHeader"}, {"xcsn0g01.png", "EPngInvalidCRC"},
        {"xd0n2c08.png", "EPngInvalidIHDR"},       {"xd3n2c08.png", "EPngInvalidIHDR"},
        {"xd9n2c08.png", "EPngInvalidIHDR"},       {"xdtn0g01.png", "EPNGNoImageData"},
        {"xhdn0g08.png", "EPngInvalidCRC"},        {"xlfn0g04.png", "EPNGInvalidFileHeader"},
        {"xs1n0g01.png", "EPNGInvalidFileHeader"}, {"xs2n0g01.png", "EPNGInvalidFileHeader"},
        {"xs4n0g01.png", "EPNGInvalidFileHeader"}, {"xs7n0g01.png", "EPNGInvalidFileHeader"}};
    int seen = 0;
    for (const std::string& name : PngFiles(SuiteDir())) {
        if (name[0] != 'x')
            continue;
        ++seen;
        auto it = expected.find(name);
        ASSERT_NE(it, expected.end()) << "no expectation for " << name;
        TPngFileStream stream(SuiteDir() + "/" + name);
        ASSERT_TRUE(stream.IsOpen()) << name;
        TPNGObject image;
        try {
            image.ReadPng(stream);
            ADD_FAILURE() << name << " read without error";
        } catch (const std::exception& e) {
            EXPECT_EQ(PngExceptionClassName(e), it->second) << name;
        }
    }
    EXPECT_EQ(seen, int(expected.size()));
}

TEST(PngSuite, EveryValidFileReads) {
    const auto files = ValidSuiteFiles();
    EXPECT_GE(files.size(), 161u + 106u);
    for (const std::string& path : files) {
        TPngFileStream stream(path);
        ASSERT_TRUE(stream.IsOpen()) << path;
        TPNGObject image;
        try {
            image.ReadPng(stream);
        } catch (const std::exception& e) {
            ADD_FAILURE() << path << ": " << PngExceptionClassName(e) << ": " << e.what();
            continue;
        }
        EXPECT_GT(image.Width(), 0) << path;
        EXPECT_EQ(image.ChunkList.Item(image.ChunkList.Count() - 1)->TypeText(), "IEND") << path;
    }
}

TEST(PngSuite, InterlacedFilesMatchTheirPlainTwins) {
    int pairs = 0;
    for (const std::string& name : PngFiles(SuiteDir())) {
        if (name.size() < 8 || name[3] != 'i' || name[0] == 'x')
            continue;
        std::string plain = name;
        plain[3] = 'n';
        const Bytes a = ReadFile(SuiteDir() + "/" + name);
        const Bytes b = ReadFile(SuiteDir() + "/" + plain);
        if (b.empty())
            continue;
        ++pairs;
        TPNGObject ia, ib;
        Read(ia, a);
        Read(ib, b);
        const TChunkIHDR& ha = ia.HeaderChunk();
        const TChunkIHDR& hb = ib.HeaderChunk();
        ASSERT_EQ(ha.Width(), hb.Width()) << name;
        ASSERT_EQ(ha.RowStride(), hb.RowStride()) << name;
        const unsigned bits = ha.DibInfo().bmiHeader.biBitCount;
        for (std::uint32_t y = 0; y < ha.Height(); ++y) {
            // Compare whole pixels; the padding bits of sub-byte rows may differ.
            const std::uint8_t* ra = ia.PixelRow(y);
            const std::uint8_t* rb = ib.PixelRow(y);
            for (std::uint32_t x = 0; x < ha.Width(); ++x) {
                bool same = bits == 24 ? std::memcmp(ra + 3 * x, rb + 3 * x, 3) == 0
                                       : IndexAt(ra, bits, x) == IndexAt(rb, bits, x);
                if (!same) {
                    ADD_FAILURE() << name << " pixel " << x << "," << y;
                    y = ha.Height();
                    break;
                }
            }
        }
        if (ha.AlphaPlane()) {
            EXPECT_EQ(0, std::memcmp(ha.AlphaPlane(), hb.AlphaPlane(),
                                     std::size_t(ha.Width()) * ha.Height()))
                << name;
        }
        EXPECT_EQ(0, std::memcmp(ha.DibInfo().bmiColors, hb.DibInfo().bmiColors, 1024)) << name;
    }
    EXPECT_GE(pairs, 30);
}
