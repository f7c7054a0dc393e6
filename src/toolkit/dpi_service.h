// The platform's DPI functions, looked up at run time: systems before Windows 10 lack some of
// them, and then the system DPI stands in for the window's.
#pragma once

#include <windows.h>

namespace tk {

class DpiService {
  public:
    virtual ~DpiService() = default;
    // The system DPI (LOGPIXELSY of the screen).
    virtual int systemDpi() = 0;
    // The DPI of the monitor the window is on; the system DPI where the platform cannot tell.
    virtual int windowDpi(HWND window) = 0;
    // The outer rectangle of a window whose client area is `client`, at `dpi`.
    virtual RECT adjustWindowRect(const RECT& client, DWORD style, DWORD exStyle, int dpi) = 0;
    // A system metric (SM_CXSCREEN, ...) at `dpi`.
    virtual int systemMetric(int index, int dpi) = 0;
    // Called at WM_NCCREATE of a top-level window: per-monitor version 1 systems scale the
    // caption and frame only when asked (version 2 does it by itself, and this does nothing).
    virtual void enableNonClientScaling(HWND window) = 0;
};

class Win32DpiService : public DpiService {
  public:
    Win32DpiService();
    int systemDpi() override;
    int windowDpi(HWND window) override;
    RECT adjustWindowRect(const RECT& client, DWORD style, DWORD exStyle, int dpi) override;
    int systemMetric(int index, int dpi) override;
    void enableNonClientScaling(HWND window) override;

  private:
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    using EnableNonClientDpiScalingFn = BOOL(WINAPI*)(HWND);
    using GetAwarenessContextFn = HANDLE(WINAPI*)();
    using AwarenessFromContextFn = int(WINAPI*)(HANDLE);

    GetDpiForWindowFn getDpiForWindow_ = nullptr;
    AdjustWindowRectExForDpiFn adjustWindowRectExForDpi_ = nullptr;
    GetSystemMetricsForDpiFn getSystemMetricsForDpi_ = nullptr;
    EnableNonClientDpiScalingFn enableNonClientDpiScaling_ = nullptr;
    GetAwarenessContextFn getThreadAwarenessContext_ = nullptr;
    AwarenessFromContextFn awarenessFromContext_ = nullptr;
};

} // namespace tk
