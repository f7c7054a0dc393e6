#pragma once
// A program started by a test; ended by its handle if the test leaves it running.

#include <windows.h>

#include <optional>
#include <string>

namespace e2e {

class ChildProcess {
  public:
    // Starts the program (its path in UTF-8) with no arguments in the caller's current
    // directory.
    explicit ChildProcess(const std::string& program);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool started() const { return info_.hProcess != nullptr; }
    DWORD id() const { return info_.dwProcessId; }
    bool running() const;

    // The exit code once the process has ended within timeoutMs; nothing while it still runs.
    std::optional<DWORD> waitForExit(DWORD timeoutMs) const;

  private:
    PROCESS_INFORMATION info_{};
};

} // namespace e2e
