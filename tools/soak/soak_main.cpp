// soak [cycles]: runs the start centre for a long time under a driver and checks that it does
// not grow. Started from the build, it copies the sample suite and itself into a fresh folder
// and runs that copy, so that the start centre finds its description file, logo and task
// programs beside it; the copy runs the start centre on its main thread and the driver on a
// second one.
#include "Main/main_form.h"
#include "app/start_centre.h"
#include "soak_driver.h"
#include "suite_folder.h"
#include "text/utf.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

namespace {

std::wstring modulePath() {
    std::wstring path(32768, L'\0');
    path.resize(GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
    return path;
}

std::wstring folderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L"\\/") + 1);
}

bool exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// In the suite folder: the start centre on this thread, the driver beside it.
int runInSuite(int cycles) {
    soak::DriveOptions options;
    options.cycles = cycles;
    options.folder = sc::text::toUtf8(folderOf(modulePath()));
    int result = 2;
    std::thread driver([&] { result = soak::drive(options); });
    sc::runStartCentre(sc::makeMainForm);
    driver.join();
    return result;
}

// From the build: a fresh copy of the suite with this program in it, run to its end.
int runFromBuild(int cycles) {
    e2e::SuiteFolder suite(SC_SUITE_DIR,
                           std::string("[SYSTEM]\r\nName=Quillmark\r\nVersion=4.2.0.118\r\n"
                                       "Company=Fernhollow Media Ltd.\r\n"),
                           false);
    if (!suite.ok()) {
        std::printf("soak: %s\n", suite.error().c_str());
        return 2;
    }
    const std::wstring copy = sc::text::toUtf16(suite.path() + "soak.exe");
    if (!CopyFileW(modulePath().c_str(), copy.c_str(), FALSE)) {
        std::printf("soak: cannot copy the driver into %s\n", suite.path().c_str());
        return 2;
    }
    std::wstring commandLine = L"\"" + copy + L"\" " + std::to_wstring(cycles);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    std::fflush(stdout);
    if (!CreateProcessW(copy.c_str(), commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        sc::text::toUtf16(suite.path()).c_str(), &startup, &process)) {
        std::printf("soak: cannot start %ssoak.exe\n", suite.path().c_str());
        return 2;
    }
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 2;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}

} // namespace

int main(int argc, char** argv) {
    const int cycles = argc > 1 ? std::atoi(argv[1]) : 1000;
    if (cycles <= 0) {
        std::printf("usage: soak [cycles]   (default 1000)\n");
        return 2;
    }
    if (exists(folderOf(modulePath()) + L"lame.dll")) {
        return runInSuite(cycles);
    }
    return runFromBuild(cycles);
}
