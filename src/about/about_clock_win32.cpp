#include "about/about_clock.h"

#include <windows.h>

namespace sc {

namespace {

class LocalTimeClock : public YearClock {
  public:
    int currentYear() const override {
        SYSTEMTIME now{};
        GetLocalTime(&now);
        return now.wYear;
    }
};

LocalTimeClock systemClock;
YearClock* current = &systemClock;

} // namespace

YearClock& aboutClock() {
    return *current;
}

void setAboutClock(YearClock* clock) {
    current = clock ? clock : &systemClock;
}

} // namespace sc
