// The platform's visual styles as the glyph buttons use them, behind a small seam that tests
// replace to record what would be drawn.
#pragma once

#include <windows.h>

namespace sc::controls {

class ThemeServices {
  public:
    virtual ~ThemeServices() = default;
    // A theme is active and applied to the application, and the executable's manifest asks
    // for version 6 of the common controls.
    virtual bool themesInUse() = 0;
    // Draws a part of the theme class `themeClass` over `rect`, with the parent's background
    // behind it where the part is partly transparent. False when the class's data cannot be
    // opened or the drawing fails: the caller then draws without the theme.
    virtual bool drawPart(HWND window, HDC dc, const wchar_t* themeClass, int part, int state,
                          const RECT& rect) = 0;
};

// Whether the active activation context (the executable's manifest, unless a caller activated
// another) holds version 6 or later of the common controls. Asked of the context, not of the
// library, whose version a system may report the same either way.
bool commonControls6Requested();

// The services in use: the platform's unless a test put its own in place (null: back to the
// platform's).
ThemeServices& themeServices();
void setThemeServices(ThemeServices* services);

} // namespace sc::controls
