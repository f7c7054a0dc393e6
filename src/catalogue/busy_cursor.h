#pragma once
// The hourglass shown while the launcher waits for the shell.

#include "catalogue/cursor_shapes.h"

namespace sc {

// The process-wide nesting counter (owned by the platform services). While it is above zero
// the screen cursor is the hourglass.
class BusyCursor {
  public:
    explicit BusyCursor(ScreenCursor& screen);
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;

    void beginBusy(); // +1, sets crHourGlass on every call
    void endBusy();   // no-op at <= 0; else -1 and crDefault when it reaches 0
    int count() const;

  private:
    ScreenCursor& screen_;
    int count_ = 0;
};

// beginBusy on construction, endBusy on destruction, on every path out of a scope.
class BusyScope {
  public:
    explicit BusyScope(BusyCursor& busy);
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

  private:
    BusyCursor& busy_;
};

} // namespace sc
