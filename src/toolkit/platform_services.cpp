#include "toolkit/platform_services.h"

#include "text/utf.h"

namespace tk {

bool Win32DisplaySettings::highContrast() {
    HIGHCONTRASTW contrast{};
    contrast.cbSize = sizeof contrast;
    return SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof contrast, &contrast, 0) &&
           (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

void MessageBoxErrorPresenter::showError(HWND owner, const std::string& caption,
                                         const std::string& text) {
    MessageBoxW(owner, sc::text::toUtf16(text).c_str(), sc::text::toUtf16(caption).c_str(),
                MB_OK | MB_ICONERROR);
}

} // namespace tk
