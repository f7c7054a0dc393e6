#pragma once
// The screen cursor as the launcher sees it: the shapes it shows over every window of the program.

namespace sc {

inline constexpr int crDefault = 0, crHourGlass = -11;

class ScreenCursor {
  public:
    virtual ~ScreenCursor() = default;
    virtual void setCursor(int shape) = 0;
};

} // namespace sc
