// The application object: its title, its error dialog at the handler boundary, the screen
// cursor, and forms built from definitions.
#include "support/gui_pump.h"
#include "support/recording_error_presenter.h"
#include "support/test_forms.h"
#include "toolkit/application.h"
#include "toolkit/form.h"

#include <gtest/gtest.h>

#include <utility>

namespace tk {
namespace {

TEST(ApplicationTitle, IsKeptByTheApplicationWindowAndReadsBackAtMost255Characters) {
    TApplication& app = Application();
    app.setTitle("Quillmark");
    EXPECT_EQ(app.title(), "Quillmark");
    char text[64] = {};
    GetWindowTextA(app.handle(), text, sizeof text);
    EXPECT_STREQ(text, "Quillmark");
    app.setTitle(std::string(300, 'T'));
    EXPECT_EQ(app.title(), std::string(255, 'T'));
    // Counted in UTF-16 units; a character beyond U+FFFF (two of them) is not halved.
    app.setTitle(std::string(254, 'T') + "\xF0\x9D\x92\x9C");
    EXPECT_EQ(app.title(), std::string(254, 'T'));
    app.setTitle("\xCE\xA9 \xD0\x96 \xE6\x97\xA5");
    EXPECT_EQ(app.title(), "\xCE\xA9 \xD0\x96 \xE6\x97\xA5");
    app.setTitle("");
}

TEST(ScreenCursor, HasTheToolkitShapesAndOverridesOnlyAwayFromDefault) {
    TScreen screen;
    EXPECT_EQ(screen.cursorHandle(crHourGlass),
              LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT)));
    EXPECT_EQ(screen.cursorHandle(crHandPoint),
              LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND)));
    EXPECT_FALSE(screen.applyCursor(crDefault));
    EXPECT_TRUE(screen.applyCursor(crHandPoint));
    screen.setCursor(crHourGlass);
    EXPECT_EQ(GetCursor(), screen.cursorHandle(crHourGlass));
    EXPECT_TRUE(screen.applyCursor(crDefault)); // the hourglass wins over every control
    screen.setCursor(crDefault);
    EXPECT_FALSE(screen.applyCursor(crDefault));

    TScreen installed; // a shape installed before its first use keeps the installed cursor
    HCURSOR arrow = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    installed.setCursorHandle(crHandPoint, arrow);
    EXPECT_EQ(installed.cursorHandle(crHandPoint), arrow);
}

using Shown = std::vector<std::pair<std::string, std::string>>;

// A small form whose handlers fail on request.
class TProbeForm : public TForm {
  public:
    explicit TProbeForm(bool failInCreate) : failInCreate_(failInCreate) {
        FormDefinition d = sc::test::TestForm("ProbeForm", 200, 120);
        d.events = {on("OnCreate", &TProbeForm::FormCreate)};
        ControlDefinition b =
            sc::test::TestControl("ButtonGo", ControlKind::button, {10, 10, 80, 24}, 0);
        b.caption = "&Go";
        b.events = {on("OnClick", &TProbeForm::ButtonGoClick)};
        d.controls = {b};
        build(d);
    }
    void FormCreate(TObject&) {
        created = true;
        if (failInCreate_) {
            throw std::runtime_error("Creation went wrong.");
        }
    }
    void ButtonGoClick(TObject& sender) {
        ++clicks;
        lastSender = sender.name();
        throw std::runtime_error("Click went wrong.");
    }
    bool created = false;
    int clicks = 0;
    std::string lastSender;

  private:
    bool failInCreate_;
};

class HandlerBoundaryTest : public ::testing::Test {
  protected:
    void SetUp() override {
        Application().reset();
        Application().setTitle("Probe Title");
        Application().setErrorPresenter(&errors);
    }
    void TearDown() override {
        sc::test::pumpUntilIdle(10, 300);
        Application().setErrorPresenter(nullptr);
        Application().reset();
    }
    sc::test::RecordingErrorPresenter errors;
};

TEST_F(HandlerBoundaryTest, AFailingEventHandlerShowsTheErrorDialogAndTheFormGoesOn) {
    TProbeForm form(false);
    form.show();
    sc::test::pumpUntilIdle();
    HWND button = form.control<TButton>("ButtonGo").handle();
    SendMessageA(button, BM_CLICK, 0, 0);
    SendMessageA(button, BM_CLICK, 0, 0);
    EXPECT_EQ(form.clicks, 2);
    EXPECT_EQ(form.lastSender, "ButtonGo");
    EXPECT_EQ(errors.shown,
              (Shown{{"Probe Title", "Click went wrong."}, {"Probe Title", "Click went wrong."}}));
    EXPECT_TRUE(IsWindow(form.handle()));
}

TEST_F(HandlerBoundaryTest, AFailureInTheCreationHandlerStillCreatesTheForm) {
    TProbeForm form(true);
    EXPECT_TRUE(form.created);
    EXPECT_EQ(errors.shown, (Shown{{"Probe Title", "Creation went wrong."}}));
    form.show();
    sc::test::pumpUntilIdle();
    EXPECT_TRUE(form.visible());
}

// A list whose rows fail to draw: each paint reports one failure, and the list is left
// validated, so it is not asked to paint again and again.
class TFailingRowsForm : public TForm {
  public:
    explicit TFailingRowsForm(bool buffered) {
        FormDefinition d = sc::test::TestForm("FailingRowsForm", 200, 160);
        ControlDefinition list =
            sc::test::TestControl("ListBoxRows", ControlKind::listBox, {0, 0, 200, 160}, 0);
        list.events = {on("OnDrawItem", &TFailingRowsForm::ListBoxRowsDrawItem)};
        d.controls = {list};
        build(d);
        TListBox& rows = control<TListBox>("ListBoxRows");
        rows.setStyle(TListBoxStyle::lbOwnerDrawFixed);
        rows.setItemHeight(20);
        rows.setDoubleBuffered(buffered);
        for (int i = 0; i < 5; ++i) {
            rows.addItem("row");
        }
    }
    void ListBoxRowsDrawItem(TObject&, int, const RECT&, unsigned) {
        ++draws;
        throw std::runtime_error("Row went wrong.");
    }
    int draws = 0;
};

TEST_F(HandlerBoundaryTest, AFailingRowPaintIsReportedOncePerPaintAndLeavesNothingToPaint) {
    for (bool buffered : {true, false}) {
        errors.shown.clear();
        TFailingRowsForm form(buffered);
        form.show();
        HWND list = form.control<TListBox>("ListBoxRows").handle();
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
        sc::test::pumpUntilIdle();
        ASSERT_GE(form.draws, 5) << buffered;
        EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE)) << buffered;
        const std::size_t afterFirst = errors.shown.size();
        EXPECT_GE(afterFirst, 1u);

        // One more paint of all rows: exactly one more report.
        const int before = form.draws;
        InvalidateRect(list, nullptr, FALSE);
        UpdateWindow(list);
        sc::test::pumpUntilIdle();
        EXPECT_GE(form.draws, before + 5) << buffered;
        EXPECT_EQ(errors.shown.size(), afterFirst + 1) << buffered;
        EXPECT_EQ(errors.shown.back(),
                  (std::pair<std::string, std::string>{"Probe Title", "Row went wrong."}));
        EXPECT_FALSE(GetUpdateRect(list, nullptr, FALSE)) << buffered;
    }
}

// Two lists, one made owner-drawn from its definition and one switched to that style after
// its window exists, as a creation handler does.
class TTwoListsForm : public TForm {
  public:
    TTwoListsForm() {
        FormDefinition d = sc::test::TestForm("TwoListsForm", 300, 160);
        ControlDefinition early =
            sc::test::TestControl("ListBoxEarly", ControlKind::listBox, {0, 0, 150, 160}, 0);
        early.ownerDrawFixed = true;
        ControlDefinition late = early;
        late.name = "ListBoxLate";
        late.bounds = {150, 0, 150, 160};
        late.tabOrder = 1;
        late.ownerDrawFixed = false;
        d.controls = {early, late};
        build(d);
    }
};

TEST(ListBoxStyle, AListOwnerDrawnFromItsDefinitionKeepsItsWindowAndEndsLikeASwitchedOne) {
    TTwoListsForm form;
    TListBox& early = form.control<TListBox>("ListBoxEarly");
    TListBox& late = form.control<TListBox>("ListBoxLate");
    EXPECT_EQ(early.style(), TListBoxStyle::lbOwnerDrawFixed);
    EXPECT_EQ(late.style(), TListBoxStyle::lbStandard);
    const HWND earlyWindow = early.handle();
    const HWND lateWindow = late.handle();
    for (TListBox* list : {&early, &late}) {
        list->setStyle(TListBoxStyle::lbOwnerDrawFixed);
        list->setItemHeight(75);
        list->addItem("row 1");
        list->addItem("row 2");
        list->setItemIndex(1);
    }
    EXPECT_EQ(early.handle(), earlyWindow);
    EXPECT_NE(late.handle(), lateWindow);
    EXPECT_EQ(GetWindowLongA(early.handle(), GWL_STYLE), GetWindowLongA(late.handle(), GWL_STYLE));
    EXPECT_EQ(GetWindowLongA(early.handle(), GWL_EXSTYLE),
              GetWindowLongA(late.handle(), GWL_EXSTYLE));
    EXPECT_EQ(SendMessageA(early.handle(), LB_GETITEMHEIGHT, 0, 0), 75);
    EXPECT_EQ(SendMessageA(late.handle(), LB_GETITEMHEIGHT, 0, 0), 75);
    EXPECT_EQ(early.items(), late.items());
    EXPECT_EQ(early.itemIndex(), late.itemIndex());
    // The tab order is the definition's for both.
    EXPECT_EQ(GetNextWindow(early.handle(), GW_HWNDNEXT), late.handle());
}

// Windows made out of tab order are moved into it: the ones in the tab order first, by it.
TEST(TabOrder, WindowsMadeOutOfTabOrderAreMovedIntoIt) {
    class TShuffledForm : public TForm {
      public:
        TShuffledForm() {
            FormDefinition d = sc::test::TestForm("ShuffledForm", 300, 100);
            for (auto [name, tab] : {std::pair{"ListBoxNone", -1}, std::pair{"ListBoxSecond", 1},
                                     std::pair{"ListBoxFirst", 0}}) {
                d.controls.push_back(
                    sc::test::TestControl(name, ControlKind::listBox, {0, 0, 100, 100}, tab));
            }
            build(d);
        }
    } form;
    HWND first = GetWindow(form.handle(), GW_CHILD);
    EXPECT_EQ(first, form.control<TListBox>("ListBoxFirst").handle());
    HWND second = GetNextWindow(first, GW_HWNDNEXT);
    EXPECT_EQ(second, form.control<TListBox>("ListBoxSecond").handle());
    EXPECT_EQ(GetNextWindow(second, GW_HWNDNEXT), form.control<TListBox>("ListBoxNone").handle());
}

} // namespace
} // namespace tk
