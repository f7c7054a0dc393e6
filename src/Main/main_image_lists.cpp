#include "Main/main_image_lists.h"

#include "Main/pictures/embedded_pictures.h"

#include <initializer_list>
#include <stdexcept>
#include <string>

namespace sc {

namespace {

std::span<const unsigned char> picture(const std::string& file) {
    std::span<const unsigned char> data = embeddedPicture(file);
    if (data.empty()) {
        throw std::logic_error("The picture " + file + " is not in the program");
    }
    return data;
}

// The list at its design size, with the sets at 1.5 and 2 times it ("name-150.png" and
// "name-200.png" beside each "name.png").
tk::PngImageListDefinition imageList(const char* name, int size,
                                     std::initializer_list<const char*> files) {
    tk::PngImageListDefinition list;
    list.name = name;
    list.height = size;
    list.width = size;
    for (int percent : {150, 200}) {
        const int scaled = size * percent / 100;
        list.scaledSets.push_back({scaled, scaled, {}});
    }
    for (const char* file : files) {
        int index = static_cast<int>(list.pngImages.size());
        list.pngImages.push_back(
            {picture(file), "PngImage" + std::to_string(index), kStoredClWindow});
        const std::string stem = std::string(file).substr(0, std::string(file).size() - 4);
        list.scaledSets[0].pngData.push_back(picture(stem + "-150.png"));
        list.scaledSets[1].pngData.push_back(picture(stem + "-200.png"));
    }
    return list;
}

} // namespace

std::vector<tk::PngImageListDefinition> mainWindowImageLists() {
    const char* data = "category-data.png";
    const char* music = "category-music.png";
    const char* video = "category-video.png";
    const char* tools = "category-tools.png";
    std::vector<tk::PngImageListDefinition> lists;
    lists.push_back(imageList("PngImageListMain", 48, {data, music, video, tools}));
    lists.push_back(imageList("PngImageListData", 48,
                              {data, data, data, data, music, "task-rip.png", video, video, video,
                               "task-erase.png", "task-device-info.png", tools,
                               "task-image-write.png", "task-image-read.png"}));
    lists.push_back(imageList("PngImageListButton", 32, {"button-help.png", "button-ok.png"}));
    return lists;
}

} // namespace sc
