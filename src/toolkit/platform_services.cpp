#include "toolkit/platform_services.h"

#include "toolkit/run_time_link.h"

#include <shellapi.h>

#include <vector>

namespace tk {

namespace {

using ShellExecuteAFunction = decltype(&ShellExecuteA);

// The shell library is loaded at the first request, not at start: nothing on the first screen
// needs it, and loading it with its own dependencies is a noticeable part of a cold start. It
// stays loaded for the rest of the run, as an import would.
ShellExecuteAFunction shellExecute() {
    static const auto function =
        LoadedProcedure<ShellExecuteAFunction>("shell32.dll", "ShellExecuteA");
    return function;
}

} // namespace

void Win32ShellService::execute(const sc::ShellRequest& request) {
    // A library that cannot be loaded is a failed request, which goes unnoticed like any other.
    if (ShellExecuteAFunction execute = shellExecute()) {
        execute(reinterpret_cast<HWND>(request.owner), request.verb.c_str(), request.file.c_str(),
                request.parameters ? request.parameters->c_str() : nullptr,
                request.directory ? request.directory->c_str() : nullptr, request.showCommand);
    }
}

std::string Win32ProfileReader::readString(std::string_view path, std::string_view section,
                                           std::string_view key) {
    std::vector<char> buffer(sc::kProfileBufferSize, '\0');
    DWORD n = GetPrivateProfileStringA(std::string(section).c_str(), std::string(key).c_str(), "",
                                       buffer.data(), static_cast<DWORD>(buffer.size()),
                                       std::string(path).c_str());
    return std::string(buffer.data(), n < buffer.size() ? n : buffer.size() - 1);
}

bool Win32DisplaySettings::highContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void MessageBoxErrorPresenter::showError(HWND owner, const std::string& caption,
                                         const std::string& text) {
    MessageBoxA(owner, text.c_str(), caption.c_str(), MB_OK | MB_ICONERROR);
}

} // namespace tk
