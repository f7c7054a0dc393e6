// The screen: the program-wide cursor with its table of shapes.
#pragma once

#include <windows.h>

#include <map>

namespace tk {

// The shapes of the cursor table: the window's own, the hourglass and the link hand.
inline constexpr int crDefault = 0, crHourGlass = -11, crHandPoint = -21;

class TScreen {
  public:
    TScreen();

    int cursor() const { return cursor_; }
    // Any shape but crDefault overrides the cursor of every window of the program.
    void setCursor(int shape);

    HCURSOR cursorHandle(int shape) const;
    void setCursorHandle(int shape, HCURSOR handle) { cursors_[shape] = handle; }

    // Sets the pointer shape for a window under the pointer whose own shape is `controlShape`;
    // false when the window's default shape should be used.
    bool applyCursor(int controlShape) const;

  private:
    int cursor_ = crDefault;
    // The arrow at once; the system's hourglass and hand when first asked for (the platform
    // hands out the same shared cursor whenever it is loaded).
    mutable std::map<int, HCURSOR> cursors_;
};

} // namespace tk
