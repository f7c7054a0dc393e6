// The About window in-process at a system DPI of 144: its size, its place over the main window
// and a DPI change while it is open.
#include "Main/main_form.h"
#include "about/about_form.h"
#include "at_144_fixture.h"
#include "layout_probe.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/inside_modal.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>
#include <memory>

namespace sc {
namespace {

using test::InsideModal;

// The test folder has no logo: one error dialog per opening.
using AboutWindowAt144 = test::WindowsAt144;

TEST_F(AboutWindowAt144, IsScaledAndCentredOnTheMainWindowByOuterSizes) {
    InsideModal::run(*form, [&](TFormAbout& about) {
        EXPECT_EQ(about.Dpi(), 144);
        RECT client{};
        GetClientRect(about.handle(), &client);
        EXPECT_EQ(client.right, 785); // 523 * 1.5 = 784.5, rounded as MulDiv does
        EXPECT_EQ(client.bottom, 447);
        // Centred on the main window: the gaps on either side differ by the lost half pixel.
        const tk::Bounds m = form->outerBounds(), a = about.outerBounds();
        EXPECT_LE(std::abs((m.left + m.width - a.left - a.width) - (a.left - m.left)), 1);
        EXPECT_LE(std::abs((m.top + m.height - a.top - a.height) - (a.top - m.top)), 1);
        // The pages at (200, 8, 305 wide) in the panel that fills the window.
        RECT pages{};
        GetWindowRect(about.PageControlMain().handle(), &pages);
        MapWindowPoints(nullptr, about.handle(), reinterpret_cast<POINT*>(&pages), 2);
        EXPECT_EQ(pages.left, 300);
        EXPECT_EQ(pages.top, 12);
        EXPECT_EQ(pages.right - pages.left, 458);
    });
}

TEST_F(AboutWindowAt144, FollowsADpiChangeWhileOpenAndComesBackToTheDirectLayout) {
    InsideModal::run(*form, [&](TFormAbout& about) {
        const test::FormLayout direct = test::layoutOf(about);
        RECT place{};
        GetWindowRect(about.handle(), &place);
        test::sendDpiChanged(about, 192, &place);
        const test::FormLayout at192 = test::layoutOf(about);
        EXPECT_EQ(at192.client.cx, 1046);
        EXPECT_EQ(at192.client.cy, 596);
        test::sendDpiChanged(about, 144, &place);
        test::pumpUntilIdle();
        EXPECT_EQ(test::layoutOf(about), direct);
    });
}

} // namespace
} // namespace sc
