#include "catalogue/busy_cursor.h"

#include <limits>

namespace sc {

BusyCursor::BusyCursor(ScreenCursor& screen) : screen_(screen) {}

void BusyCursor::beginBusy() {
    if (count_ < std::numeric_limits<int>::max()) {
        ++count_;
    }
    screen_.setCursor(crHourGlass);
}

void BusyCursor::endBusy() {
    if (count_ <= 0) {
        return;
    }
    --count_;
    if (count_ == 0) {
        screen_.setCursor(crDefault);
    }
}

int BusyCursor::count() const {
    return count_;
}

BusyScope::BusyScope(BusyCursor& busy) : busy_(busy) {
    busy_.beginBusy();
}

BusyScope::~BusyScope() {
    busy_.endBusy();
}

} // namespace sc
