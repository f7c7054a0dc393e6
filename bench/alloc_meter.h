// Counts the memory the process takes while metering is on: every malloc family call of the
// program and its libraries (operator new included) and every anonymous mapping it makes
// itself pass through it. Single-threaded use only.
#pragma once

#include <cstdint>

namespace bench {

struct HeapReading {
    int64_t peakBytes = 0; // highest count of bytes held since metering started
    int64_t heldBytes = 0; // bytes still held when metering stopped
    uint64_t allocations = 0;
};

// False in sanitizer builds, whose allocator must not be replaced.
bool heapMeterAvailable();

void startHeapMeter();
HeapReading stopHeapMeter();

} // namespace bench
