#pragma once
// The clock the About window takes the year from.

namespace sc {

class YearClock {
  public:
    virtual ~YearClock() = default;
    // The year of the current local date and time.
    virtual int currentYear() const = 0;
};

// The system's local time, unless a test has put another clock in its place.
YearClock& aboutClock();
// nullptr: back to the system's clock.
void setAboutClock(YearClock* clock);

} // namespace sc
