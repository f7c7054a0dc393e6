// Window texts through the wide-character functions, as the program's UTF-8.
#pragma once

#include <windows.h>

#include <string>
#include <string_view>

namespace tk {

// The window's whole text.
std::string windowText(HWND window);
void setWindowText(HWND window, std::string_view text);

} // namespace tk
