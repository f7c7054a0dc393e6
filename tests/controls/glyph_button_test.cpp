// Glyph buttons in a real window under the platform: their looks read back pixel by pixel, the
// theme calls through a recording seam, and real mouse and keyboard messages.
#include "button_capture.h"
#include "controls/button_drawing_win32.h"
#include "controls/glyph_button.h"
#include "controls/theme_services.h"
#include "support/fixed_dpi_service.h"
#include "support/gui_pump.h"
#include "support/test_forms.h"
#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/image_list.h"

#include <gtest/gtest.h>
#include <oleacc.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <utility>
#include <vector>

namespace sc::controls {
namespace {

constexpr COLORREF kPictureRed = RGB(255, 0, 0);
constexpr COLORREF kFadedRed = RGB(255, 160, 160);

// Pictures as flat squares: red, or pale red when drawn disabled; records every draw.
class SquareImageList : public tk::TCustomImageList {
  public:
    SquareImageList() : TCustomImageList("Pictures") {
        SetSize(32, 32);
        Handle();
    }
    int Count() const override { return 2; }
    struct Call {
        int index, x, y;
        bool enabled;
    };
    std::vector<Call> calls;

  protected:
    void DoDraw(int index, tk::TCanvas& canvas, int x, int y, tk::TDrawingStyle,
                bool enabled) override {
        calls.push_back({index, x, y, enabled});
        DcSurface(canvas.handle())
            .fillRect({x, y, x + 32, y + 32}, enabled ? kPictureRed : kFadedRed);
    }
};

struct RecordingTheme : ThemeServices {
    bool active = true;
    bool drawWorks = true;
    struct Call {
        std::wstring themeClass;
        int part, state;
        RECT rect;
    };
    std::vector<Call> calls;
    bool themesInUse() override { return active; }
    bool drawPart(HWND, HDC, const wchar_t* themeClass, int part, int state,
                  const RECT& rect) override {
        calls.push_back({themeClass, part, state, rect});
        return drawWorks;
    }
};

class ButtonForm : public tk::TForm {
  public:
    int helpClicks = 0, okClicks = 0;
    ButtonForm() {
        using namespace tk;
        FormDefinition d = sc::test::TestForm("ButtonForm", 320, 160);
        d.colour = clBtnFace;
        d.font = FontSpec{"Tahoma", -11, ANSI_CHARSET, clWindowText, 0};
        d.components = {{"Pictures", [](TForm&) { return std::make_unique<SquareImageList>(); }}};
        ControlDefinition list =
            sc::test::TestControl("ListBoxFirst", ControlKind::listBox, {8, 8, 100, 60}, 0);
        auto glyph = [](int picture) {
            return [picture](TForm& form, const ControlDefinition& def, int id) {
                auto b = std::make_unique<TGlyphBitBtn>(form, def, id);
                b->setImages(&form.component<TCustomImageList>("Pictures"));
                b->setImageIndex(picture);
                return std::unique_ptr<TControl>(std::move(b));
            };
        };
        ControlDefinition help =
            sc::test::TestControl("ButtonHelp", ControlKind::custom, {8, 100, 46, 42}, 1);
        help.events = {on("OnClick", &ButtonForm::HelpClick)};
        help.create = glyph(0);
        ControlDefinition ok = help;
        ok.name = "ButtonOK";
        ok.bounds = {200, 100, 81, 42};
        ok.tabOrder = 2;
        ok.caption = "&OK";
        ok.events = {on("OnClick", &ButtonForm::OkClick)};
        ok.create = glyph(1);
        d.controls = {list, help, ok};
        build(d);
    }
    void HelpClick(tk::TObject&) { ++helpClicks; }
    void OkClick(tk::TObject&) { ++okClicks; }
    TGlyphBitBtn& help() { return control<TGlyphBitBtn>("ButtonHelp"); }
    TGlyphBitBtn& ok() { return control<TGlyphBitBtn>("ButtonOK"); }
    tk::TListBox& list() { return control<tk::TListBox>("ListBoxFirst"); }
    SquareImageList& pictures() { return component<SquareImageList>("Pictures"); }
};

COLORREF sys(int index) {
    return GetSysColor(index);
}

class GlyphButtonTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::Application().reset();
        tk::Application().initialize();
        theme.active = false;
        setThemeServices(&theme);
        form = std::make_unique<ButtonForm>();
        form->show();
        sc::test::pumpUntilIdle();
    }
    void TearDown() override {
        form.reset();
        setThemeServices(nullptr);
        sc::test::pumpUntilIdle(10, 500);
        tk::Application().reset();
    }
    void focus(tk::TWinControl& c) {
        c.setFocus();
        sc::test::pumpUntilIdle();
    }
    void post(HWND to, UINT msg, WPARAM wp, LPARAM lp) {
        PostMessageA(to, msg, wp, lp);
        sc::test::pumpUntilIdle();
    }
    // Enter, Esc and the like as the keyboard sends them, with Ctrl held or not.
    void key(HWND to, WPARAM vk, bool ctrl = false) {
        BYTE state[256];
        GetKeyboardState(state);
        state[VK_CONTROL] = ctrl ? 0x80 : 0;
        SetKeyboardState(state);
        PostMessageA(to, WM_KEYDOWN, vk, 1);
        PostMessageA(to, WM_KEYUP, vk, 0xC0000001);
        sc::test::pumpUntilIdle();
        state[VK_CONTROL] = 0;
        SetKeyboardState(state);
    }

    RecordingTheme theme;
    std::unique_ptr<ButtonForm> form;
};

TEST_F(GlyphButtonTest, ClassicLookOfTheFocusedOkButtonAndItsPressedLook) {
    focus(form->ok());
    Capture up(form->ok());
    EXPECT_EQ(up.at(0, 0), sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(up.at(80, 41), sys(COLOR_WINDOWFRAME));
    EXPECT_EQ(up.at(1, 1), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(up.at(79, 40), sys(COLOR_3DDKSHADOW));
    EXPECT_EQ(up.at(2, 2), sys(COLOR_3DLIGHT));
    EXPECT_EQ(up.at(78, 39), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(up.at(3, 3), sys(COLOR_BTNFACE));
    EXPECT_EQ(up.at(77, 38), sys(COLOR_BTNFACE));
    // Focus dots on (4, 4, 77, 38).
    EXPECT_EQ(up.at(5, 4), RGB(0, 0, 0));
    EXPECT_EQ(up.at(6, 4), sys(COLOR_BTNFACE));
    EXPECT_EQ(up.at(4, 5), RGB(0, 0, 0));
    EXPECT_EQ(up.at(4, 6), sys(COLOR_BTNFACE));
    EXPECT_EQ(up.at(76, 37), RGB(0, 0, 0));
    // Picture at (7, 5, 39, 37), caption text inside (43, 14, 76, 27).
    EXPECT_TRUE(up.boxOf(kPictureRed, {0, 0, 81, 42}) == (RECT{7, 5, 39, 37}));
    // The caption "OK" centred in its text box, "O" underlined: the lowest row holds the line
    // under the "O" alone.
    RECT text = up.boxOf(sys(COLOR_WINDOWTEXT), {43, 5, 76, 37});
    ASSERT_GT(text.right - text.left, 8) << "a caption is drawn";
    // Centred by the text's advance, so the inked box may sit a pixel off the middle.
    EXPECT_LE(std::abs((text.left - 43) - (76 - text.right)), 2) << "centred";
    EXPECT_GE(text.top, 14);
    EXPECT_LE(text.bottom, 27);
    int underline = 0;
    while (up.at(text.left + underline, text.bottom - 1) == sys(COLOR_WINDOWTEXT)) {
        ++underline;
    }
    EXPECT_GE(underline, 5) << "the accelerator's line";
    EXPECT_LT(underline, text.right - text.left - 4) << "under the O, not the K";

    post(form->ok().handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_TRUE(form->ok().state().showPressed());
    Capture down(form->ok());
    EXPECT_EQ(down.at(0, 0), sys(COLOR_BTNTEXT)); // no black frame, the pressed frame
    EXPECT_EQ(down.at(1, 1), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(down.at(79, 40), sys(COLOR_BTNSHADOW));
    EXPECT_EQ(down.at(2, 2), sys(COLOR_BTNFACE));
    EXPECT_EQ(down.at(78, 39), sys(COLOR_BTNFACE));
    EXPECT_TRUE(down.boxOf(kPictureRed, {0, 0, 81, 42}) == (RECT{8, 6, 40, 38}));
    RECT moved = down.boxOf(sys(COLOR_WINDOWTEXT), {44, 6, 76, 37});
    EXPECT_TRUE(moved == (RECT{text.left + 1, text.top + 1, text.right + 1, text.bottom + 1}));
    post(form->ok().handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200)); // outside: no click
    EXPECT_EQ(form->okClicks, 0);
}

TEST_F(GlyphButtonTest, HotTrackFrameRingAndSeeThroughCorners) {
    // A face colour other than the form's: the corners and the outer frame come from the
    // form, the face and ring from the button.
    form->ok().setColor(RGB(200, 220, 240));
    form->ok().setHighlightColor(RGB(0, 0, 255));
    form->ok().setHotTrack(true);
    focus(form->ok());
    Capture c(form->ok());
    COLORREF face = sys(COLOR_BTNFACE);
    EXPECT_EQ(c.at(0, 0), face); // the form's image at the corners
    EXPECT_EQ(c.at(80, 41), face);
    EXPECT_EQ(c.at(0, 2), ShadeDown(kBtnFace, 20));
    EXPECT_EQ(c.at(80, 2), ShadeUp(kBtnFace, 20));
    EXPECT_EQ(c.at(1, 2), sys(COLOR_3DDKSHADOW)); // inner frame in FrameColor
    // The focused button's ring over 38 rows: blue mixed with the face's light shade
    // (250, 252, 254), 60 parts in 255 of blue at the top and 160 at the bottom.
    EXPECT_EQ(c.at(2, 2), RGB(0xBC, 0xBE, 0xFE));
    EXPECT_EQ(c.at(2, 20), RGB(0x8D, 0x8F, 0xFE));
    EXPECT_EQ(c.at(40, 39), RGB(0x5D, 0x5E, 0xFF));
    EXPECT_EQ(c.at(60, 8), RGB(0xEC, 0xF3, 0xFA)) << "row 6 of the face's 36";
    // Focus dots of the hot-track look: inset by 3.
    EXPECT_EQ(c.at(4, 3), RGB(0, 0, 0));

    // Pressed, the picture stays where it is: the caption rectangle does not move in this look,
    // and the picture's steps move it up-left and back.
    RECT picture = c.boxOf(kPictureRed, {0, 0, 81, 42});
    EXPECT_TRUE(picture == (RECT{7, 5, 39, 37}));
    post(form->ok().handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    ASSERT_TRUE(form->ok().state().showPressed());
    Capture pressed(form->ok());
    EXPECT_TRUE(pressed.boxOf(kPictureRed, {0, 0, 81, 42}) == picture);
    EXPECT_EQ(pressed.at(60, 8), RGB(0xB7, 0xD1, 0xEB)) << "the pressed face, 10 darker";
    post(form->ok().handle(), WM_LBUTTONUP, 0, MAKELPARAM(200, 200));
}

TEST_F(GlyphButtonTest, ThemedLookThroughTheThemeAndClassicWhenTheThemeFails) {
    theme.active = true;
    auto lastState = [&] {
        theme.calls.clear();
        Capture c(form->ok());
        return theme.calls.empty() ? -1 : theme.calls.back().state;
    };
    EXPECT_EQ(lastState(), 1); // normal
    const auto& call = theme.calls.back();
    EXPECT_EQ(call.themeClass, L"BUTTON");
    EXPECT_EQ(call.part, 1); // BP_PUSHBUTTON
    EXPECT_TRUE(call.rect == (RECT{0, 0, 81, 42}));
    focus(form->ok());
    EXPECT_EQ(lastState(), 5); // defaulted
    post(form->ok().handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    EXPECT_EQ(lastState(), 3); // pressed
    Capture pressed(form->ok());
    EXPECT_TRUE(pressed.boxOf(kPictureRed, {0, 0, 81, 42}) == (RECT{8, 5, 40, 37}));
    post(form->ok().handle(), WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    EXPECT_EQ(form->okClicks, 1);
    form->ok().setEnabled(false);
    EXPECT_EQ(lastState(), 4); // disabled

    // Theme data that cannot be drawn: the classic look for that paint.
    form->ok().setEnabled(true);
    theme.drawWorks = false;
    Capture classic(form->ok());
    EXPECT_EQ(classic.at(0, 0), sys(COLOR_BTNHIGHLIGHT));
    EXPECT_EQ(classic.at(2, 2), sys(COLOR_BTNFACE));
    EXPECT_TRUE(classic.boxOf(kPictureRed, {0, 0, 81, 42}) == (RECT{7, 5, 39, 37}));
}

TEST_F(GlyphButtonTest, MousePressDragOffAndBackReleaseOutside) {
    HWND ok = form->ok().handle();
    post(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_TRUE(form->ok().focused());
    EXPECT_EQ(GetCapture(), ok);
    post(ok, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-5, 10));
    EXPECT_FALSE(form->ok().state().showPressed());
    post(ok, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(80, 41));
    EXPECT_TRUE(form->ok().state().showPressed());
    post(ok, WM_LBUTTONUP, 0, MAKELPARAM(40, 42)); // the row below the last one is outside
    EXPECT_EQ(form->okClicks, 0);
    EXPECT_EQ(GetCapture(), nullptr);
    post(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    post(ok, WM_LBUTTONUP, 0, MAKELPARAM(40, 41));
    EXPECT_EQ(form->okClicks, 1);
    form->ok().setModalResult(2);
    post(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    post(ok, WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_EQ(form->okClicks, 2);
    EXPECT_EQ(form->modalResult(), 2);
}

TEST_F(GlyphButtonTest, SpaceEnterEscAndTheAccelerator) {
    HWND ok = form->ok().handle();
    HWND list = form->list().handle();
    focus(form->ok());
    key(ok, VK_SPACE);
    EXPECT_EQ(form->okClicks, 1);
    key(ok, VK_RETURN); // the focused button is the active one
    EXPECT_EQ(form->okClicks, 2);
    key(ok, VK_RETURN, true); // Ctrl+Enter clicks nothing
    EXPECT_EQ(form->okClicks, 2);

    focus(form->list());
    key(list, VK_RETURN); // no default button
    EXPECT_EQ(form->okClicks + form->helpClicks, 2);
    form->help().setDefault(true);
    key(list, VK_RETURN);
    EXPECT_EQ(form->helpClicks, 1);
    key(list, VK_ESCAPE); // no cancel button
    EXPECT_EQ(form->helpClicks, 1);
    form->ok().setCancel(true);
    key(list, VK_ESCAPE);
    EXPECT_EQ(form->okClicks, 3);

    post(list, WM_CHAR, 'o', 1); // the list takes typed letters itself
    EXPECT_EQ(form->okClicks, 3);
    post(list, WM_SYSCHAR, 'o', 0x20000001); // Alt+O
    EXPECT_EQ(form->okClicks, 4);
    focus(form->help());
    post(form->help().handle(), WM_CHAR, 'O', 1);
    EXPECT_EQ(form->okClicks, 5);
}

TEST_F(GlyphButtonTest, ADisabledButtonIgnoresEverythingAndDrawsItsPictureFaded) {
    TGlyphBitBtn& ok = form->ok();
    ok.setCancel(true);
    ok.setDefault(true);
    focus(ok);
    ok.setEnabled(false);
    sc::test::pumpUntilIdle();
    EXPECT_FALSE(ok.focused());
    HWND list = form->list().handle();
    focus(form->list());
    post(ok.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    post(ok.handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    SendMessageA(ok.handle(), BM_CLICK, 0, 0);
    key(ok.handle(), VK_SPACE);
    key(list, VK_RETURN);
    key(list, VK_ESCAPE);
    post(list, WM_SYSCHAR, 'o', 0x20000001);
    EXPECT_EQ(form->okClicks, 0);

    form->pictures().calls.clear();
    Capture c(ok);
    ASSERT_FALSE(form->pictures().calls.empty());
    EXPECT_FALSE(form->pictures().calls.back().enabled);
    EXPECT_TRUE(c.boxOf(kFadedRed, {0, 0, 81, 42}) == (RECT{7, 5, 39, 37}));
    // A picture of its own for the disabled button is drawn as it is.
    ok.setDisabledIndex(0);
    form->pictures().calls.clear();
    Capture own(ok);
    ASSERT_FALSE(form->pictures().calls.empty());
    EXPECT_EQ(form->pictures().calls.back().index, 0);
    EXPECT_TRUE(form->pictures().calls.back().enabled);
}

TEST_F(GlyphButtonTest, GroupedButtonsAndKinds) {
    // The group rules are input_test's and glyph_button_parent_test's; a real press toggles.
    TGlyphBitBtn& b = form->ok();
    b.setGroupIndex(1);
    b.setDown(true);
    b.setAllowAllUp(true);
    post(b.handle(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    post(b.handle(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
    EXPECT_FALSE(b.down());
    EXPECT_EQ(form->okClicks, 1);

    TGlyphBitBtn& k = form->help();
    k.setKind(bkCancel); // its caption and pictures: glyph_button_parent_test, KindGlyphs
    EXPECT_TRUE(k.cancel());
    EXPECT_EQ(k.modalResult(), 2);
    EXPECT_EQ(k.numGlyphs(), 2);
    EXPECT_FALSE(k.isStored(StoredProperty::modalResult));
    k.setModalResult(5);
    EXPECT_EQ(k.kind(), bkCustom);
    EXPECT_TRUE(k.isStored(StoredProperty::modalResult));
    EXPECT_NE(KindGlyph(bkAll), nullptr);
    k.setMargin(-5);
    EXPECT_EQ(k.margin(), 2);
}

// The kind pictures for a DPI: the size by MulDiv, the drawn sets at 144 and 192, resampled
// in between, the key colour (olive) kept at the bottom-left.
TEST(KindGlyphs, ComeAtTheSizeOfTheDpi) {
    auto pixel = [](HBITMAP bitmap, int x, int y) {
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        COLORREF c = GetPixel(dc, x, y);
        SelectObject(dc, old);
        DeleteDC(dc);
        return c;
    };
    for (auto [dpi, side] : {std::pair{96, 18}, {120, 23}, {144, 27}, {168, 32}, {192, 36}}) {
        HBITMAP glyph = KindGlyph(bkOK, dpi);
        BITMAP info{};
        ASSERT_TRUE(GetObjectA(glyph, sizeof info, &info)) << dpi;
        EXPECT_EQ(info.bmWidth, 2 * side) << dpi;
        EXPECT_EQ(info.bmHeight, side) << dpi;
        EXPECT_EQ(pixel(glyph, 0, side - 1), RGB(128, 128, 0)) << dpi;
        // Row 4 of the tick's pattern starts with two cells of its green.
        EXPECT_EQ(pixel(glyph, side / 18, side * 9 / 18), RGB(0, 128, 0)) << dpi;
    }
    EXPECT_EQ(KindGlyph(bkOK, 96), KindGlyph(bkOK));
    EXPECT_EQ(KindGlyph(bkCustom, 144), nullptr);
}

TEST(KindGlyphs, AKindButtonTakesThePictureForItsFormsDpi) {
    tk::Application().reset();
    tk::Application().initialize();
    sc::test::FixedDpiService dpi{144};
    tk::Application().setDpiService(&dpi);
    {
        ButtonForm form;
        form.help().setKind(bkCancel);
        EXPECT_EQ(form.help().glyph().width, 54);
        EXPECT_EQ(form.help().glyph().height, 27);
        dpi.setDpi(192);
        form.changeDpi(192, nullptr);
        EXPECT_EQ(form.help().glyph().width, 72);
    }
    tk::Application().setDpiService(nullptr);
    tk::Application().reset();
}

TEST_F(GlyphButtonTest, ScreenReadersSeePushButtonsNamedByCaptionOrHintThatPressByAction) {
    CoInitialize(nullptr);
    form->help().setHint("Help");
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    auto check = [&](TGlyphBitBtn& button, const std::wstring& expectedName) {
        IAccessible* acc = nullptr;
        ASSERT_EQ(AccessibleObjectFromWindow(button.handle(), static_cast<DWORD>(OBJID_CLIENT),
                                             __uuidof(IAccessible), reinterpret_cast<void**>(&acc)),
                  S_OK);
        VARIANT role;
        VariantInit(&role);
        ASSERT_EQ(acc->get_accRole(self, &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_PUSHBUTTON);
        BSTR name = nullptr;
        acc->get_accName(self, &name);
        EXPECT_EQ(std::wstring(name ? name : L""), expectedName);
        SysFreeString(name);
        EXPECT_EQ(acc->accDoDefaultAction(self), S_OK);
        acc->Release();
        sc::test::pumpUntilIdle();
    };
    check(form->ok(), L"OK");
    EXPECT_EQ(form->okClicks, 1) << "the default action pressed nothing";
    check(form->help(), L"Help");
    EXPECT_EQ(form->helpClicks, 1);
    CoUninitialize();
}

} // namespace
} // namespace sc::controls
