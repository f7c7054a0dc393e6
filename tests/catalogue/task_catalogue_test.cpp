#include "catalogue/task_catalogue.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <vector>

namespace sc {
namespace {

struct ExpectedTask {
    int category, row, picture;
    const char* program;
    std::string text;
};

// The catalogue as the suite's documentation lists it, with the title "Quillmark".
std::vector<ExpectedTask> expectedTasks() {
    return {
        {0, 0, 0, "DataDiscTool.exe",
         "Data CD\rCreate a standard data disc which can be used to save all\rtypes of files and "
         "complete folders. The disc can be read\ron all Windows platforms."},
        {0, 1, 1, "DataDiscTool.exe",
         "Data DVD\rCreate a data DVD which can be used to save all types of\rfiles and complete "
         "folders. The DVD can be read on all\rWindows platforms."},
        {0, 2, 2, "DataDiscTool.exe",
         "Data HD DVD\rCreate a HD DVD which can be used to save all types of\rfiles and complete "
         "folders. The disc can be read on all\rWindows platforms which support HD DVD drives."},
        {0, 3, 3, "DataDiscTool.exe",
         "Data Blu-ray Disc\rCreate a Blu-ray disc which can be used to save all types\rof files "
         "and complete folders. The disc can be read on all\rWindows platforms."},
        {1, 0, 4, "AudioDiscTool.exe",
         "Audio CD\rCreate a standard data Audio CD which will play on all audio\rCD players. "
         "MP3/OGG/WMA files will be automatically converted\rto Audio CD format during the burn "
         "process."},
        {1, 1, 5, "TrackRipTool.exe",
         "Grab Audio CD\rGrab audio track from Audio CD to wave file and convert audio data\rto "
         "Windows Media Audio format\r "},
        {2, 0, 6, "VideoDiscTool.exe",
         "Video CD\rCreate a Video CD from your video that can be played back on\rmost VCD and "
         "DVD players. The files are automatically converted\rto the correct format during the "
         "burn process."},
        {2, 1, 7, "VideoDiscTool.exe",
         "Super Video CD\rCreate a high quality Super Video CD from your video that can "
         "be\rplayed back on most SVCD and DVD players. The files are "
         "automatically\rconverted to the correct format during the burn process."},
        {2, 2, 8, "VideoDiscTool.exe",
         "DVD-Video Files\rCreate a high quality DVD-Video from DVD-Video file structures "
         "on\rYour hard drive. Please note that to make a DVD-Video disc you\rmust use a DVD "
         "authoring tool."},
        {3, 0, 9, "EraseTool.exe",
         "Disc Eraser\rThis wizard will guide you through CD or DVD disc erasing process\rusing "
         "Quillmark.\r "},
        {3, 1, 10, "DriveInfoTool.exe",
         "Device Info\rThis wizard will show information about CD/DVD devices present\rin the "
         "system and discs inserted into them.\r "},
        {3, 2, 11, "ImageBuildTool.exe",
         "ISO Creator\rThe wizard will help you to build file system ISO that can be "
         "later\rburned on disc.\r "},
        {3, 3, 12, "ImageWriteTool.exe",
         "ISO Burner\rThe wizard will guide you through file system ISO burning process\rusing "
         "Quillmark.\r "},
        {3, 4, 13, "ImageReadTool.exe",
         "ISO Grabber\rThe wizard will guide you through data disc grabbing process "
         "using\rQuillmark.\r "},
    };
}

TEST(TaskCatalogue, CategoriesInListOrder) {
    const auto names = categoryNames();
    ASSERT_EQ(names.size(), static_cast<std::size_t>(kCategoryCount));
    EXPECT_EQ(names[0], "Data");
    EXPECT_EQ(names[1], "Music");
    EXPECT_EQ(names[2], "Video");
    EXPECT_EQ(names[3], "Tools");
}

TEST(TaskCatalogue, EveryTaskHasItsTextPictureAndProgram) {
    const auto expected = expectedTasks();
    std::vector<int> rowsPerCategory(kCategoryCount, 0);
    for (const ExpectedTask& task : expected) {
        SCOPED_TRACE(testing::Message() << "category " << task.category << " row " << task.row);
        const auto texts = categoryTaskTexts(task.category, "Quillmark");
        ASSERT_TRUE(texts.has_value());
        ASSERT_LT(static_cast<std::size_t>(task.row), texts->size());
        EXPECT_EQ((*texts)[static_cast<std::size_t>(task.row)], task.text);
        EXPECT_EQ(taskImageIndex(task.category, task.row), task.picture);
        EXPECT_EQ(taskProgramFile(task.category, task.row), std::string(task.program));
        ++rowsPerCategory[static_cast<std::size_t>(task.category)];
    }
    EXPECT_EQ(rowsPerCategory, (std::vector<int>{4, 2, 3, 5}));
    for (int c = 0; c < kCategoryCount; ++c) {
        EXPECT_EQ(categoryTaskTexts(c, "Quillmark")->size(),
                  static_cast<std::size_t>(rowsPerCategory[static_cast<std::size_t>(c)]));
        EXPECT_EQ(categoryTaskCount(c), rowsPerCategory[static_cast<std::size_t>(c)]);
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
    std::set<std::string_view> used;
    for (const ExpectedTask& task : expectedTasks()) {
        used.insert(task.program);
    }
    EXPECT_EQ(used, distinct);
}

} // namespace
} // namespace sc
