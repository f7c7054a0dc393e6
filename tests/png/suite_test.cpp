// The conformance suites: every broken file fails with the class of its fault, every valid one
// reads (the native oracle test compares their pixels with libpng's).
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
        EXPECT_TRUE(ChunkTypes(image).ends_with(" IEND")) << path;
    }
}
