#pragma once
// The start centre's main window made in-process at a system DPI of 144, as start-up makes it.

#include "Main/main_form.h"
#include "app/platform_services.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <memory>

namespace sc::test {

inline int systemDpi() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

class WindowsAt144 : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_EQ(systemDpi(), 144) << "these tests need a system DPI of 144";
        tk::TApplication& app = tk::Application();
        app.reset();
        Platform().setShellService(&shell);
        app.setErrorPresenter(&errors);
        ASSERT_TRUE(snapshot::parkPointer());
        app.setTitle("Quillmark");
        app.initialize();
        form = open();
        ASSERT_EQ(form->Dpi(), 144);
    }
    void TearDown() override {
        form.reset();
        pumpUntilIdle(10, 500);
        tk::TApplication& app = tk::Application();
        app.reset();
        Platform().setShellService(nullptr);
        app.setErrorPresenter(nullptr);
    }
    static std::unique_ptr<TMainForm> open() {
        auto f = std::make_unique<TMainForm>();
        f->show();
        pumpUntilIdle();
        return f;
    }

    RecordingShellService shell{&Platform().busyCursor()};
    RecordingErrorPresenter errors;
    std::unique_ptr<TMainForm> form;
};

} // namespace sc::test
