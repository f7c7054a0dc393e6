// The conformance files in the shared folder.
#pragma once

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

namespace pngtest {

inline std::string SuiteDir() {
    return std::string(SC_SHARED_DIR) + "/pngsuite";
}

// PNG files of a folder, sorted by name.
inline std::vector<std::string> PngFiles(const std::string& dir) {
    std::vector<std::string> files;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.is_regular_file() && entry.path().extension() == ".png")
            files.push_back(entry.path().filename().string());
    std::sort(files.begin(), files.end());
    return files;
}

// Every valid file of both suites, as full paths.
inline std::vector<std::string> ValidSuiteFiles() {
    std::vector<std::string> paths;
    for (const std::string& f : PngFiles(SuiteDir()))
        if (f[0] != 'x')
            paths.push_back(SuiteDir() + "/" + f);
    for (const std::string& f : PngFiles(SuiteDir() + "/testpngs"))
        paths.push_back(SuiteDir() + "/testpngs/" + f);
    return paths;
}

} // namespace pngtest
