// Contrast themes and system colours: the main and the About window painted with the contrast
// seam on and the desktop in the standard black or white contrast scheme, read back pixel by
// pixel; and a system colour changed while the windows are open.
#include "about_window_fixture.h"
#include "contrast_scheme.h"
#include "toolkit/label.h"
#include "window_capture.h"

#include <commctrl.h>

#include <cmath>
#include <map>

namespace sc {
namespace {

// The relative luminance of an sRGB colour, as the accessibility guidelines define it.
double luminance(const std::uint8_t* rgb) {
    const double weights[3] = {0.2126, 0.7152, 0.0722};
    double l = 0;
    for (int c = 0; c < 3; ++c) {
        const double v = rgb[c] / 255.0;
        l += weights[c] * (v <= 0.03928 ? v / 12.92 : std::pow((v + 0.055) / 1.055, 2.4));
    }
    return l;
}

struct TextArea {
    std::string what;
    RECT area; // client coordinates of the window
};

TextArea textIn(HWND window, const std::string& what, HWND surface, RECT area) {
    MapWindowPoints(surface, window, reinterpret_cast<POINT*>(&area), 2);
    return {what, area};
}

// Each area holds a text that stands out from the background it stands on by 4.5:1 at least:
// the commonest colour of the area is the background, the text's ink what stands out most.
void expectReadable(HWND window, const std::vector<TextArea>& texts) {
    const std::optional<snapshot::RgbImage> shot = snapshot::captureClientArea(window);
    ASSERT_TRUE(shot.has_value());
    for (const TextArea& t : texts) {
        std::map<std::uint32_t, std::pair<int, const std::uint8_t*>> colours;
        for (int y = std::max(0L, t.area.top); y < std::min<long>(shot->height, t.area.bottom);
             ++y) {
            for (int x = std::max(0L, t.area.left); x < std::min<long>(shot->width, t.area.right);
                 ++x) {
                const std::uint8_t* p = &shot->pixels[(std::size_t(y) * shot->width + x) * 3];
                auto& entry = colours[std::uint32_t(p[0]) << 16 | p[1] << 8 | p[2]];
                entry = {entry.first + 1, p};
            }
        }
        ASSERT_FALSE(colours.empty()) << t.what;
        int most = 0;
        const std::uint8_t* background = nullptr;
        for (const auto& [key, entry] : colours) {
            if (entry.first > most) {
                most = entry.first;
                background = entry.second;
            }
        }
        double best = 1;
        for (const auto& [key, entry] : colours) {
            const double a = luminance(entry.second), b = luminance(background);
            best = std::max(best, (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05));
        }
        EXPECT_GE(best, 4.5) << t.what;
    }
}

// Every label and push button on the About window's visible page, and the tabs.
std::vector<TextArea> aboutTexts(TFormAbout& about) {
    std::vector<TextArea> texts;
    for (const auto& c : about.controls()) {
        if (dynamic_cast<tk::TLabel*>(c.get()) && IsWindowVisible(c->parentHandle())) {
            texts.push_back(
                textIn(about.handle(), c->name(), c->parentHandle(),
                       RECT{c->left(), c->top(), c->left() + c->width(), c->top() + c->height()}));
        } else if (dynamic_cast<tk::TButton*>(c.get()) && IsWindowVisible(c->handle())) {
            // Inside the frame and the focus rectangle.
            texts.push_back(textIn(about.handle(), c->name(), c->handle(),
                                   RECT{5, 5, c->width() - 5, c->height() - 5}));
        }
    }
    HWND tabs = about.PageControlMain().handle();
    for (int i = 0; i < about.PageControlMain().pageCount(); ++i) {
        RECT r{};
        SendMessageW(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&r));
        InflateRect(&r, -3, -3);
        texts.push_back(textIn(about.handle(), "tab " + std::to_string(i), tabs, r));
    }
    return texts;
}

class ContrastSchemeTest : public AboutWindowTest,
                           public ::testing::WithParamInterface<const char*> {};

TEST_P(ContrastSchemeTest, EveryTextOfBothWindowsStandsOutByFourAndAHalfToOne) {
    writeLogo(snapshot::RgbImage{2, 2, std::vector<std::uint8_t>(12, 200)});
    acctree::ContrastThemeOn contrast;
    tk::Application().setDisplaySettings(&contrast);
    acctree::SystemColoursScope colours(acctree::contrastScheme(GetParam()));
    // Switched on while the window is open, as the user switches a theme.
    SendMessageW(main->handle(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
    test::pumpUntilIdle();

    // The category names under their pictures, the task rows' text columns (inside the rows'
    // borders, where the focus rectangle lies) and the OK button's caption.
    std::vector<TextArea> texts;
    for (tk::TListBox* list : {&main->ListBoxMain(), &main->ListBoxData()}) {
        const bool categories = list == &main->ListBoxMain();
        for (int i = 0; i < list->count(); ++i) {
            const RECT r = list->itemRect(i);
            texts.push_back(
                textIn(main->handle(), list->name() + " " + std::to_string(i), list->handle(),
                       categories ? RECT{r.left + 2, r.bottom - 24, r.right - 2, r.bottom - 2}
                                  : RECT{r.left + 100, r.top + 2, r.right - 2, r.bottom - 2}));
        }
    }
    const controls::Rect caption = main->ButtonOK().captionRect();
    texts.push_back(textIn(main->handle(), "ButtonOK", main->ButtonOK().handle(),
                           RECT{caption.left, caption.top, caption.right, caption.bottom}));
    expectReadable(main->handle(), texts);

    InsideModal::run(*main, [&](TFormAbout& about) {
        for (tk::TTabSheet* page : {&about.TabSheetAbout(), &about.TabSheetUpdate()}) {
            about.PageControlMain().setActivePage(*page);
            test::pumpUntilIdle();
            expectReadable(about.handle(), aboutTexts(about));
        }
    });
    tk::Application().setDisplaySettings(nullptr);
}

INSTANTIATE_TEST_SUITE_P(Schemes, ContrastSchemeTest, ::testing::Values("black", "white"));

// A colour at a point of a window's client area.
COLORREF pixelOf(HWND window, int x, int y) {
    const std::optional<snapshot::RgbImage> shot = snapshot::captureClientArea(window);
    if (!shot || x >= shot->width || y >= shot->height) {
        return CLR_INVALID;
    }
    const std::uint8_t* p = &shot->pixels[(std::size_t(y) * shot->width + x) * 3];
    return RGB(p[0], p[1], p[2]);
}

TEST_F(AboutWindowTest, AfterWmSysColorChangeBothWindowsPaintWithTheNewColours) {
    InsideModal::run(*main, [&](TFormAbout& about) {
        // The system changes a colour (and repaints everything: still the standard look), then
        // switches the contrast theme on, which the windows hear of by WM_SYSCOLORCHANGE.
        const COLORREF window = RGB(30, 140, 60);
        acctree::SystemColoursScope colours({{COLOR_WINDOW, window}});
        test::pumpUntilIdle();
        EXPECT_EQ(pixelOf(main->ListBoxData().handle(), 10, 80), RGB(255, 255, 255));
        acctree::ContrastThemeOn contrast;
        tk::Application().setDisplaySettings(&contrast);
        for (HWND w : {main->handle(), about.handle()}) {
            SendMessageW(w, WM_SYSCOLORCHANGE, 0, 0);
        }
        test::pumpUntilIdle();
        // A task row beside its picture, and the logo panel (no logo) inside its bevels.
        EXPECT_EQ(pixelOf(main->ListBoxData().handle(), 10, 80), window);
        EXPECT_EQ(pixelOf(about.handle(), 20, 20), window);
        tk::Application().setDisplaySettings(nullptr);
    });
}

} // namespace
} // namespace sc
