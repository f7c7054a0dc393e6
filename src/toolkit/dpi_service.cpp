#include "toolkit/dpi_service.h"

#include "graphics/dpi_scale.h"
#include "toolkit/run_time_link.h"

namespace tk {

namespace {

constexpr int kPerMonitorAware = 2; // DPI_AWARENESS_PER_MONITOR_AWARE

} // namespace

Win32DpiService::Win32DpiService() {
    HMODULE user = GetModuleHandleW(L"user32.dll");
    getDpiForWindow_ = ProcedureOf<GetDpiForWindowFn>(user, "GetDpiForWindow");
    adjustWindowRectExForDpi_ =
        ProcedureOf<AdjustWindowRectExForDpiFn>(user, "AdjustWindowRectExForDpi");
    getSystemMetricsForDpi_ = ProcedureOf<GetSystemMetricsForDpiFn>(user, "GetSystemMetricsForDpi");
    enableNonClientDpiScaling_ =
        ProcedureOf<EnableNonClientDpiScalingFn>(user, "EnableNonClientDpiScaling");
    getThreadAwarenessContext_ =
        ProcedureOf<GetAwarenessContextFn>(user, "GetThreadDpiAwarenessContext");
    awarenessFromContext_ =
        ProcedureOf<AwarenessFromContextFn>(user, "GetAwarenessFromDpiAwarenessContext");
}

int Win32DpiService::systemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : kDesignDpi;
    if (screen) {
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : kDesignDpi;
}

int Win32DpiService::windowDpi(HWND window) {
    if (getDpiForWindow_ && window) {
        if (int dpi = static_cast<int>(getDpiForWindow_(window)); dpi > 0) {
            return dpi;
        }
    }
    return systemDpi();
}

RECT Win32DpiService::adjustWindowRect(const RECT& client, DWORD style, DWORD exStyle, int dpi) {
    RECT r = client;
    if (adjustWindowRectExForDpi_) {
        adjustWindowRectExForDpi_(&r, style, FALSE, exStyle, static_cast<UINT>(dpi));
    } else {
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
    }
    return r;
}

int Win32DpiService::systemMetric(int index, int dpi) {
    if (getSystemMetricsForDpi_) {
        return getSystemMetricsForDpi_(index, static_cast<UINT>(dpi));
    }
    return GetSystemMetrics(index);
}

void Win32DpiService::enableNonClientScaling(HWND window) {
    if (!enableNonClientDpiScaling_ || !getThreadAwarenessContext_ || !awarenessFromContext_) {
        return;
    }
    // Only per-monitor version 1 needs it; version 2 refuses it as needless, which is harmless.
    if (awarenessFromContext_(getThreadAwarenessContext_()) == kPerMonitorAware) {
        enableNonClientDpiScaling_(window);
    }
}

} // namespace tk
