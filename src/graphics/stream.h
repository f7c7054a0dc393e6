// Byte streams that graphics load from: read, seek forward and the current position. Platform-
// neutral; the codec's memory and file streams derive from it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace tk {

class TStream {
  public:
    virtual ~TStream() = default;
    // Reads up to count bytes; returns how many arrived (0 at the end of the data).
    virtual std::size_t Read(void* buffer, std::size_t count) = 0;
    // Moves on by count bytes; stops at the end of the data.
    virtual void SeekForward(std::uint64_t count) = 0;
    virtual std::uint64_t Position() const = 0;
    // The next count bytes in place, without moving on, when the stream holds them in memory;
    // nullptr when it does not or fewer are left. Readers use it to skip a copy.
    virtual const std::uint8_t* View(std::size_t /*count*/) const { return nullptr; }
};

} // namespace tk
