#include "app/platform_services.h"

#include "text/utf.h"
#include "toolkit/application.h"
#include "toolkit/run_time_link.h"

#include <shellapi.h>

#include <optional>
#include <vector>

namespace sc {

namespace {

using ShellExecuteFunction = decltype(&ShellExecuteW);

// The shell library is loaded at the first request, not at start: nothing on the first screen
// needs it, and loading it with its own dependencies is a noticeable part of a cold start. It
// stays loaded for the rest of the run, as an import would.
ShellExecuteFunction shellExecute() {
    static const auto function =
        tk::LoadedProcedure<ShellExecuteFunction>(L"shell32.dll", "ShellExecuteW");
    return function;
}

std::optional<std::wstring> wide(const std::optional<std::string>& text) {
    return text ? std::optional<std::wstring>(sc::text::toUtf16(*text)) : std::nullopt;
}

} // namespace

void Win32ShellService::execute(const ShellRequest& request) {
    // A library that cannot be loaded is a failed request, which goes unnoticed like any other.
    if (ShellExecuteFunction execute = shellExecute()) {
        const std::optional<std::wstring> parameters = wide(request.parameters);
        const std::optional<std::wstring> directory = wide(request.directory);
        execute(reinterpret_cast<HWND>(request.owner), sc::text::toUtf16(request.verb).c_str(),
                sc::text::toUtf16(request.file).c_str(), parameters ? parameters->c_str() : nullptr,
                directory ? directory->c_str() : nullptr, request.showCommand);
    }
}

std::string Win32ProfileReader::readString(std::string_view path, std::string_view section,
                                           std::string_view key) {
    // One unit more than the value may have: a value cut at the buffer's end may part a
    // surrogate pair there, which the cut below then leaves out whole.
    std::vector<wchar_t> buffer(kProfileBufferSize + 1, L'\0');
    const DWORD n = GetPrivateProfileStringW(
        sc::text::toUtf16(section).c_str(), sc::text::toUtf16(key).c_str(), L"", buffer.data(),
        static_cast<DWORD>(buffer.size()), sc::text::toUtf16(path).c_str());
    const std::wstring_view value(buffer.data(), n < buffer.size() ? n : buffer.size() - 1);
    return sc::text::toUtf8(sc::text::cutUtf16(value, kProfileBufferSize - 1));
}

PlatformServices::PlatformServices() : busy_(*this) {}

void PlatformServices::setShellService(ShellService* shell) {
    shell_ = shell ? shell : &platformShell_;
}

void PlatformServices::setProfileReader(ProfileReader* reader) {
    profileReader_ = reader ? reader : &platformProfile_;
}

std::uintptr_t PlatformServices::ownerWindow() const {
    return reinterpret_cast<std::uintptr_t>(tk::Application().handle());
}

std::string PlatformServices::exeName() const {
    return tk::Application().exeName();
}

void PlatformServices::setCursor(int shape) {
    tk::Application().screen().setCursor(shape == crHourGlass ? tk::crHourGlass : tk::crDefault);
}

} // namespace sc
