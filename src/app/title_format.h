#pragma once
// The application title as the windows show it.

#include <string>
#include <string_view>

namespace sc {

// Formats a caption template with the title as its one string argument: the first "%s" is
// replaced by the title (inserted unchanged, so "%" or "&" in the title stay as they are), "%%"
// gives "%". A specifier without an argument (a second "%s", or any other) and a lone "%" at the
// end are kept as written.
std::string formatWithTitle(std::string_view captionTemplate, std::string_view title);

} // namespace sc
