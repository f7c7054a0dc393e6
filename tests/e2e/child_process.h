#pragma once
// A program started by a test, in a job of its own; it and the programs it started are ended
// with the job if the test leaves them running.

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

    // How many programs it has started so far, as the system counts them in its job, those
    // that have ended included; -1 when the system cannot tell.
    int programsStarted() const;

  private:
    PROCESS_INFORMATION info_{};
    HANDLE job_ = nullptr;
};

} // namespace e2e
