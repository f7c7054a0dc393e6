#include "app/title_format.h"

#include <gtest/gtest.h>

namespace sc {
namespace {

TEST(TitleFormat, MenuCaptionsTakeTheTitle) {
    EXPECT_EQ(formatWithTitle("%s On the Web...", "Quillmark"), "Quillmark On the Web...");
    EXPECT_EQ(formatWithTitle("A&bout %s...", "Quillmark"), "A&bout Quillmark...");
    EXPECT_EQ(formatWithTitle("A&bout %s...", ""), "A&bout ...");
}

TEST(TemplateFormat, ArgumentsGoInOrderAndOtherSpecifiersStay) {
    EXPECT_EQ(formatTemplate("%d-%s, %d %s %x 100%% %", {{'d', "7"}, {'s', "Co"}}),
              "7-Co, %d %s %x 100% %");
    // A company placeholder before the year's takes nothing: arguments are not reordered.
    EXPECT_EQ(formatTemplate("%s %d", {{'d', "7"}, {'s', "Co"}}), "%s 7");
}

} // namespace
} // namespace sc
