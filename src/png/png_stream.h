// Byte sources the PNG reader draws from: an abstract stream, a memory view and a file.
#pragma once

#include "graphics/stream.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

namespace sc::png {

// The reader draws from the picture framework's streams.
using TPngStream = tk::TStream;

// The format's numbers are stored with the most significant byte first.
inline std::uint32_t BigEndian32(const std::uint8_t* p) {
    return std::uint32_t(p[0]) << 24 | std::uint32_t(p[1]) << 16 | std::uint32_t(p[2]) << 8 |
           std::uint32_t(p[3]);
}

// Reads from a caller-owned block of memory, which must outlive the stream.
class TPngMemoryStream final : public TPngStream {
  public:
    TPngMemoryStream(const void* data, std::size_t size)
        : Data(static_cast<const std::uint8_t*>(data)), Size(size) {}
    std::size_t Read(void* buffer, std::size_t count) override;
    void SeekForward(std::uint64_t count) override;
    std::uint64_t Position() const override { return Offset; }
    const std::uint8_t* View(std::size_t count) const override {
        return count <= Size - Offset ? Data + Offset : nullptr;
    }

  private:
    const std::uint8_t* Data;
    std::size_t Size;
    std::size_t Offset = 0;
};

// Reads a file from disc (its path in UTF-8); IsOpen() tells whether opening succeeded.
class TPngFileStream final : public TPngStream {
  public:
    explicit TPngFileStream(const std::string& path);
    ~TPngFileStream() override;
    TPngFileStream(const TPngFileStream&) = delete;
    TPngFileStream& operator=(const TPngFileStream&) = delete;

    bool IsOpen() const { return File != nullptr; }
    std::size_t Read(void* buffer, std::size_t count) override;
    void SeekForward(std::uint64_t count) override;
    std::uint64_t Position() const override { return Offset; }

  private:
    std::FILE* File = nullptr;
    std::uint64_t Offset = 0;
    std::uint64_t FileSize = 0;
};

} // namespace sc::png
