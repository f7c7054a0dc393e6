#include "suite_folder.h"

#include <windows.h>

#include <fstream>
#include <sstream>

namespace e2e {
namespace {

bool writeFile(const std::string& path, const std::string& contents) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << contents;
    out.close();
    return static_cast<bool>(out);
}

std::string uniqueFolderName() {
    static unsigned counter = 0;
    std::ostringstream name;
    name << "sc-e2e-" << GetCurrentProcessId() << '-' << GetTickCount64() << '-' << ++counter;
    return name.str();
}

// Deletes the files of the folder and the folder; a stand-in that still runs may keep its file
// open for a moment, so this tries a few times.
void removeFolder(const std::string& folder) {
    for (int attempt = 0; attempt < 20; ++attempt) {
        WIN32_FIND_DATAA entry;
        HANDLE find = FindFirstFileA((folder + "*").c_str(), &entry);
        if (find != INVALID_HANDLE_VALUE) {
            do {
                if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
                    DeleteFileA((folder + entry.cFileName).c_str());
                }
            } while (FindNextFileA(find, &entry));
            FindClose(find);
        }
        if (RemoveDirectoryA(folder.c_str())) {
            return;
        }
        Sleep(100);
    }
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
    char temp[MAX_PATH + 1] = {};
    const DWORD n = GetTempPathA(MAX_PATH, temp);
    if (n == 0 || n > MAX_PATH) {
        error_ = "no temporary directory";
        return;
    }
    const std::string folder = std::string(temp) + uniqueFolderName() + "\\";
    if (!CreateDirectoryA(folder.c_str(), nullptr)) {
        error_ = "cannot create " + folder;
        return;
    }
    path_ = folder;

    std::string source = windowsPath(sourceDir);
    if (!source.empty() && source.back() != '\\') {
        source += '\\';
    }
    WIN32_FIND_DATAA entry;
    HANDLE find = FindFirstFileA((source + "*").c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) {
        error_ = "cannot list " + source;
        return;
    }
    do {
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            continue;
        }
        if (!CopyFileA((source + entry.cFileName).c_str(), (folder + entry.cFileName).c_str(),
                       FALSE)) {
            error_ = std::string("cannot copy ") + entry.cFileName;
        }
    } while (FindNextFileA(find, &entry));
    FindClose(find);

    const std::string description = folder + "lame.dll";
    DeleteFileA(description.c_str());
    if (descriptionFile && !writeFile(description, *descriptionFile)) {
        error_ = "cannot write lame.dll";
    }
    if (autoclose && !writeFile(folder + "standin.autoclose", "")) {
        error_ = "cannot write standin.autoclose";
    }
}

SuiteFolder::~SuiteFolder() {
    if (!path_.empty()) {
        removeFolder(path_);
    }
}

std::vector<std::string> SuiteFolder::launchLog() const {
    std::vector<std::string> lines;
    std::ifstream in(path_ + "standin.log", std::ios::binary);
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
