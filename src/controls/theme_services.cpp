#include "controls/theme_services.h"

#include <uxtheme.h>

namespace sc::controls {

namespace {

class UxThemeServices : public ThemeServices {
  public:
    bool themesInUse() override { return IsThemeActive() && IsAppThemed(); }

    bool drawPart(HWND window, HDC dc, const wchar_t* themeClass, int part, int state,
                  const RECT& rect) override {
        // Opened per paint: a theme change never leaves a stale handle behind.
        HTHEME theme = OpenThemeData(window, themeClass);
        if (!theme) {
            return false;
        }
        if (IsThemeBackgroundPartiallyTransparent(theme, part, state)) {
            RECT area = rect;
            DrawThemeParentBackground(window, dc, &area);
        }
        HRESULT hr = DrawThemeBackground(theme, dc, part, state, &rect, nullptr);
        CloseThemeData(theme);
        return SUCCEEDED(hr);
    }
};

UxThemeServices platformServices;
ThemeServices* current = &platformServices;

} // namespace

ThemeServices& themeServices() {
    return *current;
}

void setThemeServices(ThemeServices* services) {
    current = services ? services : &platformServices;
}

} // namespace sc::controls
