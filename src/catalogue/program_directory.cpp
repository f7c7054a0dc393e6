#include "catalogue/program_directory.h"

namespace sc {

std::string directoryPart(std::string_view exePath) {
    const std::size_t slash = exePath.rfind('\\');
    if (slash == std::string_view::npos) {
        return {};
    }
    return std::string(exePath.substr(0, slash + 1));
}

std::string joinPath(std::string_view directory, std::string_view fileName) {
    std::string path(directory);
    if (!path.empty() && path.back() != '\\') {
        path.push_back('\\');
    }
    path.append(fileName);
    return path;
}

} // namespace sc
