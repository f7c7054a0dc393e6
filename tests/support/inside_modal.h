#pragma once
// Runs a body inside the About window's modal loop, opened from the main window's popup entry.

#include "Main/main_form.h"
#include "about/about_form.h"
#include "support/gui_pump.h"
#include "toolkit/application.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>

namespace sc::test {

// The body runs once the window is shown and idle; the window is closed afterwards if the body
// left it open, so a failed check never hangs the loop.
class InsideModal {
  public:
    static void run(TMainForm& main, std::function<void(TFormAbout&)> body) {
        body_ = std::move(body);
        ran_ = false;
        UINT_PTR timer = SetTimer(nullptr, 0, 10, &InsideModal::tick);
        main.PopupMenu().find("MenuItemAbout")->click();
        KillTimer(nullptr, timer);
        EXPECT_TRUE(ran_) << "the About window was never shown";
    }

  private:
    static void CALLBACK tick(HWND, UINT, UINT_PTR id, DWORD) {
        HWND window = FindWindowA("TFormAbout", nullptr);
        auto* about = dynamic_cast<TFormAbout*>(tk::TForm::fromHandle(window));
        if (!about || !about->visible() || ran_) {
            return;
        }
        KillTimer(nullptr, id);
        ran_ = true;
        pumpUntilIdle();
        body_(*about);
        if (about->visible() && about->modalResult() == tk::mrNone) {
            about->setModalResult(tk::mrCancel);
        }
    }
    static inline std::function<void(TFormAbout&)> body_;
    static inline bool ran_ = false;
};

} // namespace sc::test
