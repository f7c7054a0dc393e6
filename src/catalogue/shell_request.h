#pragma once
// Requests to the operating system's shell to "open" a program, a web address or a mail address.

#include "catalogue/busy_cursor.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace sc {

inline constexpr int kShowDefault = 10; // SW_SHOWDEFAULT

struct ShellRequest {
    std::uintptr_t owner = 0;
    std::string verb;
    std::string file;
    std::optional<std::string> parameters;
    std::optional<std::string> directory;
    int showCommand = 0;
    bool operator==(const ShellRequest&) const = default;
};

class ShellService {
  public:
    virtual ~ShellService() = default;
    virtual void execute(const ShellRequest&) = 0;
};

// What the launcher needs of the running application.
class LaunchContext {
  public:
    virtual ~LaunchContext() = default;
    virtual std::uintptr_t ownerWindow() const = 0;
    virtual std::string exeName() const = 0;
};

// One "open" request for `target`: no parameters, no directory, kShowDefault; outcome ignored.
void openWithShell(ShellService& shell, const LaunchContext& app, std::string_view target);

// Opens the program `fileName` beside the executable, under the busy cursor.
void launchTaskProgram(ShellService& shell, const LaunchContext& app, BusyCursor& busy,
                       std::string_view fileName);

// Opens a web address under the busy cursor.
void openWebSite(ShellService& shell, const LaunchContext& app, BusyCursor& busy,
                 std::string_view address);

// "mailto:" + address, nothing escaped or added.
std::string supportMailTarget(std::string_view address);

} // namespace sc
