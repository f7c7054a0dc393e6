// The release's notes for the suite's maintainers name what the program really reads and
// starts: the six product names in table order and the nine task programs.
#include "app/product_profile.h"
#include "catalogue/task_catalogue.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

namespace sc {
namespace {

std::string notes() {
    std::ifstream in(SC_MAINTAINERS_NOTES, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

TEST(MaintainersNotes, ListTheSixProductNamesInTableOrderAndEveryTaskProgram) {
    const std::string text = notes();
    ASSERT_FALSE(text.empty()) << SC_MAINTAINERS_NOTES;
    const std::size_t names = text.find("2. The six product names");
    ASSERT_NE(names, std::string::npos);
    std::size_t at = names;
    for (const BrandRow& row : brandTable()) {
        const std::size_t found = text.find("\n    " + std::string(row.productTitle) + "\n", at);
        EXPECT_NE(found, std::string::npos) << row.productTitle;
        at = found == std::string::npos ? at : found;
    }
    for (std::string_view program : allProgramFiles()) {
        EXPECT_NE(text.find(std::string(program)), std::string::npos) << program;
    }
    for (const char* key : {"Name=", "Version=", "Company="}) {
        EXPECT_NE(text.find(key), std::string::npos) << key;
    }
}

} // namespace
} // namespace sc
