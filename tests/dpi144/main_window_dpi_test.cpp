// The main window in-process at a system DPI of 144: laid out at 1.5 times its design, rows
// painted with scaled offsets and fonts, and DPI changes that end where a direct build does.
#include "Main/main_form.h"
#include "Main/row_painter.h"
#include "at_144_fixture.h"
#include "layout_probe.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/recording_error_presenter.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"
#include "window_capture.h"

#include <gtest/gtest.h>

#include <memory>

namespace sc {
namespace {

RECT windowRect(const tk::TForm& form) {
    RECT r{};
    GetWindowRect(form.handle(), &r);
    return r;
}

class MainWindowAt144 : public test::WindowsAt144 {
  protected:
    void TearDown() override {
        WindowsAt144::TearDown();
        EXPECT_TRUE(errors.shown.empty());
    }
};

RECT rectOf(const test::FormLayout& layout, const std::string& name) {
    for (const test::ControlPlace& c : layout.controls) {
        if (c.name == name) {
            return c.rect;
        }
    }
    ADD_FAILURE() << "no control " << name;
    return {};
}

TEST_F(MainWindowAt144, IsLaidOutAtOneAndAHalfTimesItsDesign) {
    const test::FormLayout layout = test::layoutOf(*form);
    EXPECT_EQ(layout.dpi, 144);
    EXPECT_EQ(layout.client.cx, 987);
    EXPECT_EQ(layout.client.cy, 717);
    // MulDiv of each figure: 169 * 1.5 = 253.5 rounds to 254, 81 * 1.5 to 122.
    auto expectRect = [&](const char* name, RECT expected) {
        RECT r = rectOf(layout, name);
        EXPECT_TRUE(EqualRect(&r, &expected)) << name << " at (" << r.left << ", " << r.top << ", "
                                              << r.right << ", " << r.bottom << ")";
    };
    expectRect("ListBoxMain", RECT{12, 12, 12 + 254, 12 + 602});
    expectRect("ListBoxData", RECT{276, 12, 276 + 699, 12 + 602});
    expectRect("ButtonHelp", RECT{12, 648, 12 + 69, 648 + 63});
    expectRect("ButtonOK", RECT{852, 648, 852 + 122, 648 + 63});
    expectRect("Bevel1", RECT{12, 636, 12 + 962, 636 + 14});
    for (const test::ControlPlace& c : layout.controls) {
        EXPECT_EQ(c.fontHeight, -17) << c.name; // the definition's -11 at 144 DPI
    }
    EXPECT_EQ(form->ListBoxMain().itemHeight(), 120);
    EXPECT_EQ(form->ListBoxData().itemHeight(), 113);
    EXPECT_EQ(rectOf(layout, "ListBoxMain").left, form->ListBoxMain().left());
}

// The ink of the second task row's bold title is as wide as the title in the bold font at the
// scaled height, and clearly wider than at the design height.
TEST_F(MainWindowAt144, TaskTitleIsDrawnWithTheScaledBoldFont) {
    tk::TListBox& tasks = form->ListBoxData();
    const std::string title = splitTaskLines(tasks.item(1))[0];
    ASSERT_FALSE(title.empty());
    auto extentAt = [&](int height) {
        HDC dc = GetDC(nullptr);
        HFONT font =
            CreateFontA(height, 0, 0, 0, FW_BOLD, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32A(dc, title.c_str(), static_cast<int>(title.size()), &size);
        SelectObject(dc, old);
        DeleteObject(font);
        ReleaseDC(nullptr, dc);
        return size;
    };
    const SIZE scaled = extentAt(-17);
    const SIZE design = extentAt(-11);
    ASSERT_GT(scaled.cx, design.cx + 10);

    const auto shot = snapshot::captureClientArea(tasks.handle());
    ASSERT_TRUE(shot.has_value());
    // Row 1 is white with black text; its title line starts at (150, 8) within the row.
    const int rowTop = tasks.itemHeight();
    int left = shot->width, right = -1, top = shot->height, bottom = -1;
    for (int y = rowTop + 8; y < rowTop + 8 + scaled.cy && y < shot->height; ++y) {
        for (int x = 140; x < shot->width; ++x) {
            const auto at = static_cast<std::size_t>((y * shot->width + x) * 3);
            if (shot->pixels[at] + shot->pixels[at + 1] + shot->pixels[at + 2] < 3 * 100) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    ASSERT_GE(right, left) << "no title ink in row 1";
    EXPECT_GE(left, 150);
    EXPECT_LE(left, 152);
    EXPECT_NEAR(right - left + 1, scaled.cx, 4) << "title \"" << title << "\"";
    EXPECT_GE(top, rowTop + 8);
    EXPECT_GT(bottom - top + 1, 10) << "taller than the design font's capitals";
}

TEST_F(MainWindowAt144, DpiChangesEndWhereADirectBuildPutsEverything) {
    const test::FormLayout direct = test::layoutOf(*form);
    RECT place = windowRect(*form);

    // At 168 the window still fits the test screen (1280 x 1024); at 192 it does not, and the
    // system keeps it to the screen's size.
    test::sendDpiChanged(*form, 168, &place);
    const test::FormLayout at168 = test::layoutOf(*form);
    EXPECT_EQ(at168.dpi, 168);
    EXPECT_EQ(at168.client.cx, 1152); // 658 * 1.75 = 1151.5
    EXPECT_EQ(at168.client.cy, 837);
    EXPECT_EQ(windowRect(*form).left, place.left);
    EXPECT_EQ(windowRect(*form).top, place.top);

    test::sendDpiChanged(*form, 192, &place);
    EXPECT_EQ(form->Dpi(), 192);
    EXPECT_EQ(form->ListBoxData().itemHeight(), 150);
    EXPECT_EQ(test::layoutOf(*form).controls.at(0).fontHeight, -22);

    test::sendDpiChanged(*form, 144, &place);
    test::pumpUntilIdle();
    EXPECT_EQ(test::layoutOf(*form), direct);

    // Many moves through odd scales: every one scales from the design, so nothing drifts.
    for (int round = 0; round < 5; ++round) {
        for (int dpi : {120, 168, 192, 96, 144}) {
            test::sendDpiChanged(*form, dpi, &place);
        }
    }
    EXPECT_EQ(test::layoutOf(*form), direct);
    EXPECT_EQ(test::layoutOf(*open()), direct) << "a second direct build";
}

// Out of range (0, 1, 65535 and what a 16-bit field makes of 100000) the message is ignored;
// without a rectangle the window keeps its place and takes the size for the new DPI.
TEST_F(MainWindowAt144, AbsurdDpiChangesAreIgnoredAndAMissingRectangleKeepsThePlace) {
    const test::FormLayout direct = test::layoutOf(*form);
    const RECT before = windowRect(*form);
    RECT huge{-100000, -100000, 100000, 100000};
    for (int dpi : {0, 1, 47, 481, 65535, 100000}) {
        test::sendDpiChanged(*form, dpi, &huge);
        test::sendDpiChanged(*form, dpi, nullptr);
        EXPECT_EQ(test::layoutOf(*form), direct) << "DPI " << dpi;
        const RECT now = windowRect(*form);
        EXPECT_TRUE(EqualRect(&now, &before)) << "DPI " << dpi;
    }

    test::sendDpiChanged(*form, 168, nullptr);
    EXPECT_EQ(test::layoutOf(*form).client.cx, 1152);
    EXPECT_EQ(windowRect(*form).left, before.left);
    EXPECT_EQ(windowRect(*form).top, before.top);
    test::sendDpiChanged(*form, 144, nullptr);
    EXPECT_EQ(test::layoutOf(*form), direct);
    const RECT after = windowRect(*form);
    EXPECT_TRUE(EqualRect(&after, &before));
}

TEST_F(MainWindowAt144, HoverAndClicksFindTheScaledRows) {
    tk::TListBox& tasks = form->ListBoxData();
    PostMessageA(tasks.handle(), WM_MOUSEMOVE, 0, MAKELPARAM(200, 2 * 113 + 5));
    test::pumpUntilIdle();
    EXPECT_EQ(tasks.itemIndex(), 2);
    test::clickAt(form->ListBoxMain().handle(), 60, 3 * 120 + 60);
    EXPECT_EQ(form->ListBoxMain().itemIndex(), 3);
    EXPECT_EQ(tasks.count(), 5) << "the Tools tasks";
}

} // namespace
} // namespace sc
