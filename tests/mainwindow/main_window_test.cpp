// The main window in-process: real windows, real messages, the shell and the error dialog
// replaced by doubles.
#include "Main/main_form.h"
#include "accessible_tree.h"
#include "app/platform_services.h"
#include "app/product_profile.h"
#include "catalogue/program_directory.h"
#include "catalogue/shell_request.h"
#include "picture_check.h"
#include "png_writer.h"
#include "pointer.h"
#include "support/gui_pump.h"
#include "support/main_window_fixture.h"
#include "toolkit/application.h"
#include "window_capture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

namespace sc {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

// Records each request with the busy state and also the screen cursor at the moment of the call.
struct WatchingShell : test::RecordingShellService {
    using RecordingShellService::RecordingShellService;
    void execute(const ShellRequest& request) override {
        cursors.push_back(tk::Application().screen().cursor());
        RecordingShellService::execute(request);
    }
    std::vector<int> cursors;
};

class MainWindowTest : public test::MainWindowFixture<WatchingShell> {
  protected:
    void start(const std::string& title) {
        MainWindowFixture::start(title);
        // The window system activates a new window in its own time; keys and focus moves of a
        // test must not race that activation, and a window that never becomes active fails.
        ASSERT_TRUE(sc::test::pumpUntil([&] { return GetActiveWindow() == form->handle(); }));
    }

    // The file beside this test program, its path worked out here.
    static std::string besideThisProgram(const std::string& file) {
        char path[MAX_PATH] = {};
        const std::string self(path, GetModuleFileNameA(nullptr, path, MAX_PATH));
        return self.substr(0, self.rfind('\\') + 1) + file;
    }

    // Row r of a list, at its middle.
    void clickRow(tk::TListBox& list, int row) {
        sc::test::clickAt(list.handle(), 40, row * list.itemHeight() + list.itemHeight() / 2);
    }
};

TEST_F(MainWindowTest, StartsWithDataSelectedAndItsFourTasks) {
    start("Quillmark");
    EXPECT_EQ(form->caption(), "Quillmark");
    EXPECT_THAT(form->ListBoxMain().items(), ElementsAre("Data", "Music", "Video", "Tools"));
    EXPECT_EQ(form->ListBoxMain().itemIndex(), 0);
    EXPECT_TRUE(form->ListBoxMain().focused());
    ASSERT_EQ(form->ListBoxData().count(), 4);
    EXPECT_EQ(form->ListBoxData().item(0).substr(0, 8), "Data CD\r");
    EXPECT_EQ(form->ListBoxData().itemIndex(), 0);
    EXPECT_EQ(form->profile().webSiteAddress, brandTable()[0].webSiteAddress);
    EXPECT_THAT(shell.requests, IsEmpty());
    EXPECT_THAT(errors.shown, IsEmpty());
    EXPECT_FALSE(tk::Application().terminated());
    // A fixed single frame with a minimise box and no maximise box, centred on the screen.
    const LONG frame = WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME;
    EXPECT_EQ(GetWindowLongA(form->handle(), GWL_STYLE) & frame,
              WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    const tk::Bounds b = form->outerBounds();
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CXSCREEN) - b.left - b.width) - b.left), 1);
    EXPECT_LE(std::abs((GetSystemMetrics(SM_CYSCREEN) - b.top - b.height) - b.top), 1);
}

TEST_F(MainWindowTest, TaskPicturesAreBlendedOverTheirRowsBackground) {
    start("Quillmark");
    ASSERT_EQ(form->ListBoxData().itemIndex(), 0); // row 0 grey, row 1 white; both picture 0
    const png::TPNGObject& png = *form->PngImageListData().PngImages().ItemAt(0)->PngImage();
    int px = -1, py = -1;
    for (int y = 0; y < png.Height() && px < 0; ++y) {
        for (int x = 0; x < png.Width(); ++x) {
            int a = png.AlphaRow(static_cast<std::uint32_t>(y))[x];
            const std::uint8_t* bgr = png.PixelRow(static_cast<std::uint32_t>(y)) + 3 * x;
            if (a > 96 && a < 160 && bgr[0] + bgr[1] + bgr[2] < 500) {
                px = x;
                py = y;
                break;
            }
        }
    }
    ASSERT_GE(px, 0) << "the picture has no half-transparent pixel";
    const int alpha = png.AlphaRow(static_cast<std::uint32_t>(py))[px];
    const std::uint8_t* bgr = png.PixelRow(static_cast<std::uint32_t>(py)) + 3 * px;

    auto shot = snapshot::captureClientArea(form->ListBoxData().handle());
    ASSERT_TRUE(shot.has_value());
    const int rowHeight = form->ListBoxData().itemHeight();
    for (int row : {0, 1}) {
        const int background = row == 0 ? 0x80 : 0xFF;
        const int x = 25 + px, y = row * rowHeight + 15 + py;
        const std::uint8_t* rgb =
            &shot->pixels[static_cast<std::size_t>((y * shot->width + x) * 3)];
        for (int c = 0; c < 3; ++c) {
            int sample = bgr[2 - c];
            int expected = (sample * alpha + background * (255 - alpha) + 127) / 255;
            EXPECT_NEAR(rgb[c], expected, 3) << "row " << row << " channel " << c;
        }
    }
}

TEST_F(MainWindowTest, CategoryClicksRefillTheTaskListAndSelectRowZero) {
    start("Quillmark");
    clickRow(form->ListBoxMain(), 3);
    EXPECT_EQ(form->ListBoxMain().itemIndex(), 3);
    ASSERT_EQ(form->ListBoxData().count(), 5);
    EXPECT_EQ(form->ListBoxData().itemIndex(), 0);
    EXPECT_NE(form->ListBoxData().item(0).find("using Quillmark."), std::string::npos);

    clickRow(form->ListBoxMain(), 1);
    EXPECT_EQ(form->ListBoxData().count(), 2);
    EXPECT_EQ(form->ListBoxData().itemIndex(), 0);

    // Choosing the same category again refills and selects row 0 again.
    form->ListBoxData().setItemIndex(1);
    clickRow(form->ListBoxMain(), 1);
    EXPECT_EQ(form->ListBoxData().count(), 2);
    EXPECT_EQ(form->ListBoxData().itemIndex(), 0);

    // The arrow keys choose as well: Down from Music to Video.
    form->ListBoxData().setItemIndex(1);
    sc::test::keyDown(form->ListBoxMain().handle(), VK_DOWN);
    EXPECT_EQ(form->ListBoxMain().itemIndex(), 2);
    EXPECT_EQ(form->ListBoxData().count(), 3);
    EXPECT_EQ(form->ListBoxData().itemIndex(), 0);
    EXPECT_THAT(shell.requests, IsEmpty());
}

TEST_F(MainWindowTest, HoverMovesTheSelectionAndStartsNothing) {
    start("Quillmark");
    HWND list = form->ListBoxData().handle();
    for (int row = 0; row < 4; ++row) {
        PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(100, row * 75 + 10));
        sc::test::pumpUntilIdle();
        EXPECT_EQ(form->ListBoxData().itemIndex(), row);
    }
    // The empty area below the last row keeps the last row selected.
    PostMessageA(list, WM_MOUSEMOVE, 0, MAKELPARAM(100, 4 * 75 + 40));
    sc::test::pumpUntilIdle();
    EXPECT_EQ(form->ListBoxData().itemIndex(), 3);
    EXPECT_THAT(shell.requests, IsEmpty());
}

TEST_F(MainWindowTest, ClickOnATaskAsksTheShellToOpenItsProgramUnderTheHourglass) {
    start("Quillmark");
    clickRow(form->ListBoxMain(), 3);
    clickRow(form->ListBoxData(), 1); // hover selects it first, the click then starts it once
    // The owner is the application's hidden window, found by its class.
    HWND applicationWindow = FindWindowA("TApplication", nullptr);
    ASSERT_EQ(GetWindowThreadProcessId(applicationWindow, nullptr), GetCurrentThreadId());
    ShellRequest expected;
    expected.owner = reinterpret_cast<std::uintptr_t>(applicationWindow);
    expected.verb = "open";
    expected.file = besideThisProgram("DriveInfoTool.exe");
    expected.showCommand = 10;
    ASSERT_THAT(shell.requests, ElementsAre(expected));
    EXPECT_THAT(shell.busyCounts, ElementsAre(1));
    EXPECT_THAT(shell.cursors, ElementsAre(tk::crHourGlass));
    EXPECT_EQ(platform.busyCursor().count(), 0);
    EXPECT_EQ(tk::Application().screen().cursor(), tk::crDefault);
    EXPECT_EQ(form->ListBoxData().itemIndex(), 1);
    EXPECT_TRUE(form->visible());
    EXPECT_FALSE(tk::Application().terminated());

    // A double click starts it once more: its first press is a click on the selected row, its
    // second a double click, which the list does not report as a selection.
    const LPARAM at = MAKELPARAM(40, 75 + 37);
    for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP}) {
        PostMessageA(form->ListBoxData().handle(), message,
                     message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    }
    sc::test::pumpUntilIdle();
    EXPECT_EQ(shell.requests.size(), 2u);
}

TEST_F(MainWindowTest, DownKeyInTheTaskListStartsTheNewlySelectedTask) {
    start("Quillmark");
    clickRow(form->ListBoxMain(), 1); // Music
    shell.requests.clear();
    form->ListBoxData().setFocus();
    sc::test::keyDown(form->ListBoxData().handle(), VK_DOWN);
    EXPECT_EQ(form->ListBoxData().itemIndex(), 1);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].file, besideThisProgram("TrackRipTool.exe"));
}

TEST_F(MainWindowTest, AFailingShellIsShownByTheErrorDialogAndTheHourglassGoes) {
    start("Quillmark");
    shell.failWith = "The shell is gone.";
    clickRow(form->ListBoxData(), 2);
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].first, "Quillmark");
    EXPECT_EQ(errors.shown[0].second, "The shell is gone.");
    EXPECT_EQ(platform.busyCursor().count(), 0);
    EXPECT_EQ(tk::Application().screen().cursor(), tk::crDefault);
    // The window goes on as it was.
    shell.failWith.reset();
    clickRow(form->ListBoxData(), 3);
    EXPECT_EQ(shell.requests.size(), 2u);
}

TEST_F(MainWindowTest, PopupEntriesCarryTheTitleUnchanged) {
    start("50% R&D");
    EXPECT_EQ(form->PopupMenu().item(0).caption(), "50% R&D On the Web...");
    EXPECT_EQ(form->PopupMenu().item(1).caption(), "A&bout 50% R&D...");
    EXPECT_EQ(form->caption(), "50% R&D");
}

// Reads a popup menu of this thread from a timer once it shows (the menu's modal loop runs the
// timer), then picks its first entry with the keyboard, or closes it when there is no owner to
// send keys to: a menu that opens where none should fails a test instead of blocking it.
struct MenuProbe {
    static inline HWND owner = nullptr;
    static inline RECT menuRect{};
    static inline int itemCount = -1;
    static void CALLBACK onTimer(HWND, UINT, UINT_PTR id, DWORD) {
        HWND menu = FindWindowA("#32768", nullptr);
        if (!menu || !IsWindowVisible(menu) ||
            GetWindowThreadProcessId(menu, nullptr) != GetCurrentThreadId())
            return;
        KillTimer(nullptr, id);
        GetWindowRect(menu, &menuRect);
        itemCount =
            GetMenuItemCount(reinterpret_cast<HMENU>(SendMessageA(menu, MN_GETHMENU, 0, 0)));
        if (!owner) {
            EndMenu();
            return;
        }
        PostMessageA(owner, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(owner, WM_KEYDOWN, VK_RETURN, 0);
    }
};

TEST_F(MainWindowTest, HelpButtonOpensTheMenuAtItsBottomLeftAndTheWebEntryOpensTheSite) {
    start("Quillmark");
    MenuProbe::owner = form->handle();
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, &MenuProbe::onTimer);
    SendMessageA(form->ButtonHelp().handle(), BM_CLICK, 0, 0);
    sc::test::pumpUntilIdle();
    KillTimer(nullptr, timer);

    POINT corner{8, 432 + 42};
    ClientToScreen(form->handle(), &corner);
    EXPECT_EQ(MenuProbe::itemCount, 2);
    EXPECT_EQ(MenuProbe::menuRect.left, corner.x);
    EXPECT_EQ(MenuProbe::menuRect.top, corner.y);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].file, brandTable()[0].webSiteAddress);
    EXPECT_EQ(shell.requests[0].verb, "open");
    EXPECT_EQ(shell.requests[0].showCommand, 10);
    EXPECT_THAT(shell.busyCounts, ElementsAre(1));
    EXPECT_EQ(platform.busyCursor().count(), 0);
}

TEST_F(MainWindowTest, RightClickOpensNoMenu) {
    start("Quillmark");
    MenuProbe::owner = nullptr;
    MenuProbe::itemCount = -1;
    const UINT_PTR timer = SetTimer(nullptr, 0, 200, &MenuProbe::onTimer);
    for (HWND target : {form->handle(), form->ListBoxData().handle()}) {
        PostMessageA(target, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(300, 40));
        PostMessageA(target, WM_RBUTTONUP, 0, MAKELPARAM(300, 40));
        sc::test::pumpUntilIdle();
    }
    KillTimer(nullptr, timer);
    EXPECT_EQ(MenuProbe::itemCount, -1) << "a menu opened";
}

TEST_F(MainWindowTest, CloseBoxEndsTheMessageLoop) {
    start("Quillmark");
    SendMessageA(form->handle(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(tk::Application().terminated());
    tk::Application().run();
}

TEST_F(MainWindowTest, GlyphButtonsSitInTheTabOrderAndAnswerTheirKeys) {
    start("Quillmark");
    // From the window itself Tab walks the lists, then the help and the OK button: the lists,
    // whose windows were recreated owner-drawn, are back in their places.
    SetFocus(form->handle());
    ASSERT_EQ(GetFocus(), form->handle());
    std::vector<HWND> visited;
    for (int i = 0; i < 4; ++i) {
        sc::test::keyDown(GetFocus(), VK_TAB);
        visited.push_back(GetFocus());
    }
    EXPECT_THAT(visited, ElementsAre(form->ListBoxMain().handle(), form->ListBoxData().handle(),
                                     form->ButtonHelp().handle(), form->ButtonOK().handle()));
    // Enter and Esc in the lists click nothing; Alt+O closes.
    form->ListBoxMain().setFocus();
    sc::test::keyDown(form->ListBoxMain().handle(), VK_RETURN);
    sc::test::keyDown(form->ListBoxMain().handle(), VK_ESCAPE);
    EXPECT_FALSE(tk::Application().terminated());
    PostMessageA(form->ListBoxMain().handle(), WM_SYSCHAR, 'o', 0x20000001);
    sc::test::pumpUntilIdle();
    EXPECT_TRUE(tk::Application().terminated());
    EXPECT_THAT(shell.requests, IsEmpty());
}

// The pictures where they belong, and the category names as the list paints them: centred on
// the list's outer width, 169, by their width in the window's font, Tahoma of 11 pixels.
TEST_F(MainWindowTest, PicturesAndCategoryNamesWhereTheyBelongScreenshot) {
    start("Quillmark");
    auto shot = snapshot::captureClientArea(form->handle());
    ASSERT_TRUE(shot.has_value());
    std::string folder = SC_ARTEFACT_DIR;
    for (char& c : folder) {
        c = c == '/' ? '\\' : c;
    }
    CreateDirectoryA(folder.c_str(), nullptr);
    EXPECT_TRUE(snapshot::writePngFile(folder + "\\main-window-buttons.png", *shot));
    EXPECT_TRUE(e2e::showsPicture(*shot, 8 + 7, 432 + 5, e2e::artwork("button-help.png")));
    EXPECT_TRUE(e2e::showsPicture(*shot, 568 + 7, 432 + 5, e2e::artwork("button-ok.png")));
    // The category list's client area starts at (10, 10); row 1, Music, at 80.
    EXPECT_TRUE(e2e::showsPicture(*shot, 10 + (169 - 48) / 2, 10 + 80 + (80 - 48) / 2 - 10,
                                  e2e::artwork("category-music.png")));
    // Its name, drawn here into the band of the row below the picture, black on white.
    constexpr int kBandTop = 80 + 56, kBandHeight = 24, kWidth = 165;
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP band = CreateCompatibleBitmap(screen, kWidth, kBandHeight);
    ReleaseDC(nullptr, screen);
    HFONT font = CreateFontA(-11, 0, 0, 0, FW_NORMAL, 0, 0, 0, ANSI_CHARSET, 0, 0, 0, 0, "Tahoma");
    HGDIOBJ oldBitmap = SelectObject(dc, band), oldFont = SelectObject(dc, font);
    RECT all{0, 0, kWidth, kBandHeight};
    FillRect(dc, &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
    SIZE size{};
    GetTextExtentPoint32A(dc, "Music", 5, &size);
    TextOutA(dc, (169 - size.cx) / 2, 80 + (80 - size.cy) / 2 + 25 - kBandTop, "Music", 5);
    int differing = 0;
    for (int y = 0; y < kBandHeight; ++y) {
        for (int x = 0; x < kWidth; ++x) {
            const COLORREF c = GetPixel(dc, x, y);
            const std::uint8_t* p =
                &shot->pixels[std::size_t((10 + kBandTop + y) * shot->width + 10 + x) * 3];
            differing += p[0] != GetRValue(c) || p[1] != GetGValue(c) || p[2] != GetBValue(c);
        }
    }
    SelectObject(dc, oldBitmap);
    DeleteObject(SelectObject(dc, oldFont));
    DeleteObject(band);
    DeleteDC(dc);
    EXPECT_EQ(differing, 0) << "the name is drawn elsewhere or otherwise";
}

TEST_F(MainWindowTest, ScreenReadersGetNamedListsTaskRowsThatStartTheirTaskAndAMenuButton) {
    start("Quillmark");
    CoInitialize(nullptr);
    const std::vector<acctree::AccessibleNode> tree = acctree::accessibleTree(form->handle());
    EXPECT_NE(acctree::findNode(tree, ROLE_SYSTEM_LIST, "Categories"), nullptr);
    EXPECT_NE(acctree::findNode(tree, ROLE_SYSTEM_LIST, "Tasks"), nullptr);
    const acctree::AccessibleNode* row = acctree::findNode(tree, ROLE_SYSTEM_LISTITEM, "Data DVD");
    ASSERT_NE(row, nullptr);
    // The description runs on over the row's line breaks.
    EXPECT_EQ(row->line(),
              "    list item \"Data DVD\" description \"Create a data DVD which can be "
              "used to save all types of files and complete folders. The DVD can be "
              "read on all Windows platforms.\" (focusable, selectable) action "
              "\"Start\"");
    const acctree::AccessibleNode* help = acctree::findNode(tree, ROLE_SYSTEM_BUTTONMENU, "Help");
    ASSERT_NE(help, nullptr);
    EXPECT_TRUE(help->stateBits & STATE_SYSTEM_HASPOPUP) << help->states;
    EXPECT_NE(acctree::findNode(tree, ROLE_SYSTEM_PUSHBUTTON, "OK"), nullptr);

    VARIANT child;
    child.vt = VT_I4;
    child.lVal = row->child;
    EXPECT_EQ(row->object->accDoDefaultAction(child), S_OK);
    EXPECT_TRUE(sc::test::pumpUntil([&] { return !shell.requests.empty(); }));
    EXPECT_EQ(form->ListBoxData().itemIndex(), 1);
    ASSERT_EQ(shell.requests.size(), 1u);
    EXPECT_EQ(shell.requests[0].file, besideThisProgram("DataDiscTool.exe"));
}

// A title the brand table does not know (here also longer than the 255 characters the
// application window keeps): the window is shown and filled once, then the program ends quietly.
TEST_F(MainWindowTest, AnUnknownTitleEndsAtTheFirstTurnOfTheLoopWithoutAMessage) {
    const std::string title = "quillmark" + std::string(300, 'x');
    tk::Application().setTitle(title);
    form = std::make_unique<TMainForm>(platform);
    EXPECT_EQ(form->caption(), title.substr(0, 255));
    EXPECT_TRUE(tk::Application().terminated());
    tk::Application().run(); // returns: the quit request is waiting
    EXPECT_EQ(form->ListBoxMain().count(), 4);
    EXPECT_EQ(form->ListBoxMain().itemIndex(), 0);
    EXPECT_EQ(form->ListBoxData().count(), 4);
    EXPECT_TRUE(form->profile().webSiteAddress.empty());
    EXPECT_THAT(errors.shown, IsEmpty());
    EXPECT_THAT(shell.requests, IsEmpty());
}

} // namespace
} // namespace sc
