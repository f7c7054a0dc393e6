// The screen: the program-wide cursor with its table of shapes.
#pragma once

#include "catalogue/busy_cursor.h"
#include "catalogue/cursor_shapes.h"

#include <windows.h>

#include <map>

namespace tk {

using sc::crDefault;
using sc::crHandPoint;
using sc::crHourGlass;

class TScreen : public sc::ScreenCursor {
  public:
    TScreen();

    int cursor() const { return cursor_; }
    // Any shape but crDefault overrides the cursor of every window of the program.
    void setCursor(int shape) override;

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
