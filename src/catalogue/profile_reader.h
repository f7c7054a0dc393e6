#pragma once
// Reading one value of an INI-form text file: the seam over the platform's profile reader.

#include <cstddef>
#include <string>
#include <string_view>

namespace sc {

// The platform reader fills a buffer of this many characters (UTF-16 units), terminator
// included.
inline constexpr std::size_t kProfileBufferSize = 2048;

class ProfileReader {
  public:
    virtual ~ProfileReader() = default;
    // Like the platform's GetPrivateProfileString with an empty default: "" when anything is
    // missing. The value is UTF-8.
    virtual std::string readString(std::string_view path, std::string_view section,
                                   std::string_view key) = 0;
};

} // namespace sc
