#include "catalogue/task_catalogue.h"

#include <array>
#include <cstddef>
#include <limits>

namespace sc {
namespace {

// A task's text block is `head`, then (for the titled tasks) the application title and `tail`.
struct TaskEntry {
    std::string_view head;
    bool titled = false;
    std::string_view tail;
    std::string_view program;
};

struct TaskCategory {
    std::string_view name;
    int firstPicture;
    std::span<const TaskEntry> tasks;
};

constexpr std::string_view kDataDisc = "DataDiscTool.exe";
constexpr std::string_view kAudioDisc = "AudioDiscTool.exe";
constexpr std::string_view kTrackRip = "TrackRipTool.exe";
constexpr std::string_view kVideoDisc = "VideoDiscTool.exe";
constexpr std::string_view kErase = "EraseTool.exe";
constexpr std::string_view kDriveInfo = "DriveInfoTool.exe";
constexpr std::string_view kImageBuild = "ImageBuildTool.exe";
constexpr std::string_view kImageWrite = "ImageWriteTool.exe";
constexpr std::string_view kImageRead = "ImageReadTool.exe";

constexpr std::array<std::string_view, 9> kProgramFiles = {kDataDisc,   kAudioDisc,  kTrackRip,
                                                           kVideoDisc,  kErase,      kDriveInfo,
                                                           kImageBuild, kImageWrite, kImageRead};

constexpr std::array<TaskEntry, 4> kDataTasks = {{
    {"Data CD\rCreate a standard data disc which can be used to save all\r"
     "types of files and complete folders. The disc can be read\ron all Windows platforms.",
     false, "", kDataDisc},
    {"Data DVD\rCreate a data DVD which can be used to save all types of\r"
     "files and complete folders. The DVD can be read on all\rWindows platforms.",
     false, "", kDataDisc},
    {"Data HD DVD\rCreate a HD DVD which can be used to save all types of\r"
     "files and complete folders. The disc can be read on all\r"
     "Windows platforms which support HD DVD drives.",
     false, "", kDataDisc},
    {"Data Blu-ray Disc\rCreate a Blu-ray disc which can be used to save all types\r"
     "of files and complete folders. The disc can be read on all\rWindows platforms.",
     false, "", kDataDisc},
}};

constexpr std::array<TaskEntry, 2> kMusicTasks = {{
    {"Audio CD\rCreate a standard data Audio CD which will play on all audio\r"
     "CD players. MP3/OGG/WMA files will be automatically converted\r"
     "to Audio CD format during the burn process.",
     false, "", kAudioDisc},
    {"Grab Audio CD\rGrab audio track from Audio CD to wave file and convert audio data\r"
     "to Windows Media Audio format\r ",
     false, "", kTrackRip},
}};

constexpr std::array<TaskEntry, 3> kVideoTasks = {{
    {"Video CD\rCreate a Video CD from your video that can be played back on\r"
     "most VCD and DVD players. The files are automatically converted\r"
     "to the correct format during the burn process.",
     false, "", kVideoDisc},
    {"Super Video CD\rCreate a high quality Super Video CD from your video that can be\r"
     "played back on most SVCD and DVD players. The files are automatically\r"
     "converted to the correct format during the burn process.",
     false, "", kVideoDisc},
    {"DVD-Video Files\rCreate a high quality DVD-Video from DVD-Video file structures on\r"
     "Your hard drive. Please note that to make a DVD-Video disc you\r"
     "must use a DVD authoring tool.",
     false, "", kVideoDisc},
}};

constexpr std::array<TaskEntry, 5> kToolsTasks = {{
    {"Disc Eraser\rThis wizard will guide you through CD or DVD disc erasing process\rusing ", true,
     ".\r ", kErase},
    {"Device Info\rThis wizard will show information about CD/DVD devices present\r"
     "in the system and discs inserted into them.\r ",
     false, "", kDriveInfo},
    {"ISO Creator\rThe wizard will help you to build file system ISO that can be later\r"
     "burned on disc.\r ",
     false, "", kImageBuild},
    {"ISO Burner\rThe wizard will guide you through file system ISO burning process\rusing ", true,
     ".\r ", kImageWrite},
    {"ISO Grabber\rThe wizard will guide you through data disc grabbing process using\r", true,
     ".\r ", kImageRead},
}};

constexpr std::array<TaskCategory, kCategoryCount> kCategories = {{
    {"Data", 0, kDataTasks},
    {"Music", 4, kMusicTasks},
    {"Video", 6, kVideoTasks},
    {"Tools", 9, kToolsTasks},
}};

constexpr std::array<std::string_view, kCategoryCount> kCategoryNames = {
    kCategories[0].name, kCategories[1].name, kCategories[2].name, kCategories[3].name};

const TaskCategory* findCategory(int category) {
    if (category < 0 || category >= kCategoryCount) {
        return nullptr;
    }
    return &kCategories[static_cast<std::size_t>(category)];
}

const TaskEntry* findTask(int category, int row) {
    const TaskCategory* c = findCategory(category);
    if (c == nullptr || row < 0 || static_cast<std::size_t>(row) >= c->tasks.size()) {
        return nullptr;
    }
    return &c->tasks[static_cast<std::size_t>(row)];
}

std::string composeText(const TaskEntry& task, std::string_view title) {
    std::string text(task.head);
    if (task.titled) {
        text.append(title);
        text.append(task.tail);
    }
    return text;
}

} // namespace

std::span<const std::string_view> categoryNames() {
    return kCategoryNames;
}

int categoryTaskCount(int category) {
    const TaskCategory* c = findCategory(category);
    return c == nullptr ? 0 : static_cast<int>(c->tasks.size());
}

std::optional<std::vector<std::string>> categoryTaskTexts(int category, std::string_view title) {
    const TaskCategory* c = findCategory(category);
    if (c == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> texts;
    texts.reserve(c->tasks.size());
    for (const TaskEntry& task : c->tasks) {
        texts.push_back(composeText(task, title));
    }
    return texts;
}

int taskImageIndex(int category, int row) {
    const TaskCategory* c = findCategory(category);
    const int first = c == nullptr ? 0 : c->firstPicture;
    // Rows come from a list control and are small; saturate rather than overflow on nonsense.
    if (row > std::numeric_limits<int>::max() - first) {
        return std::numeric_limits<int>::max();
    }
    return first + row;
}

std::optional<std::string> taskProgramFile(int category, int row) {
    const TaskEntry* task = findTask(category, row);
    if (task == nullptr) {
        return std::nullopt;
    }
    return std::string(task->program);
}

std::span<const std::string_view> allProgramFiles() {
    return kProgramFiles;
}

} // namespace sc
