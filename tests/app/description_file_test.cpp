#include "app/description_file.h"
#include "support/fake_profile_reader.h"

#include <gtest/gtest.h>

namespace sc {
namespace {

using test::FakeProfileReader;

TEST(DescriptionFile, LiesBesideTheExecutable) {
    EXPECT_EQ(descriptionFilePath("C:\\Suite\\"), "C:\\Suite\\lame.dll");
    EXPECT_EQ(descriptionFilePath("C:\\Suite"), "C:\\Suite\\lame.dll");
    EXPECT_EQ(descriptionFilePath("D:\\"), "D:\\lame.dll");
}

TEST(DescriptionFile, ReadsTheKeyOfSectionSystem) {
    FakeProfileReader reader;
    reader.set("C:\\Suite\\lame.dll", "SYSTEM", "Name", "Quillmark");
    reader.set("C:\\Suite\\lame.dll", "SYSTEM", "Version", "5.2.0.17");
    reader.set("C:\\Suite\\lame.dll", "OTHER", "Company", "Wrong Section Ltd");
    reader.set("C:\\Elsewhere\\lame.dll", "SYSTEM", "Company", "Wrong File Ltd");

    EXPECT_EQ(readDescriptionValue(reader, "C:\\Suite\\", "Name"), "Quillmark");
    EXPECT_EQ(readDescriptionValue(reader, "C:\\Suite\\", "Version"), "5.2.0.17");
    EXPECT_EQ(readDescriptionValue(reader, "C:\\Suite\\", "Company"), "");
    using Read = FakeProfileReader::Read;
    EXPECT_EQ(reader.reads, (std::vector<Read>{{"C:\\Suite\\lame.dll", "SYSTEM", "Name"},
                                               {"C:\\Suite\\lame.dll", "SYSTEM", "Version"},
                                               {"C:\\Suite\\lame.dll", "SYSTEM", "Company"}}));
}

TEST(DescriptionFile, ValueIsCutTo2047Utf16Units) {
    FakeProfileReader reader;
    const std::string longValue(5000, 'v');
    reader.set("C:\\S\\lame.dll", "SYSTEM", "Company", longValue);
    reader.set("C:\\S\\lame.dll", "SYSTEM", "Name", std::string(2047, 'n'));
    EXPECT_EQ(readDescriptionValue(reader, "C:\\S\\", "Company"), longValue.substr(0, 2047));
    EXPECT_EQ(readDescriptionValue(reader, "C:\\S\\", "Name").size(), 2047u);
    // Counted in UTF-16 units: a character beyond U+FFFF takes two and is not halved.
    const std::string units2046(2046, 'u');
    reader.set("C:\\S\\lame.dll", "SYSTEM", "Version", units2046 + "\xF0\x9D\x92\x9C");
    EXPECT_EQ(readDescriptionValue(reader, "C:\\S\\", "Version"), units2046);
}

} // namespace
} // namespace sc
