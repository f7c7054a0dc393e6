#pragma once
// A DPI service that reports one DPI for the system and every window, and computes frames with
// the platform's DPI-less function (the frame does not matter to the tests that use it).

#include "toolkit/dpi_service.h"

namespace sc::test {

class FixedDpiService : public tk::DpiService {
  public:
    explicit FixedDpiService(int dpi) : dpi_(dpi) {}
    void setDpi(int dpi) { dpi_ = dpi; }

    int systemDpi() override { return dpi_; }
    int windowDpi(HWND) override { return dpi_; }
    RECT adjustWindowRect(const RECT& client, DWORD style, DWORD exStyle, int) override {
        RECT r = client;
        AdjustWindowRectEx(&r, style, FALSE, exStyle);
        return r;
    }
    int systemMetric(int index, int) override { return GetSystemMetrics(index); }
    void enableNonClientScaling(HWND) override { ++nonClientRequests; }

    int nonClientRequests = 0;

  private:
    int dpi_;
};

} // namespace sc::test
