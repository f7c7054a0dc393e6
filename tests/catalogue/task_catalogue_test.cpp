#include "catalogue/task_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>

namespace sc {
namespace {

TEST(TaskCatalogue, CategoriesInListOrderWithTheirTaskCounts) {
    const auto names = categoryNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kCategoryCount));
    EXPECT_EQ(names[0], "Data");
    EXPECT_EQ(names[1], "Music");
    EXPECT_EQ(names[2], "Video");
    EXPECT_EQ(names[3], "Tools");
    const int rows[] = {4, 2, 3, 5};
    for (int c = 0; c < kCategoryCount; ++c) {
        EXPECT_EQ(categoryTaskTexts(c, "Quillmark")->size(), static_cast<std::size_t>(rows[c]));
        EXPECT_EQ(categoryTaskCount(c), rows[c]);
    }
}

TEST(TaskCatalogue, TheDocumentedProgramFiles) {
    EXPECT_EQ(taskProgramFile(1, 1), std::string("TrackRipTool.exe"));
    EXPECT_EQ(taskProgramFile(3, 1), std::string("DriveInfoTool.exe"));
    for (int row = 0; row < 4; ++row) {
        EXPECT_EQ(taskProgramFile(0, row), std::string("DataDiscTool.exe")) << row;
    }
}

TEST(TaskCatalogue, BlocksHaveFourLinesWithoutLineFeeds) {
    for (int c = 0; c < kCategoryCount; ++c) {
        const auto texts = categoryTaskTexts(c, "Tavero");
        ASSERT_TRUE(texts.has_value());
        for (const std::string& text : *texts) {
            EXPECT_EQ(std::count(text.begin(), text.end(), '\r'), 3) << text;
            EXPECT_EQ(text.find('\n'), std::string::npos) << text;
            EXPECT_NE(text.back(), '\r') << text;
        }
    }
}

TEST(TaskCatalogue, ToolsTextsAreBuiltFromTheTitleOfTheCall) {
    const auto first = categoryTaskTexts(3, "Sandrel");
    const auto second = categoryTaskTexts(3, "100% R&D");
    ASSERT_TRUE(first && second);
    EXPECT_EQ((*first)[0], "Disc Eraser\rThis wizard will guide you through CD or DVD disc "
                           "erasing process\rusing Sandrel.\r ");
    // "%" and "&" are plain characters of the title here.
    EXPECT_EQ((*second)[0], "Disc Eraser\rThis wizard will guide you through CD or DVD disc "
                            "erasing process\rusing 100% R&D.\r ");
    EXPECT_EQ((*second)[3], "ISO Burner\rThe wizard will guide you through file system ISO "
                            "burning process\rusing 100% R&D.\r ");
    EXPECT_EQ((*second)[4], "ISO Grabber\rThe wizard will guide you through data disc grabbing "
                            "process using\r100% R&D.\r ");
    // The other rows do not depend on the title.
    for (std::size_t row : {1u, 2u}) {
        EXPECT_EQ((*first)[row], (*second)[row]);
    }
    const auto empty = categoryTaskTexts(3, "");
    EXPECT_EQ((*empty)[4], "ISO Grabber\rThe wizard will guide you through data disc grabbing "
                           "process using\r.\r ");
}

TEST(TaskCatalogue, PairsOutsideTheTablesNameNothing) {
    for (int c : {-1, 4, 100}) {
        EXPECT_FALSE(categoryTaskTexts(c, "Quillmark").has_value()) << c;
        EXPECT_FALSE(taskProgramFile(c, 0).has_value()) << c;
        EXPECT_EQ(categoryTaskCount(c), 0) << c;
    }
    const int rows[] = {4, 2, 3, 5};
    for (int c = 0; c < kCategoryCount; ++c) {
        EXPECT_FALSE(taskProgramFile(c, -1).has_value()) << c;
        EXPECT_FALSE(taskProgramFile(c, rows[c]).has_value()) << c;
        EXPECT_TRUE(taskProgramFile(c, rows[c] - 1).has_value()) << c;
    }
    EXPECT_FALSE(taskProgramFile(-1, -1).has_value());
    EXPECT_FALSE(taskProgramFile(2, 3).has_value()); // Video has no fourth task
}

TEST(TaskCatalogue, PictureIndexIsFirstPicturePlusRow) {
    EXPECT_EQ(taskImageIndex(1, 1), 5);
    EXPECT_EQ(taskImageIndex(3, 4), 13);
    // Without a category the rows count from picture 0.
    EXPECT_EQ(taskImageIndex(-1, 0), 0);
    EXPECT_EQ(taskImageIndex(-1, 3), 3);
    EXPECT_EQ(taskImageIndex(7, 2), 2);
    // Rows past the table still add up; the painter never asks for them.
    EXPECT_EQ(taskImageIndex(3, 5), 14);
}

TEST(TaskCatalogue, ProgramFilesAreTheNineDistinctOnesOfTheTasks) {
    const auto files = allProgramFiles();
    const std::set<std::string_view> distinct(files.begin(), files.end());
    EXPECT_EQ(files.size(), 9u);
    EXPECT_EQ(distinct.size(), 9u);
    std::set<std::string> used;
    for (int c = 0; c < kCategoryCount; ++c) {
        for (int row = 0; row < categoryTaskCount(c); ++row) {
            used.insert(*taskProgramFile(c, row));
        }
    }
    EXPECT_EQ(used, std::set<std::string>(distinct.begin(), distinct.end()));
}

} // namespace
} // namespace sc
