// The description file read through the platform's profile reader.
#include "app/description_file.h"
#include "app/platform_services.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>

namespace sc {
namespace {

class ProfileReaderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        char temp[MAX_PATH];
        GetTempPathA(MAX_PATH, temp);
        directory = std::string(temp) + "sc-profile-" + std::to_string(GetCurrentProcessId()) +
                    "-" + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "\\";
        CreateDirectoryA(directory.c_str(), nullptr);
    }
    void TearDown() override {
        DeleteFileA(descriptionFilePath(directory).c_str());
        RemoveDirectoryA(directory.c_str());
    }
    void write(const std::string& text) {
        std::ofstream(descriptionFilePath(directory), std::ios::binary) << text;
    }
    std::string read(std::string_view key) { return readDescriptionValue(reader, directory, key); }

    std::string directory;
    Win32ProfileReader reader;
};

TEST_F(ProfileReaderTest, ReadsTheThreeKeysOfSectionSystem) {
    write("[SYSTEM]\r\nName=Quillmark\r\nVersion=2.1.0 build 7\r\nCompany=Quill & Co.\r\n");
    EXPECT_EQ(read("Name"), "Quillmark");
    EXPECT_EQ(read("Version"), "2.1.0 build 7");
    EXPECT_EQ(read("Company"), "Quill & Co.");
}

TEST_F(ProfileReaderTest, AnythingMissingReadsAsEmpty) {
    EXPECT_EQ(read("Name"), ""); // no file
    write("[OTHER]\nName=Quillmark\n");
    EXPECT_EQ(read("Name"), ""); // no section SYSTEM
    write("[SYSTEM]\nVersion=1\nName=\n");
    EXPECT_EQ(read("Company"), ""); // no key
    EXPECT_EQ(read("Name"), "");    // empty value
}

TEST_F(ProfileReaderTest, KeysAndSectionsMatchWithoutCaseButValuesKeepIt) {
    write("[system]\nNAME=quillmark\n");
    EXPECT_EQ(read("Name"), "quillmark");
}

TEST_F(ProfileReaderTest, AUtf16ValueIsCutAtTheBufferWithoutPartingASurrogatePair) {
    // 2046 units and a pair across the end of the platform's buffer of 2048.
    const std::wstring utf16 = L"\xFEFF[SYSTEM]\nName=" + std::wstring(2046, L'q') + L"𝒜 tail\n";
    write(std::string(reinterpret_cast<const char*>(utf16.data()), utf16.size() * 2));
    EXPECT_EQ(read("Name"), std::string(2046, 'q'));
}

} // namespace
} // namespace sc
