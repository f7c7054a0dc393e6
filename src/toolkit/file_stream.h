// A read-only file stream over the platform's file handle.
#pragma once

#include "graphics/stream.h"

#include <windows.h>

#include <string>

namespace tk {

class TFileStream : public TStream {
  public:
    // Opens the file for reading (others may read it too); raises EFOpenError with the full path
    // and the system's message when it cannot.
    explicit TFileStream(const std::string& path);
    ~TFileStream() override;
    TFileStream(const TFileStream&) = delete;
    TFileStream& operator=(const TFileStream&) = delete;

    std::size_t Read(void* buffer, std::size_t count) override;
    void SeekForward(std::uint64_t count) override;
    std::uint64_t Position() const override { return position_; }

  private:
    HANDLE file_ = INVALID_HANDLE_VALUE;
    std::uint64_t position_ = 0;
    std::uint64_t size_ = 0;
};

// Cannot open file "<full path>". <the system's message for error>
std::string FileOpenErrorText(const std::string& path, DWORD error);

} // namespace tk
