#pragma once
// Screen cursor shapes, numbered as in the toolkit's cursor table.

namespace sc {

inline constexpr int crDefault = 0, crHourGlass = -11, crHandPoint = -21;

// The toolkit's screen cursor: the shape it shows over every window of the program.
class ScreenCursor {
  public:
    virtual ~ScreenCursor() = default;
    virtual void setCursor(int shape) = 0;
};

} // namespace sc
