#include "Main/row_painter.h"

#include <gtest/gtest.h>

#include <string>

namespace sc {
namespace {

// The category list as the main window has it: 169 wide with its border, 80-pixel rows,
// 48 x 48 pictures.
CategoryRowInput categoryRow(Rect r, int index, unsigned state, std::string_view text,
                             Size textSize) {
    return CategoryRowInput{r, index, state, 169, kCategoryRowHeight, Size{48, 48}, text, textSize};
}

TextOp text(std::int32_t x, std::int32_t y, std::string s, Colour colour, Colour background,
            FontStyle style = FontStyle::regular) {
    return TextOp{Point{x, y}, std::move(s), colour, background, style};
}

TEST(CategoryRow, UnselectedRowIsWhiteWithBlackNameUnderThePicture) {
    const Rect r{0, 0, 165, 80};
    const DrawOps ops = paintCategoryRow(categoryRow(r, 0, 0, "Data", Size{25, 13}));
    const DrawOps expected = {
        FillOp{r, kWhite},
        ImageOp{ImageListId::main, 0, Point{60, 6}},
        text((169 - 25) / 2, 58, "Data", kBlack, kWhite),
    };
    EXPECT_EQ(ops, expected);
}

TEST(CategoryRow, SelectedFocusedRowIsGreyWithAFocusFrame) {
    const Rect r{0, 160, 165, 240};
    const DrawOps ops =
        paintCategoryRow(categoryRow(r, 2, odSelected | odFocused, "Video", Size{29, 13}));
    const DrawOps expected = {
        FillOp{r, kWhite},
        FillOp{r, kGray},
        FocusOp{r},
        ImageOp{ImageListId::main, 2, Point{60, 166}},
        text(70, 218, "Video", kWhite, kGray),
    };
    EXPECT_EQ(ops, expected);
}

TEST(CategoryRow, OnlyTheSelectedAndFocusedFlagsCount) {
    const Rect r{0, 80, 165, 160};
    // Focused alone: the list draws its own frame, the handler none.
    const DrawOps focused = paintCategoryRow(categoryRow(r, 1, odFocused, "Music", Size{30, 13}));
    ASSERT_EQ(focused.size(), 3u);
    EXPECT_EQ(focused[0], DrawOp(FillOp{r, kWhite}));
    EXPECT_EQ(std::get<TextOp>(focused[2]).colour, kBlack);
    // Selected alone: grey, no frame; other state bits change nothing.
    const DrawOps selected =
        paintCategoryRow(categoryRow(r, 1, odSelected | 0x2 | 0x4 | 0x100, "Music", Size{30, 13}));
    const DrawOps expected = {
        FillOp{r, kWhite},
        FillOp{r, kGray},
        ImageOp{ImageListId::main, 1, Point{60, 86}},
        text(69, 138, "Music", kWhite, kGray),
    };
    EXPECT_EQ(selected, expected);
}

TEST(CategoryRow, HalvingTruncatesTowardsZero) {
    const Rect r{0, 0, 36, 20};
    CategoryRowInput in{r, 3, 0, 40, 20, Size{49, 49}, "Tools", Size{200, 16}};
    const DrawOps ops = paintCategoryRow(in);
    ASSERT_EQ(ops.size(), 3u);
    // (40 - 49) div 2 = -4 and (20 - 49) div 2 = -14, not -5 and -15.
    EXPECT_EQ(std::get<ImageOp>(ops[1]).at, (Point{-4, -14 - 10}));
    // (40 - 200) div 2 = -80; (20 - 16) div 2 = 2.
    EXPECT_EQ(std::get<TextOp>(ops[2]).at, (Point{-80, 2 + 25}));
    in.textSize = Size{41, 13};
    EXPECT_EQ(std::get<TextOp>(paintCategoryRow(in)[2]).at, (Point{0, 3 + 25}));
}

TEST(TaskRow, ToolsRowHasPictureBoldTitleAndThreeLines) {
    const Rect r{0, 75, 462, 150};
    const DrawOps ops = paintTaskRow(TaskRowInput{
        r, 1, 0, 3, "Device Info\rThis wizard will show information\rin the system.\r "});
    const DrawOps expected = {
        FillOp{r, kWhite},
        ImageOp{ImageListId::data, 10, Point{25, 90}},
        text(100, 80, "Device Info", kBlack, kWhite, FontStyle::bold),
        text(100, 100, "This wizard will show information", kBlack, kWhite),
        text(100, 115, "in the system.", kBlack, kWhite),
        text(100, 130, " ", kBlack, kWhite),
    };
    EXPECT_EQ(ops, expected);
}

TEST(TaskRow, SelectedRowIsGreyWithWhiteText) {
    const Rect r{0, 150, 462, 225};
    const DrawOps ops = paintTaskRow(TaskRowInput{r, 2, odSelected | odFocused, 2, "T\rA\rB\rC"});
    const DrawOps expected = {
        FillOp{r, kWhite},
        FillOp{r, kGray},
        FocusOp{r},
        ImageOp{ImageListId::data, 8, Point{25, 165}},
        text(100, 155, "T", kWhite, kGray, FontStyle::bold),
        text(100, 175, "A", kWhite, kGray),
        text(100, 190, "B", kWhite, kGray),
        text(100, 205, "C", kWhite, kGray),
    };
    EXPECT_EQ(ops, expected);
}

// At 144 DPI: the lists are 254 wide with rows of 120 and 113, the pictures 72 x 72, and each
// offset of the row design is scaled (lift 10 -> 15, drop 25 -> 38, 25 -> 38, 100 -> 150, ...).
TEST(RowsAt144Dpi, OffsetsAndTextPositionsAreScaled) {
    const Rect category{0, 120, 250, 240};
    const DrawOps categoryOps = paintCategoryRow(
        CategoryRowInput{category, 1, 0, 254, 120, Size{72, 72}, "Music", Size{44, 21}, 144});
    const DrawOps expectedCategory = {
        FillOp{category, kWhite},
        ImageOp{ImageListId::main, 1, Point{91, 120 + 24 - 15}},
        text(105, 120 + 49 + 38, "Music", kBlack, kWhite),
    };
    EXPECT_EQ(categoryOps, expectedCategory);

    const Rect task{0, 113, 695, 226};
    const DrawOps taskOps = paintTaskRow(TaskRowInput{
        task, 1, 0, 3, "Device Info\rThis wizard will show information\rin the system.\r ", 144});
    const DrawOps expectedTask = {
        FillOp{task, kWhite},
        ImageOp{ImageListId::data, 10, Point{38, 113 + 23}},
        text(150, 113 + 8, "Device Info", kBlack, kWhite, FontStyle::bold),
        text(150, 113 + 38, "This wizard will show information", kBlack, kWhite),
        text(150, 113 + 60, "in the system.", kBlack, kWhite),
        text(150, 113 + 83, " ", kBlack, kWhite),
    };
    EXPECT_EQ(taskOps, expectedTask);
}

TEST(TaskLines, FourLinesSplitAtTheCarriageReturns) {
    using Lines = std::array<std::string, 4>;
    EXPECT_EQ(splitTaskLines("Title\rOne\rTwo\rThree"), (Lines{"Title", "One", "Two", "Three"}));
    EXPECT_EQ(splitTaskLines("Title\rOne\rTwo\r "), (Lines{"Title", "One", "Two", " "}));
    EXPECT_EQ(splitTaskLines("\r\r\r"), (Lines{"", "", "", ""}));
    EXPECT_EQ(splitTaskLines(""), (Lines{"", "", "", ""}));
}

TEST(TaskLines, OddBlocks) {
    using Lines = std::array<std::string, 4>;
    // One or two carriage returns: the text after the last one is lost.
    EXPECT_EQ(splitTaskLines("A\rB"), (Lines{"A", "", "", ""}));
    EXPECT_EQ(splitTaskLines("A\rB\rC"), (Lines{"A", "B", "", ""}));
    EXPECT_EQ(splitTaskLines("A\rBC\rDEFG"), (Lines{"A", "BC", "", "EFG"}));
    EXPECT_EQ(splitTaskLines("A\r"), (Lines{"A", "", "", ""}));
    // None: three empty lines, then the text from its fourth character on.
    EXPECT_EQ(splitTaskLines("Hello world"), (Lines{"", "", "", "lo world"}));
    EXPECT_EQ(splitTaskLines("abc"), (Lines{"", "", "", ""}));
    EXPECT_EQ(splitTaskLines("ab"), (Lines{"", "", "", ""}));
    // More than three: everything after the third goes into line 4, carriage returns included.
    EXPECT_EQ(splitTaskLines("A\rB\rC\rD\rE\r"), (Lines{"A", "B", "C", "D\rE\r"}));
}

} // namespace
} // namespace sc
