// A form and the DPI: built at the DPI the platform reports (a double here), scaled from the
// definition, components told through ScaleToDpi, and WM_DPICHANGED followed (the refusal of
// absurd ones and the place without a rectangle: the main window's tests at 144).
#include "support/fixed_dpi_service.h"
#include "support/gui_pump.h"
#include "support/test_forms.h"
#include "toolkit/application.h"
#include "toolkit/form.h"

#include <gtest/gtest.h>

#include <vector>

namespace tk {
namespace {

class TRecordingComponent : public TComponent {
  public:
    explicit TRecordingComponent(std::vector<int>& calls) : TComponent("Recorder"), calls_(calls) {}
    void ScaleToDpi(int dpi) override { calls_.push_back(dpi); }

  private:
    std::vector<int>& calls_;
};

class TDpiProbeForm : public TForm {
  public:
    explicit TDpiProbeForm(std::vector<int>& scaleCalls) {
        FormDefinition d = sc::test::TestForm("DpiProbeForm", 300, 201);
        d.borderStyle = BorderStyle::single;
        d.font = FontSpec{"Tahoma", -11, ANSI_CHARSET, clWindowText, 0};
        d.components = {{"Recorder", [&scaleCalls](TForm&) -> std::unique_ptr<TComponent> {
                             return std::make_unique<TRecordingComponent>(scaleCalls);
                         }}};
        ControlDefinition list =
            sc::test::TestControl("ListBoxRows", ControlKind::listBox, {7, 9, 101, 151}, 0);
        list.itemHeight = 75;
        d.controls = {list};
        build(d);
    }
};

class FormDpiTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application().reset();
        Application().setDpiService(&dpi);
    }
    void TearDown() override {
        sc::test::pumpUntilIdle(10, 300);
        Application().setDpiService(nullptr);
        Application().reset();
    }
    static SIZE clientOf(const TForm& form) {
        RECT r{};
        GetClientRect(form.handle(), &r);
        return SIZE{r.right, r.bottom};
    }

    sc::test::FixedDpiService dpi{96};
    std::vector<int> scaleCalls;
};

TEST_F(FormDpiTest, At96NothingIsScaledAndNoComponentIsTold) {
    TDpiProbeForm form(scaleCalls);
    EXPECT_EQ(form.Dpi(), 96);
    EXPECT_EQ(clientOf(form).cx, 300);
    EXPECT_EQ(clientOf(form).cy, 201);
    const TControl& list = *form.findControl("ListBoxRows");
    EXPECT_EQ(list.left(), 7);
    EXPECT_EQ(list.width(), 101);
    EXPECT_EQ(list.font().height, -11);
    EXPECT_TRUE(scaleCalls.empty());
    EXPECT_EQ(dpi.nonClientRequests, 1) << "asked once, at the window's creation";
}

TEST_F(FormDpiTest, BuiltAt120TheLayoutIsScaledAndComponentsAreToldOnce) {
    dpi.setDpi(120);
    TDpiProbeForm form(scaleCalls);
    EXPECT_EQ(form.Dpi(), 120);
    EXPECT_EQ(clientOf(form).cx, 375);
    EXPECT_EQ(clientOf(form).cy, 251); // 251.25
    auto& list = dynamic_cast<TListBox&>(*form.findControl("ListBoxRows"));
    EXPECT_EQ(list.left(), 9);    // 8.75
    EXPECT_EQ(list.top(), 11);    // 11.25
    EXPECT_EQ(list.width(), 126); // 126.25
    EXPECT_EQ(list.height(), 189);
    EXPECT_EQ(list.font().height, -14);
    EXPECT_EQ(list.itemHeight(), 94);
    EXPECT_EQ(SendMessageA(list.handle(), LB_GETITEMHEIGHT, 0, 0), 94);
    list.setItemHeight(80); // design units, as the form's handlers give them
    EXPECT_EQ(list.itemHeight(), 100);
    EXPECT_EQ(scaleCalls, std::vector<int>{120});
}

TEST_F(FormDpiTest, DpiChangesAreFollowedAndTheSizeForADpiIsNamedBeforehand) {
    TDpiProbeForm form(scaleCalls);
    RECT place{40, 50, 0, 0};
    SendMessageA(form.handle(), WM_DPICHANGED, MAKEWPARAM(192, 192),
                 reinterpret_cast<LPARAM>(&place));
    EXPECT_EQ(form.Dpi(), 192);
    EXPECT_EQ(clientOf(form).cx, 600);
    EXPECT_EQ(form.findControl("ListBoxRows")->width(), 202);
    RECT outer{};
    GetWindowRect(form.handle(), &outer);
    EXPECT_EQ(outer.left, 40);
    EXPECT_EQ(outer.top, 50);
    // Asked first, the form names the size it will take: the design's client size at that DPI.
    SIZE asked{};
    EXPECT_TRUE(
        SendMessageA(form.handle(), WM_GETDPISCALEDSIZE, 192, reinterpret_cast<LPARAM>(&asked)));
    EXPECT_EQ(asked.cx, outer.right - outer.left);
    EXPECT_EQ(asked.cy, outer.bottom - outer.top);
    EXPECT_FALSE(
        SendMessageA(form.handle(), WM_GETDPISCALEDSIZE, 0, reinterpret_cast<LPARAM>(&asked)));
    SendMessageA(form.handle(), WM_DPICHANGED, MAKEWPARAM(96, 96), 0);
    EXPECT_EQ(form.Dpi(), 96);
    EXPECT_EQ(clientOf(form).cx, 300);
    EXPECT_EQ(form.findControl("ListBoxRows")->width(), 101);
    EXPECT_EQ(scaleCalls, (std::vector<int>{192, 96}));
}

} // namespace
} // namespace tk
