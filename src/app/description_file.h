#pragma once
// The product description file beside the executable: INI text despite its name.

#include "catalogue/profile_reader.h"

#include <string>
#include <string_view>

namespace sc {

inline constexpr std::string_view kDescriptionFileName = "lame.dll";
inline constexpr std::string_view kDescriptionSection = "SYSTEM";

// The full path of the description file in `programDirectory`.
std::string descriptionFilePath(std::string_view programDirectory);

// `key` of section SYSTEM of the description file; at most kProfileBufferSize - 1 characters
// (UTF-16 units, a surrogate pair whole or not at all).
std::string readDescriptionValue(ProfileReader& reader, std::string_view programDirectory,
                                 std::string_view key);

} // namespace sc
