// The real Win32 implementations of the toolkit's platform services.
#pragma once

#include "toolkit/application.h"
#include "toolkit/display_settings.h"

namespace tk {

// SystemParametersInfo(SPI_GETHIGHCONTRAST).
class Win32DisplaySettings : public DisplaySettings {
  public:
    bool highContrast() override;
};

class MessageBoxErrorPresenter : public ErrorPresenter {
  public:
    void showError(HWND owner, const std::string& caption, const std::string& text) override;
};

} // namespace tk
