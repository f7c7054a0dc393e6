// The About window in-process: opened from the main window's popup entry, driven from inside
// its modal loop; the shell, the description file, the clock and the error dialog are doubles.
// Also both windows in the contrast schemes and after a change of the system's colours.
#include "Main/main_form.h"
#include "about/about_clock.h"
#include "about/about_form.h"
#include "about/about_placement.h"
#include "accessible_tree.h"
#include "app/description_file.h"
#include "app/platform_services.h"
#include "app/product_profile.h"
#include "catalogue/program_directory.h"
#include "contrast_scheme.h"
#include "png/png_picture_format_win32.h"
#include "png_writer.h"
#include "pointer.h"
#include "support/fake_profile_reader.h"
#include "support/gui_pump.h"
#include "support/inside_modal.h"
#include "support/main_window_fixture.h"
#include "support/recording_shell_service.h"
#include "toolkit/application.h"
#include "window_capture.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <map>
#include <memory>
#include <optional>

namespace sc {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class FixedYear : public YearClock {
  public:
    int currentYear() const override { return 2031; }
};

using test::InsideModal;

class AboutWindowTest : public test::MainWindowFixture<> {
  protected:
    void SetUp() override {
        MainWindowFixture::SetUp();
        platform.setProfileReader(&profile);
        setAboutClock(&year);
        directory = directoryPart(tk::Application().exeName());
        setDescription("4.2.0.118", "Fernhollow Media Ltd.");
        removeLogo();
        start();
    }
    void TearDown() override {
        MainWindowFixture::TearDown();
        removeLogo();
        platform.setProfileReader(nullptr);
        tk::Application().setDisplaySettings(nullptr);
        setAboutClock(nullptr);
    }

    void setDescription(const std::string& version, const std::string& company) {
        const std::string path = descriptionFilePath(directory);
        profile.set(path, "SYSTEM", "Version", version);
        profile.set(path, "SYSTEM", "Company", company);
    }
    std::string logoPath() const { return directory + "leftlogo.png"; }
    void removeLogo() const { DeleteFileA(logoPath().c_str()); }
    void writeLogo(const std::string& bytes) const {
        std::ofstream(logoPath(), std::ios::binary | std::ios::trunc) << bytes;
    }
    void writeLogo(const snapshot::RgbImage& image) const {
        ASSERT_TRUE(snapshot::writePngFile(logoPath(), image));
    }

    ShellRequest request(const std::string& target) const {
        ShellRequest r;
        r.owner = platform.ownerWindow();
        r.verb = "open";
        r.file = target;
        r.showCommand = 10;
        return r;
    }

    // A left click at the middle of a windowless control, on its parent's surface.
    static void clickOn(const tk::TControl& c) {
        test::clickAt(c.parentHandle(), c.left() + c.width() / 2, c.top() + c.height() / 2);
    }

    png::TPngPictureFormat pngFormat;
    const BrandRow& brand = brandTable()[0];
    test::FakeProfileReader profile;
    FixedYear year;
    std::string directory;
};

TEST_F(AboutWindowTest, OpensModalOverTheMainWindowOnTheAboutTabWithEveryText) {
    writeLogo(snapshot::RgbImage{2, 2, std::vector<std::uint8_t>(12, 200)});
    form->ListBoxData().setFocus(); // not the first control, where a lost focus would land
    bool checked = false;
    InsideModal::run(*form, [&](TFormAbout& about) {
        checked = true;
        EXPECT_EQ(GetWindow(about.handle(), GW_OWNER), form->handle());
        EXPECT_FALSE(IsWindowEnabled(form->handle())) << "the main window takes input";
        EXPECT_EQ(GetActiveWindow(), about.handle());
        EXPECT_EQ(about.caption(), "About Quillmark");
        RECT client{};
        GetClientRect(about.handle(), &client);
        EXPECT_EQ(client.right, 523);
        EXPECT_EQ(client.bottom, 298);
        // Centred on the main window: the gaps on either side differ by the lost half pixel.
        const tk::Bounds m = form->outerBounds(), a = about.outerBounds();
        EXPECT_LE(std::abs((m.left + m.width - a.left - a.width) - (a.left - m.left)), 1);
        EXPECT_LE(std::abs((m.top + m.height - a.top - a.height) - (a.top - m.top)), 1);

        EXPECT_EQ(about.PageControlMain().activePage(), &about.TabSheetAbout());
        EXPECT_TRUE(IsWindowVisible(about.TabSheetAbout().handle()));
        EXPECT_FALSE(IsWindowVisible(about.TabSheetUpdate().handle()));
        EXPECT_EQ(about.label("LabalTitle").caption(), "Quillmark 4.2.0.118");
        const tk::TLabel& copyright = about.label("LabelCopyright");
        EXPECT_EQ(copyright.caption(), "Copyright \xC2\xA9 2006-2031 Fernhollow Media Ltd.");
        EXPECT_GT(copyright.width(), 150); // sized to its text
        EXPECT_EQ(about.label("LabelWeb").caption(), brand.webSiteAddress);
        EXPECT_EQ(about.label("LabelSupportEmail").caption(), brand.supportAddress);
        EXPECT_EQ(about.label("LabelVersion").caption(), "4.2.0.118");
        EXPECT_EQ(about.label("LabelCheck").height(), 26); // broken in two by its CR LF
    });
    EXPECT_TRUE(checked);
    EXPECT_EQ(FindWindowA("TFormAbout", nullptr), nullptr) << "the window was not freed";
    EXPECT_TRUE(IsWindowEnabled(form->handle()));
    EXPECT_EQ(GetActiveWindow(), form->handle());
    EXPECT_EQ(GetFocus(), form->ListBoxData().handle()) << "the focus did not come back";
    EXPECT_THAT(errors.shown, IsEmpty()) << errors.shown[0].second;
    EXPECT_THAT(shell.requests, IsEmpty());
}

TEST_F(AboutWindowTest, LinksUpdatesButtonAndLogoOpenTheirTargetsWithoutTheHourglass) {
    InsideModal::run(*form, [&](TFormAbout& about) {
        // The links and the logo show the hand that start-up installed.
        HCURSOR hand = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_CROSS));
        tk::Application().screen().setCursorHandle(tk::crHandPoint, hand);
        const tk::TLabel& web = about.label("LabelWeb");
        POINT at{web.left() + 3, web.top() + 3};
        ClientToScreen(web.parentHandle(), &at);
        SetCursorPos(at.x, at.y);
        SendMessageA(web.parentHandle(), WM_SETCURSOR, reinterpret_cast<WPARAM>(web.parentHandle()),
                     MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
        EXPECT_EQ(GetCursor(), hand);
        snapshot::parkPointer();

        clickOn(web);
        clickOn(about.label("LabelSupportEmail"));
        // The Update tab through the keyboard: the tab control has the focus at first.
        EXPECT_EQ(GetFocus(), about.PageControlMain().handle());
        test::keyDown(about.PageControlMain().handle(), VK_RIGHT);
        EXPECT_EQ(about.PageControlMain().activePage(), &about.TabSheetUpdate());
        EXPECT_TRUE(IsWindowVisible(about.TabSheetUpdate().handle()));
        EXPECT_FALSE(IsWindowVisible(about.TabSheetAbout().handle()));
        SendMessageA(about.ButtonUpdates().handle(), BM_CLICK, 0, 0);
        test::pumpUntilIdle();
        clickOn(about.ImageLeft());
        EXPECT_TRUE(about.visible());
        EXPECT_EQ(about.modalResult(), tk::mrNone);
    });
    EXPECT_THAT(shell.requests, ElementsAre(request(std::string(brand.webSiteAddress)),
                                            request("mailto:" + std::string(brand.supportAddress)),
                                            request(std::string(brand.updatesAddress)),
                                            request(std::string(brand.updatesAddress))));
    EXPECT_THAT(shell.busyCounts, ElementsAre(0, 0, 0, 0));
    EXPECT_EQ(tk::Application().screen().cursor(), tk::crDefault);
}

TEST_F(AboutWindowTest, ScreenReadersFindTheTextsTheLinksAndTheLogoWithTheirActions) {
    writeLogo(snapshot::RgbImage{2, 2, std::vector<std::uint8_t>(12, 200)});
    CoInitialize(nullptr);
    InsideModal::run(*form, [&](TFormAbout& about) {
        const std::vector<acctree::AccessibleNode> tree = acctree::accessibleTree(about.handle());
        EXPECT_NE(acctree::findNode(tree, ROLE_SYSTEM_PROPERTYPAGE, "About"), nullptr);
        EXPECT_NE(acctree::findNode(tree, ROLE_SYSTEM_PROPERTYPAGE, "Update"), nullptr);
        EXPECT_NE(acctree::findNode(tree, ROLE_SYSTEM_STATICTEXT, "Quillmark 4.2.0.118"), nullptr);
        const acctree::AccessibleNode* web =
            acctree::findNode(tree, ROLE_SYSTEM_LINK, std::string(brand.webSiteAddress));
        const acctree::AccessibleNode* logo =
            acctree::findNode(tree, ROLE_SYSTEM_GRAPHIC, "Quillmark");
        ASSERT_NE(web, nullptr);
        ASSERT_NE(logo, nullptr);
        for (const acctree::AccessibleNode* node : {web, logo}) {
            EXPECT_EQ(node->action, "Jump");
            VARIANT child;
            child.vt = VT_I4;
            child.lVal = node->child;
            EXPECT_EQ(node->object->accDoDefaultAction(child), S_OK);
            test::pumpUntilIdle();
        }
    });
    EXPECT_THAT(shell.requests, ElementsAre(request(std::string(brand.webSiteAddress)),
                                            request(std::string(brand.updatesAddress))));
}

TEST_F(AboutWindowTest, ADoubleClickOnALinkOrTheLogoOpensItsTargetOnce) {
    // What the mouse sends for a double click: press, release, double-click press, release.
    auto doubleClick = [](const tk::TControl& c) {
        HWND surface = c.parentHandle();
        EXPECT_TRUE(GetClassLongPtrA(surface, GCL_STYLE) & CS_DBLCLKS) << "the system sends them";
        LPARAM at = MAKELPARAM(c.left() + c.width() / 2, c.top() + c.height() / 2);
        PostMessageA(surface, WM_LBUTTONDOWN, MK_LBUTTON, at);
        PostMessageA(surface, WM_LBUTTONUP, 0, at);
        PostMessageA(surface, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        PostMessageA(surface, WM_LBUTTONUP, 0, at);
        test::pumpUntilIdle();
    };
    InsideModal::run(*form, [&](TFormAbout& about) {
        doubleClick(about.label("LabelWeb"));
        doubleClick(about.label("LabelSupportEmail"));
        doubleClick(about.ImageLeft());
        clickOn(about.label("LabelWeb")); // a click after a double click is a click again
    });
    EXPECT_THAT(shell.requests, ElementsAre(request(std::string(brand.webSiteAddress)),
                                            request("mailto:" + std::string(brand.supportAddress)),
                                            request(std::string(brand.updatesAddress)),
                                            request(std::string(brand.webSiteAddress))));
}

TEST_F(AboutWindowTest, EnterClosesWithResultOkEscDoesNotAndTheCloseBoxCloses) {
    int afterEsc = -1, afterEnter = -1;
    InsideModal::run(*form, [&](TFormAbout& about) {
        HWND focus = GetFocus();
        EXPECT_EQ(focus, about.PageControlMain().handle());
        test::keyDown(focus, VK_ESCAPE);
        afterEsc = about.modalResult();
        test::keyDown(focus, VK_RETURN);
        afterEnter = about.modalResult();
    });
    EXPECT_EQ(afterEsc, tk::mrNone);
    EXPECT_EQ(afterEnter, tk::mrOk);
    EXPECT_EQ(FindWindowA("TFormAbout", nullptr), nullptr);

    int afterClose = -1;
    InsideModal::run(*form, [&](TFormAbout& about) {
        SendMessageA(about.handle(), WM_CLOSE, 0, 0);
        afterClose = about.modalResult();
    });
    EXPECT_EQ(afterClose, tk::mrCancel);
    EXPECT_TRUE(IsWindowEnabled(form->handle()));
    EXPECT_FALSE(tk::Application().terminated()) << "closing the About window ended the program";
}

TEST_F(AboutWindowTest, ChangedVersionAndCompanyShowAtTheNextOpeningOnTheAboutTab) {
    InsideModal::run(*form, [&](TFormAbout& about) {
        about.PageControlMain().setActivePage(about.TabSheetUpdate());
    });
    setDescription("5.0", "Nuthatch Ltd.");
    InsideModal::run(*form, [&](TFormAbout& about) {
        EXPECT_EQ(about.PageControlMain().activePage(), &about.TabSheetAbout());
        EXPECT_EQ(about.label("LabalTitle").caption(), "Quillmark 5.0");
        EXPECT_EQ(about.label("LabelCopyright").caption(),
                  "Copyright \xC2\xA9 2006-2031 Nuthatch Ltd.");
    });
}

TEST_F(AboutWindowTest, MissingLogoIsReportedOnceWithItsPathAndTheWindowStillOpensFilled) {
    std::string title, version;
    bool hasPicture = true;
    InsideModal::run(*form, [&](TFormAbout& about) {
        title = about.label("LabalTitle").caption();
        version = about.label("LabelVersion").caption();
        hasPicture = about.ImageLeft().Picture().Graphic() != nullptr;
        clickOn(about.ImageLeft());
    });
    ASSERT_EQ(errors.shown.size(), 1u);
    EXPECT_EQ(errors.shown[0].first, "Quillmark");
    // The system's own words for the reason ("The system cannot find the file specified.").
    char reason[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                   ERROR_FILE_NOT_FOUND, 0, reason, sizeof reason, nullptr);
    std::string systemText = reason;
    systemText.erase(systemText.find_last_not_of("\r\n ") + 1);
    EXPECT_EQ(errors.shown[0].second, "Cannot open file \"" + logoPath() + "\". " + systemText);
    EXPECT_EQ(title, "Quillmark 4.2.0.118");
    EXPECT_EQ(version, "4.2.0.118");
    EXPECT_FALSE(hasPicture);
    EXPECT_THAT(shell.requests, ElementsAre(request(std::string(brand.updatesAddress))));
}

// Bad logo files, random bytes and an empty file: each gives the one dialog with the codec's
// own text, and the window opens.
TEST_F(AboutWindowTest, ABadLogoGivesOneDialogWithTheCodecsMessageAndTheWindowOpens) {
    std::string random(4096, '\0');
    std::uint32_t state = 12345;
    for (char& c : random) {
        state = state * 1103515245u + 12345u;
        c = static_cast<char>(state >> 16);
    }
    for (const std::string& bytes : {random, std::string()}) {
        writeLogo(bytes);
        errors.shown.clear();
        bool opened = false;
        InsideModal::run(*form, [&](TFormAbout& about) {
            opened = true;
            EXPECT_EQ(about.ImageLeft().Picture().Graphic(), nullptr);
            EXPECT_EQ(about.label("LabalTitle").caption(), "Quillmark 4.2.0.118");
        });
        EXPECT_TRUE(opened);
        ASSERT_EQ(errors.shown.size(), 1u) << bytes.size() << " bytes";
        EXPECT_THAT(errors.shown[0].second, ::testing::HasSubstr("invalid header"));
    }
}

TEST_F(AboutWindowTest, LogoLargerThanThePanelIsCentredAndCutOffAtItsEdges) {
    // Each pixel tells where it lies: red = x / 2, green = y / 2.
    snapshot::RgbImage logo{400, 300, {}};
    for (int y = 0; y < logo.height; ++y) {
        for (int x = 0; x < logo.width; ++x) {
            logo.pixels.insert(logo.pixels.end(), {static_cast<std::uint8_t>(x / 2),
                                                   static_cast<std::uint8_t>(y / 2), 77});
        }
    }
    writeLogo(logo);
    std::optional<snapshot::RgbImage> shot;
    tk::TRect placed{};
    InsideModal::run(*form, [&](TFormAbout& about) {
        placed = about.ImageLeft().pictureRect();
        shot = snapshot::captureClientArea(about.handle());
    });
    EXPECT_THAT(errors.shown, IsEmpty());
    // (171 - 400) div 2 = -114 and (238 - 300) div 2 = -31, inside the bevels at 2, 2.
    EXPECT_EQ(placed.left, -112);
    EXPECT_EQ(placed.top, -29);
    ASSERT_TRUE(shot.has_value());
    auto pixel = [&](int x, int y) {
        const std::size_t i = (static_cast<std::size_t>(y) * shot->width + x) * 3;
        return std::array<int, 3>{shot->pixels[i], shot->pixels[i + 1], shot->pixels[i + 2]};
    };
    // The logo panel lies at 12, 12 of the window; the image inside its two bevel lines.
    EXPECT_EQ(pixel(14, 14), (std::array<int, 3>{57, 15, 77}));     // picture 114, 31
    EXPECT_EQ(pixel(184, 251), (std::array<int, 3>{142, 134, 77})); // picture 284, 268
    for (auto [x, y] : {std::pair{13, 100}, std::pair{185, 100}, std::pair{100, 13},
                        std::pair{100, 252}, std::pair{190, 100}, std::pair{100, 258}}) {
        EXPECT_NE(pixel(x, y)[2], 77) << "picture drawn outside the image at " << x << ", " << y;
    }
}

// The relative luminance of an sRGB colour, as the accessibility guidelines define it.
double luminance(const std::uint8_t* rgb) {
    double l = 0;
    for (int c = 0; c < 3; ++c) {
        const double v = rgb[c] / 255.0;
        l += std::array{0.2126, 0.7152, 0.0722}[c] *
             (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return l;
}

// The areas of the texts: a control's area of its surface, in the client area of `window`.
using TextAreas = std::vector<std::pair<std::string, RECT>>;
void addText(TextAreas& texts, HWND window, const std::string& what, HWND surface, RECT area) {
    MapWindowPoints(surface, window, reinterpret_cast<POINT*>(&area), 2);
    texts.emplace_back(what, area);
}

// Each area holds a text that stands out by 4.5:1 at least from the background it stands on:
// the commonest colour of the area is the background, the text's ink what stands out most.
void expectReadable(HWND window, const TextAreas& texts) {
    const std::optional<snapshot::RgbImage> shot = snapshot::captureClientArea(window);
    ASSERT_TRUE(shot.has_value());
    for (const auto& [what, r] : texts) {
        std::map<std::uint32_t, std::pair<int, const std::uint8_t*>> colours;
        for (int y = r.top; y < r.bottom && y < shot->height; ++y) {
            for (int x = r.left; x < r.right && x < shot->width; ++x) {
                const std::uint8_t* p = &shot->pixels[(std::size_t(y) * shot->width + x) * 3];
                auto& seen = colours[std::uint32_t(p[0]) << 16 | p[1] << 8 | p[2]];
                seen = {seen.first + 1, p};
            }
        }
        std::pair<int, const std::uint8_t*> background{0, nullptr};
        for (const auto& [key, seen] : colours) {
            background = seen.first > background.first ? seen : background;
        }
        ASSERT_NE(background.second, nullptr) << what;
        double best = 1, b = luminance(background.second);
        for (const auto& [key, seen] : colours) {
            const double a = luminance(seen.second);
            best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
        }
        EXPECT_GE(best, 4.5) << what;
    }
}

// A contrast scheme, and the message by which the windows hear that the theme changed.
class ContrastSchemeTest : public AboutWindowTest,
                           public ::testing::WithParamInterface<std::pair<const char*, UINT>> {};

TEST_P(ContrastSchemeTest, AfterTheNoticeEveryTextOfBothWindowsStandsOutByFourAndAHalfToOne) {
    // The system's colours change (its own notice repaints: still the standard look), then the
    // contrast theme is on, which the windows learn of by the message alone.
    acctree::SystemColoursScope colours(acctree::contrastScheme(GetParam().first));
    test::pumpUntilIdle();
    acctree::ContrastThemeOn contrast;
    tk::Application().setDisplaySettings(&contrast);
    const UINT notice = GetParam().second;
    SendMessageW(form->handle(), notice, notice == WM_SETTINGCHANGE ? SPI_SETHIGHCONTRAST : 0, 0);
    test::pumpUntilIdle();
    // The category names under their pictures and the task rows' text columns, inside the rows'
    // borders (where the focus rectangle lies); the OK button's caption.
    TextAreas texts;
    for (tk::TListBox* list : {&form->ListBoxMain(), &form->ListBoxData()}) {
        for (int i = 0; i < list->count(); ++i) {
            const RECT r = list->itemRect(i);
            const bool category = list == &form->ListBoxMain();
            addText(texts, form->handle(), list->name() + std::to_string(i), list->handle(),
                    {r.left + (category ? 2 : 100), category ? r.bottom - 24 : r.top + 2,
                     r.right - 2, r.bottom - 2});
        }
    }
    const Rect caption = form->ButtonOK().captionRect();
    addText(texts, form->handle(), "ButtonOK", form->ButtonOK().handle(),
            {caption.left, caption.top, caption.right, caption.bottom});
    expectReadable(form->handle(), texts);

    // The labels of each page (the tabs and push buttons are the platform's).
    InsideModal::run(*form, [&](TFormAbout& about) {
        for (tk::TTabSheet* page : {&about.TabSheetAbout(), &about.TabSheetUpdate()}) {
            about.PageControlMain().setActivePage(*page);
            test::pumpUntilIdle();
            TextAreas texts;
            for (const auto& c : about.controls()) {
                if (dynamic_cast<tk::TLabel*>(c.get()) && IsWindowVisible(c->parentHandle())) {
                    addText(texts, about.handle(), c->name(), c->parentHandle(),
                            {c->left(), c->top(), c->left() + c->width(), c->top() + c->height()});
                }
            }
            expectReadable(about.handle(), texts);
        }
    });
}

INSTANTIATE_TEST_SUITE_P(Schemes, ContrastSchemeTest,
                         ::testing::Values(std::pair{"black", UINT{WM_SETTINGCHANGE}},
                                           std::pair{"white", UINT{WM_SYSCOLORCHANGE}}));

TEST_F(AboutWindowTest, CompanyOfAUtf16OrAnAnsiDescriptionFileShowsWhole) {
    platform.setProfileReader(nullptr); // the platform's own reader
    const std::string path = descriptionFilePath(directory);
    auto copyrightShown = [&](const std::string& fileBytes) {
        std::ofstream(path, std::ios::binary | std::ios::trunc) << fileBytes;
        std::string copyright;
        InsideModal::run(
            *form, [&](TFormAbout& about) { copyright = about.label("LabelCopyright").caption(); });
        DeleteFileA(path.c_str());
        return copyright;
    };
    // UTF-16 with its byte-order mark: scripts that no code page holds together, and a letter
    // beyond U+FFFF.
    const std::wstring utf16 = L"\xFEFF[SYSTEM]\r\nCompany=Ωμέγα Жук 日本 𝒜 GmbH\r\n";
    EXPECT_EQ(copyrightShown(std::string(reinterpret_cast<const char*>(utf16.data()),
                                         utf16.size() * sizeof(wchar_t))),
              "Copyright © 2006-2031 Ωμέγα Жук 日本 𝒜 GmbH");
    // A stored ANSI file: Western letters in the system code page's own bytes.
    char ansi[32] = {};
    BOOL lost = FALSE;
    if (!WideCharToMultiByte(CP_ACP, 0, L"Müller & Söhne GmbH", -1, ansi, sizeof ansi, nullptr,
                             &lost) ||
        lost) {
        GTEST_SKIP() << "the system code page holds no \"\xC3\xBC\" or \"\xC3\xB6\"";
    }
    EXPECT_EQ(copyrightShown(std::string("[SYSTEM]\r\nCompany=") + ansi + "\r\n"),
              "Copyright © 2006-2031 Müller & Söhne GmbH");
}

} // namespace
} // namespace sc
