// The picture holder: the class chosen by extension, loading, and the file-open error.
#include "png/png_picture_format_win32.h"
#include "png_test_util.h"
#include "toolkit/picture.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

using namespace pngtest;

namespace {

std::string TempPath(const std::string& name) {
    char folder[MAX_PATH];
    GetTempPathA(MAX_PATH, folder);
    return std::string(folder) + name;
}

void WriteFile(const std::string& path, const Bytes& data) {
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), std::streamsize(data.size()));
}

} // namespace

TEST(Picture, ChoosesTheClassByExtensionWithoutRegardToCase) {
    {
        sc::png::TPngPictureFormat format;
        EXPECT_EQ(tk::TPicture::ClassForExtension(".png"), &sc::png::TPNGObject::GraphicClass);
        EXPECT_EQ(tk::TPicture::DescriptionForExtension("PNG"), "Portable Network Graphics");
        const std::string path = TempPath("picture_test.PnG");
        WriteFile(path, BuildPng(Pattern(5, 3, 8, 6), false));
        tk::TPicture picture;
        picture.LoadFromFile(path);
        ASSERT_NE(picture.Graphic(), nullptr);
        EXPECT_STREQ(picture.Graphic()->ClassName(), "TPNGObject");
        EXPECT_EQ(picture.Width(), 5);
        EXPECT_EQ(picture.Height(), 3);

        // A failed load keeps the previous graphic.
        const std::string broken = TempPath("picture_broken.png");
        WriteFile(broken, Bytes{1, 2, 3});
        EXPECT_THROW(picture.LoadFromFile(broken), sc::png::EPNGInvalidFileHeader);
        EXPECT_EQ(picture.Width(), 5);
        try {
            picture.LoadFromFile("picture.xyz");
            FAIL() << "unknown extension";
        } catch (const tk::EInvalidGraphic& e) {
            EXPECT_STREQ(e.what(), "Unknown picture file extension (.xyz)");
        }
        DeleteFileA(path.c_str());
        DeleteFileA(broken.c_str());
    }
    EXPECT_EQ(tk::TPicture::ClassForExtension("png"), nullptr); // left again
}

TEST(Picture, MissingFileNamesItsFullPathAndTheSystemMessage) {
    sc::png::TPngPictureFormat format;
    char full[MAX_PATH];
    GetFullPathNameA("no-such-logo.png", MAX_PATH, full, nullptr);
    // The system's own text (Windows: "The system cannot find the file specified.").
    char text[512] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, text, sizeof text, nullptr);
    std::string message = text;
    while (!message.empty() && (message.back() == '\n' || message.back() == '\r'))
        message.pop_back();
    ASSERT_FALSE(message.empty());
    tk::TPicture picture;
    try {
        picture.LoadFromFile("no-such-logo.png");
        FAIL() << "missing file";
    } catch (const tk::EFOpenError& e) {
        EXPECT_EQ(std::string(e.what()),
                  std::string("Cannot open file \"") + full + "\". " + message);
    }
    EXPECT_EQ(picture.Graphic(), nullptr);
}
