#pragma once
// A screen cursor that remembers every shape it was given.

#include "catalogue/cursor_shapes.h"

#include <vector>

namespace sc::test {

class FakeScreenCursor : public ScreenCursor {
  public:
    void setCursor(int shape) override { shapes.push_back(shape); }
    // The shape shown now: the last one set, or the default before any was.
    int current() const { return shapes.empty() ? crDefault : shapes.back(); }

    std::vector<int> shapes;
};

} // namespace sc::test
