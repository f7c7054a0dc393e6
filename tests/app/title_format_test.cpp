#include "app/title_format.h"

#include <gtest/gtest.h>

namespace sc {
namespace {

TEST(TitleFormat, MenuCaptionsTakeTheTitle) {
    EXPECT_EQ(formatWithTitle("%s On the Web...", "Quillmark"), "Quillmark On the Web...");
    EXPECT_EQ(formatWithTitle("A&bout %s...", "Quillmark"), "A&bout Quillmark...");
    EXPECT_EQ(formatWithTitle("A&bout %s...", ""), "A&bout ...");
}

TEST(TitleFormat, TheTitleIsInsertedUnchanged) {
    EXPECT_EQ(formatWithTitle("%s On the Web...", "100%s R&D %%"), "100%s R&D %% On the Web...");
    EXPECT_EQ(formatWithTitle("A&bout %s...", "50% & more"), "A&bout 50% & more...");
}

TEST(TitleFormat, TemplateEscapesAndStraySpecifiers) {
    EXPECT_EQ(formatWithTitle("%% of %s", "X"), "% of X");
    EXPECT_EQ(formatWithTitle("%%s", "X"), "%s");
    // One argument only: later or other specifiers stay as written, and so does a final "%".
    EXPECT_EQ(formatWithTitle("%s and %s", "X"), "X and %s");
    EXPECT_EQ(formatWithTitle("%d %s %", "X"), "%d X %");
    EXPECT_EQ(formatWithTitle("", "X"), "");
}

TEST(TitleFormat, TitleIsClippedTo255Characters) {
    EXPECT_EQ(clipTitle("Tavero"), "Tavero");
    EXPECT_EQ(clipTitle(""), "");
    const std::string exact(kMaxTitleLength, 'a');
    EXPECT_EQ(clipTitle(exact), exact);
    EXPECT_EQ(clipTitle(exact + "bc"), exact);
}

} // namespace
} // namespace sc
