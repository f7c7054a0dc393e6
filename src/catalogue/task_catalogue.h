#pragma once
// The fixed table of the start centre's categories and tasks.

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace sc {

inline constexpr int kCategoryCount = 4;

// The category names in list order: "Data", "Music", "Video", "Tools".
std::span<const std::string_view> categoryNames();

// Number of tasks of a category (4, 2, 3, 5); 0 for a category outside 0..3.
int categoryTaskCount(int category);

// Text blocks of a category's tasks in row order. Tools rows 0, 3 and 4 are built from `title`
// at the moment of the call. nullopt for a category outside 0..3.
std::optional<std::vector<std::string>> categoryTaskTexts(int category, std::string_view title);

// Picture of a task in the task image list: the category's first picture (0, 4, 6, 9; 0 for a
// category outside 0..3) plus the row.
int taskImageIndex(int category, int row);

// Program file of a task; nullopt when the pair names no task (also for -1, nothing selected).
std::optional<std::string> taskProgramFile(int category, int row);

// The nine distinct program file names of the suite.
std::span<const std::string_view> allProgramFiles();

} // namespace sc
