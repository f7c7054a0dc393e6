#include "toolkit/window_text.h"

#include "text/utf.h"

namespace tk {

std::string windowText(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    const int n = GetWindowTextW(window, text.data(), static_cast<int>(text.size()));
    text.resize(n > 0 ? static_cast<std::size_t>(n) : 0);
    return sc::text::toUtf8(text);
}

void setWindowText(HWND window, std::string_view text) {
    SetWindowTextW(window, sc::text::toUtf16(text).c_str());
}

} // namespace tk
