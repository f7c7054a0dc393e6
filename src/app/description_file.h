#pragma once
// The product description file beside the executable: INI text despite its name.

#include <cstddef>
#include <string>
#include <string_view>

namespace sc {

inline constexpr std::string_view kDescriptionFileName = "lame.dll";
inline constexpr std::string_view kDescriptionSection = "SYSTEM";
inline constexpr std::size_t kProfileBufferSize = 2048;

class ProfileReader {
  public:
    virtual ~ProfileReader() = default;
    // Like GetPrivateProfileStringA with an empty default: "" when anything is missing.
    virtual std::string readString(std::string_view path, std::string_view section,
                                   std::string_view key) = 0;
};

// The full path of the description file in `programDirectory`.
std::string descriptionFilePath(std::string_view programDirectory);

// `key` of section SYSTEM of the description file; at most kProfileBufferSize - 1 characters.
std::string readDescriptionValue(ProfileReader& reader, std::string_view programDirectory,
                                 std::string_view key);

} // namespace sc
