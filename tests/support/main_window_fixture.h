#pragma once
// The start centre's main window made in-process as start-up makes it, the shell and the error
// dialog replaced by recording doubles (Windows tests only).

#include "Main/main_form.h"
#include "app/platform_services.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace sc::test {

template <class Shell = RecordingShellService> class MainWindowFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::TApplication& app = tk::Application();
        app.reset();
        platform.setShellService(&shell);
        app.setErrorPresenter(&errors);
        // The real pointer stays off the windows: no hover mixes with the tests' own input.
        ASSERT_TRUE(snapshot::parkPointer());
    }
    void TearDown() override {
        form.reset();
        pumpUntilIdle(10, 500);
        tk::TApplication& app = tk::Application();
        app.reset();
        platform.setShellService(nullptr);
        app.setErrorPresenter(nullptr);
    }

    // Start-up as the program does it, with the given title, up to the first idle loop.
    void start(const std::string& title = "Quillmark") {
        tk::Application().setTitle(title);
        tk::Application().initialize();
        form = open();
    }
    std::unique_ptr<TMainForm> open() {
        auto made = std::make_unique<TMainForm>(platform);
        made->show();
        pumpUntilIdle();
        return made;
    }

    PlatformServices platform;
    Shell shell{&platform.busyCursor()};
    RecordingErrorPresenter errors;
    std::unique_ptr<TMainForm> form;
};

} // namespace sc::test
