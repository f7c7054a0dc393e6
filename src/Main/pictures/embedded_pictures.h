// The main window's pictures, compiled into the program: the bytes of each PNG file of this
// folder, by file name.
#pragma once

#include <span>
#include <string_view>

namespace sc {

// The complete PNG file of that name; empty when there is none.
std::span<const unsigned char> embeddedPicture(std::string_view fileName);

} // namespace sc
