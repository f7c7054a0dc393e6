#pragma once
// The start centre's main window made in-process at a system DPI of 144, as start-up makes it.

#include "support/main_window_fixture.h"

#include <windows.h>

namespace sc::test {

inline int systemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class WindowsAt144 : public MainWindowFixture<> {
  protected:
    void SetUp() override {
        ASSERT_EQ(systemDpi(), 144) << "these tests need a system DPI of 144";
        MainWindowFixture::SetUp();
        start();
        ASSERT_EQ(form->Dpi(), 144);
    }
};

} // namespace sc::test
