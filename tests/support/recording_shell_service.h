#pragma once
// A shell that records each request, and what the busy cursor showed while it was asked.

#include "catalogue/busy_cursor.h"
#include "catalogue/shell_request.h"

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace sc::test {

class ShellFailure : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

class RecordingShellService : public ShellService {
  public:
    // With `watched`, each request also records that busy cursor's counter at the time of the call.
    explicit RecordingShellService(const BusyCursor* watched = nullptr) : watched_(watched) {}

    void execute(const ShellRequest& request) override {
        requests.push_back(request);
        if (watched_ != nullptr) {
            busyCounts.push_back(watched_->count());
        }
        if (failWith) {
            throw ShellFailure(*failWith);
        }
    }

    std::vector<ShellRequest> requests;
    std::vector<int> busyCounts;
    std::optional<std::string> failWith; // when set, every request throws ShellFailure with it

  private:
    const BusyCursor* watched_;
};

// The running application as the launcher sees it.
class FakeLaunchContext : public LaunchContext {
  public:
    FakeLaunchContext(std::uintptr_t owner, std::string exe)
        : owner_(owner), exe_(std::move(exe)) {}
    std::uintptr_t ownerWindow() const override { return owner_; }
    std::string exeName() const override { return exe_; }

  private:
    std::uintptr_t owner_;
    std::string exe_;
};

} // namespace sc::test
