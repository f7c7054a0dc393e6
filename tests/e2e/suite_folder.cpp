#include "suite_folder.h"

#include "text/utf.h"

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace e2e {
namespace {

namespace fs = std::filesystem;

fs::path fileSystemPath(const std::string& path) {
    return fs::path(sc::text::toUtf16(path));
}

bool writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(fileSystemPath(path), std::ios::binary | std::ios::trunc);
    out << contents;
    out.close();
    return static_cast<bool>(out);
}

// Letters of scripts that no one code page holds together (Greek, Cyrillic, Japanese) and one
// beyond U+FFFF, as the folder of a user in another country may have them.
std::string uniqueFolderName() {
    static unsigned counter = 0;
    std::ostringstream name;
    name << "sc-e2e-\xCE\xA9\xCE\xBC\xCE\xAD\xCE\xB3\xCE\xB1-\xD0\x96\xD1\x83\xD0\xBA-"
            "\xE6\x97\xA5\xE6\x9C\xAC-\xF0\x9D\x92\x9C-"
         << GetCurrentProcessId() << '-' << GetTickCount64() << '-' << ++counter;
    return name.str();
}

} // namespace

std::string windowsPath(std::string path) {
    for (char& c : path) {
        if (c == '/') {
            c = '\\';
        }
    }
    return path;
}

SuiteFolder::SuiteFolder(const std::string& sourceDir,
                         const std::optional<std::string>& descriptionFile, bool autoclose) {
    std::error_code error;
    const fs::path folder = fs::temp_directory_path(error) / sc::text::toUtf16(uniqueFolderName());
    if (error || !fs::create_directory(folder, error)) {
        error_ = "cannot create a folder under the temporary directory";
        return;
    }
    path_ = sc::text::toUtf8(folder.wstring()) + "\\";
    for (const fs::directory_entry& entry :
         fs::directory_iterator(fileSystemPath(windowsPath(sourceDir)), error)) {
        if (entry.is_regular_file() &&
            !fs::copy_file(entry.path(), folder / entry.path().filename(), error)) {
            error_ = "cannot copy " + sc::text::toUtf8(entry.path().filename().wstring());
        }
    }
    if (error) {
        error_ = "cannot copy the suite from " + sourceDir;
    }
    fs::remove(folder / L"lame.dll", error);
    if (descriptionFile && !writeFile(path_ + "lame.dll", *descriptionFile)) {
        error_ = "cannot write lame.dll";
    }
    if (autoclose && !writeFile(path_ + "standin.autoclose", "")) {
        error_ = "cannot write standin.autoclose";
    }
}

// A stand-in that still runs may keep its log open for a moment: removing is tried a few times.
SuiteFolder::~SuiteFolder() {
    std::error_code error;
    for (int attempt = 0; !path_.empty() && attempt < 20; ++attempt) {
        if (fs::remove_all(fileSystemPath(path_), error) != static_cast<std::uintmax_t>(-1) &&
            !error) {
            return;
        }
        Sleep(100);
    }
}

std::vector<std::string> SuiteFolder::launchLog() const {
    std::vector<std::string> lines;
    std::ifstream in(fileSystemPath(path_ + "standin.log"), std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) {
            line.pop_back();
        }
        if (!line.empty()) {
            lines.push_back(line);
        }
    }
    return lines;
}

} // namespace e2e
