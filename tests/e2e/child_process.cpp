#include "child_process.h"

#include "text/utf.h"

namespace e2e {

ChildProcess::ChildProcess(const std::string& program) {
    const std::wstring name = sc::text::toUtf16(program);
    std::wstring commandLine = L"\"" + name + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof(startup);
    job_ = CreateJobObjectW(nullptr, nullptr);
    if (!CreateProcessW(name.c_str(), commandLine.data(), nullptr, nullptr, FALSE, CREATE_SUSPENDED,
                        nullptr, nullptr, &startup, &info_)) {
        info_ = PROCESS_INFORMATION{};
        return;
    }
    AssignProcessToJobObject(job_, info_.hProcess); // its own starts join the job
    ResumeThread(info_.hThread);
}

ChildProcess::~ChildProcess() {
    if (job_) {
        TerminateJobObject(job_, 1); // it, if still running, and every program it started
        CloseHandle(job_);
    }
    if (!started()) {
        return;
    }
    WaitForSingleObject(info_.hProcess, 5000);
    CloseHandle(info_.hThread);
    CloseHandle(info_.hProcess);
}

bool ChildProcess::running() const {
    return started() && WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

std::optional<DWORD> ChildProcess::waitForExit(DWORD timeoutMs) const {
    if (!started() || WaitForSingleObject(info_.hProcess, timeoutMs) != WAIT_OBJECT_0) {
        return std::nullopt;
    }
    DWORD code = 0;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

int ChildProcess::programsStarted() const {
    JOBOBJECT_BASIC_ACCOUNTING_INFORMATION accounting{};
    if (!job_ || !QueryInformationJobObject(job_, JobObjectBasicAccountingInformation, &accounting,
                                            sizeof accounting, nullptr)) {
        return -1;
    }
    return static_cast<int>(accounting.TotalProcesses) - 1;
}

} // namespace e2e
