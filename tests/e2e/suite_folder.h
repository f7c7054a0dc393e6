#pragma once
// A fresh copy of the built suite in a temporary folder, removed again at the end of a test.

#include <optional>
#include <string>
#include <vector>

namespace e2e {

class SuiteFolder {
  public:
    // Copies every file of sourceDir (not its subfolders) into a new folder under the temporary
    // directory, named with letters of several scripts (a user's folder may hold any). The
    // copy's lame.dll is replaced by descriptionFile, or removed when nothing is given. With
    // autoclose, the stand-in task programs end themselves after about a second.
    SuiteFolder(const std::string& sourceDir, const std::optional<std::string>& descriptionFile,
                bool autoclose);
    ~SuiteFolder();
    SuiteFolder(const SuiteFolder&) = delete;
    SuiteFolder& operator=(const SuiteFolder&) = delete;

    // False with a reason in error() when the copy could not be made.
    bool ok() const { return error_.empty(); }
    const std::string& error() const { return error_; }

    // The folder in UTF-8, ending in a backslash.
    const std::string& path() const { return path_; }

    // The lines the stand-ins appended to standin.log, without line ends; empty when none.
    std::vector<std::string> launchLog() const;

  private:
    std::string path_;
    std::string error_;
};

// Backslashes for the forward slashes that CMake writes into paths.
std::string windowsPath(std::string path);

} // namespace e2e
