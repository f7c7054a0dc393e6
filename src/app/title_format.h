#pragma once
// The application title as the windows show it.

#include <cstddef>
#include <string>
#include <string_view>

namespace sc {

inline constexpr std::size_t kMaxTitleLength = 255;

// What the application window gives back for a title: its first 255 characters.
std::string clipTitle(std::string_view title);

// Formats a caption template with the title as its one string argument: the first "%s" is
// replaced by the title (inserted unchanged, so "%" or "&" in the title stay as they are), "%%"
// gives "%". A specifier without an argument (a second "%s", or any other) and a lone "%" at the
// end are kept as written.
std::string formatWithTitle(std::string_view captionTemplate, std::string_view title);

} // namespace sc
