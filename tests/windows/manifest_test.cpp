// The executable's manifest as the platform reads it: per-monitor DPI awareness (version 2, with
// version 1 and system awareness for older systems), so that no system stretches the windows.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace {

std::wstring manifestSetting(const wchar_t* nameSpace, const wchar_t* name) {
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.lpSource = SC_STARTCENTRE_EXE;
    request.lpResourceName = MAKEINTRESOURCEA(1); // the process manifest
    HANDLE context = CreateActCtxA(&request);
    if (context == INVALID_HANDLE_VALUE) {
        ADD_FAILURE() << "no manifest in " << SC_STARTCENTRE_EXE;
        return {};
    }
    wchar_t value[128] = {};
    SIZE_T written = 0;
    const BOOL found =
        QueryActCtxSettingsW(0, context, nameSpace, name, value, std::size(value), &written);
    ReleaseActCtx(context);
    return found ? std::wstring(value) : std::wstring(L"(none)");
}

TEST(Manifest, DeclaresPerMonitorDpiAwarenessWithFallbacks) {
    EXPECT_EQ(
        manifestSetting(L"http://schemas.microsoft.com/SMI/2016/WindowsSettings", L"dpiAwareness"),
        L"PerMonitorV2, PerMonitor");
    EXPECT_EQ(
        manifestSetting(L"http://schemas.microsoft.com/SMI/2005/WindowsSettings", L"dpiAware"),
        L"true/pm");
}

} // namespace
