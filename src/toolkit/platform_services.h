// The real Win32 implementations of the platform services.
#pragma once

#include "catalogue/profile_reader.h"
#include "catalogue/shell_request.h"
#include "toolkit/application.h"
#include "toolkit/display_settings.h"

namespace tk {

// The shell's "execute" request with the wide-character text; the result is not examined.
class Win32ShellService : public sc::ShellService {
  public:
    void execute(const sc::ShellRequest& request) override;
};

// The platform's profile reader with an empty default and a 2048-character buffer: the
// wide-character form, which reads a file in the system's ANSI code page as the ANSI form reads
// it, and also one in UTF-16 (or UTF-8) with a byte-order mark. A value has at most 2047
// UTF-16 units and never ends in half a surrogate pair.
class Win32ProfileReader : public sc::ProfileReader {
  public:
    std::string readString(std::string_view path, std::string_view section,
                           std::string_view key) override;
};

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
