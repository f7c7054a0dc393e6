// Glyph buttons inside other controls: the parent's colour and image, groups within one parent,
// the pointer's hit test, kinds set while the definition loads, the tab stop, and the manifest
// condition of the themed look.
#include "button_capture.h"
#include "controls/button_drawing_win32.h"
#include "controls/glyph_button.h"
#include "controls/theme_services.h"
#include "support/gui_pump.h"
#include "support/test_forms.h"
#include "toolkit/application.h"
#include "toolkit/form.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>

namespace sc::controls {
namespace {

constexpr COLORREF kTeal = RGB(0, 128, 128);
constexpr COLORREF kPurple = RGB(128, 0, 128);

struct ClassicTheme : ThemeServices {
    bool themesInUse() override { return false; }
    bool drawPart(HWND, HDC, const wchar_t*, int, int, const RECT&) override { return false; }
};

class PanelForm : public tk::TForm {
  public:
    int enters = 0, leaves = 0;
    PanelForm() {
        using namespace tk;
        FormDefinition d = sc::test::TestForm("PanelForm", 320, 200);
        d.font = FontSpec{"Tahoma", -11, ANSI_CHARSET, clWindowText, 0};
        auto panel = [](const char* name, int left, TColor colour) {
            ControlDefinition p =
                sc::test::TestControl(name, ControlKind::panel, {left, 0, 150, 90});
            p.colour = colour;
            p.bevelOuter = PanelBevel::bvNone;
            return p;
        };
        ControlDefinition pages =
            sc::test::TestControl("Pages", ControlKind::pageControl, {0, 100, 150, 90});
        auto button = [](const char* name, const char* parent, Bounds bounds,
                         TBitBtnKind kind = bkCustom) {
            ControlDefinition b = sc::test::TestControl(name, ControlKind::custom, bounds);
            b.parent = parent;
            b.caption = name;
            b.create = [kind](TForm& form, const ControlDefinition& def, int id) {
                auto made = std::make_unique<TGlyphBitBtn>(form, def, id);
                if (kind != bkCustom) {
                    made->setKind(kind); // as a stored Kind is read
                }
                return std::unique_ptr<TControl>(std::move(made));
            };
            return b;
        };
        ControlDefinition a1 = button("A1", "PanelA", {5, 5, 60, 30});
        a1.tabOrder = 0;
        a1.events = {on("OnMouseEnter", &PanelForm::Enter), on("OnMouseLeave", &PanelForm::Leave)};
        ControlDefinition kinded = button("Kinded", "", {160, 100, 75, 25}, bkOK);
        kinded.caption = "&Go";
        ControlDefinition plainKind = button("PlainKind", "", {240, 100, 75, 25}, bkOK);
        plainKind.caption.clear();
        d.controls = {panel("PanelA", 0, kTeal),
                      panel("PanelB", 160, kPurple),
                      pages,
                      a1,
                      button("A2", "PanelA", {70, 5, 60, 30}),
                      button("B1", "PanelB", {5, 5, 60, 30}),
                      button("P1", "Pages", {10, 30, 60, 30}),
                      kinded,
                      plainKind};
        build(d);
    }
    void Enter(tk::TObject&) { ++enters; }
    void Leave(tk::TObject&) { ++leaves; }
    TGlyphBitBtn& button(const std::string& name) { return control<TGlyphBitBtn>(name); }
    HWND window(const std::string& name) { return findControl(name)->handle(); }
};

class GlyphButtonParentTest : public ::testing::Test {
  protected:
    void SetUp() override {
        tk::Application().reset();
        tk::Application().initialize();
        setThemeServices(&theme);
        form = std::make_unique<PanelForm>();
        form->show();
        sc::test::pumpUntilIdle();
    }
    void TearDown() override {
        form.reset();
        setThemeServices(nullptr);
        sc::test::pumpUntilIdle(10, 500);
        tk::Application().reset();
    }
    // Whether painting the button asks `parent` to paint again.
    bool paintRefreshes(TGlyphBitBtn& button, HWND parent) {
        sc::test::pumpUntilIdle();
        ValidateRect(parent, nullptr);
        Capture paint(button);
        return GetUpdateRect(parent, nullptr, FALSE) != FALSE;
    }

    ClassicTheme theme;
    std::unique_ptr<PanelForm> form;
};

TEST_F(GlyphButtonParentTest, HotTrackTakesTheParentsColourAndImage) {
    // The panel's colour 20 darker and 20 lighter on the 0..240 scale, worked out by hand.
    struct Case {
        const char* name;
        COLORREF colour, upper, lower;
    };
    for (Case t : {Case{"A1", kTeal, RGB(0, 0x54, 0x55), RGB(0, 0xA8, 0xAA)},
                   Case{"B1", kPurple, RGB(0x55, 0, 0x53), RGB(0xAA, 0, 0xA6)}}) {
        SCOPED_TRACE(t.name);
        TGlyphBitBtn& b = form->button(t.name);
        b.setColor(RGB(200, 220, 240));
        b.setHotTrack(true);
        Capture c(b);
        EXPECT_EQ(c.at(0, 0), t.colour) << "the panel's image at the corners";
        EXPECT_EQ(c.at(59, 29), t.colour);
        EXPECT_EQ(c.at(0, 2), t.upper) << "the outer frame from the panel's colour";
        EXPECT_EQ(c.at(59, 2), t.lower);
        EXPECT_EQ(c.at(8, 15), RGB(0xD2, 0xE2, 0xF2)) << "the face from the button's";
    }
    // The panels paint themselves and the form needs nothing; the platform's page control is
    // asked to paint again.
    form->button("P1").setHotTrack(true);
    form->button("Kinded").setHotTrack(true);
    EXPECT_FALSE(paintRefreshes(form->button("A1"), form->window("PanelA")));
    EXPECT_FALSE(paintRefreshes(form->button("Kinded"), form->handle()));
    EXPECT_TRUE(paintRefreshes(form->button("P1"), form->window("Pages")));
}

TEST_F(GlyphButtonParentTest, AGroupLivesWithinOneParent) {
    TGlyphBitBtn &a1 = form->button("A1"), &a2 = form->button("A2"), &b1 = form->button("B1");
    for (TGlyphBitBtn* b : {&a1, &a2, &b1}) {
        b->setGroupIndex(1);
    }
    a1.setDown(true);
    b1.setDown(true);
    EXPECT_TRUE(a1.down()) << "the same group index in another panel is another group";
    b1.setAllowAllUp(true);
    EXPECT_FALSE(a1.allowAllUp());
    a2.setDown(true);
    EXPECT_FALSE(a1.down());
    EXPECT_TRUE(b1.down());
}

TEST_F(GlyphButtonParentTest, EnteringIsAHitTestAndBindsFromTheDefinition) {
    TGlyphBitBtn& a1 = form->button("A1");
    a1.setHotTrack(true);
    HWND w = a1.handle();
    PostMessageA(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    sc::test::pumpUntilIdle();
    ASSERT_EQ(GetCapture(), w);
    const int enters = form->enters;
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(-20, 10)); // captured, outside
    EXPECT_EQ(form->enters, enters);
    EXPECT_FALSE(a1.state().mouseOver()) << "no hot look outside";
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(10, 10));
    EXPECT_EQ(form->enters, enters + 1);
    EXPECT_TRUE(a1.state().mouseOver());
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(11, 10));
    EXPECT_EQ(form->enters, enters + 1);
    const int leaves = form->leaves;
    SendMessageA(w, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(100, 10));
    EXPECT_EQ(form->leaves, leaves + 1);
    EXPECT_FALSE(a1.state().mouseOver());
    PostMessageA(w, WM_LBUTTONUP, 0, MAKELPARAM(100, 10));
    sc::test::pumpUntilIdle();
}

TEST_F(GlyphButtonParentTest, KindKeepsTheDefinitionsCaptionAndTabStopDefaultsToTrue) {
    TGlyphBitBtn& kinded = form->button("Kinded");
    EXPECT_EQ(kinded.caption(), "&Go") << "a caption present while loading stays";
    EXPECT_EQ(kinded.kind(), bkOK);
    EXPECT_EQ(kinded.modalResult(), 1);
    EXPECT_EQ(form->button("PlainKind").caption(), "OK");
    kinded.setKind(bkCancel); // after loading: the kind's caption
    EXPECT_EQ(kinded.caption(), "Cancel");

    TGlyphBitBtn& b1 = form->button("B1"); // no tab order in its definition
    EXPECT_TRUE(b1.tabStop());
    EXPECT_TRUE(GetWindowLongA(b1.handle(), GWL_STYLE) & WS_TABSTOP);
    b1.setTabStop(false);
    EXPECT_FALSE(b1.tabStop());
    EXPECT_FALSE(GetWindowLongA(b1.handle(), GWL_STYLE) & WS_TABSTOP);
}

// The themed look also needs the executable's manifest to ask for common controls 6.
TEST(CommonControlsManifest, AskedOfTheActivationContext) {
    EXPECT_FALSE(commonControls6Requested()) << "the test program's manifest does not ask";
    auto contextOf = [](const std::string& dependency) {
        char folder[MAX_PATH];
        GetTempPathA(MAX_PATH, folder);
        std::string path = std::string(folder) + "sc_glyph_button_test.manifest";
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            << "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n"
               "<assembly xmlns=\"urn:schemas-microsoft-com:asm.v1\" manifestVersion=\"1.0\">\n"
               "<assemblyIdentity type=\"win32\" name=\"Test.Microsoft.Windows.Common-Controls\""
               " version=\"6.0.0.0\" processorArchitecture=\"amd64\"/>\n"
            << dependency << "</assembly>\n";
        ACTCTXA context{};
        context.cbSize = sizeof context;
        context.lpSource = path.c_str();
        HANDLE handle = CreateActCtxA(&context);
        DeleteFileA(path.c_str());
        return handle;
    };
    auto answerIn = [](HANDLE context) {
        ULONG_PTR cookie = 0;
        if (!ActivateActCtx(context, &cookie)) {
            ADD_FAILURE() << "cannot activate";
            return false;
        }
        bool answer = commonControls6Requested();
        DeactivateActCtx(0, cookie);
        return answer;
    };
    HANDLE with = contextOf(
        "<dependency><dependentAssembly><assemblyIdentity type=\"win32\""
        " name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""
        " processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\" language=\"*\"/>"
        "</dependentAssembly></dependency>\n");
    HANDLE without = contextOf("");
    ASSERT_NE(with, INVALID_HANDLE_VALUE);
    ASSERT_NE(without, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(answerIn(with));
    EXPECT_FALSE(answerIn(without)) << "its own name alone does not count";
    ReleaseActCtx(with);
    ReleaseActCtx(without);
    EXPECT_FALSE(commonControls6Requested());
}

} // namespace
} // namespace sc::controls
