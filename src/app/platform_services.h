// The Windows side of the catalogue's seams, over the window toolkit: the shell, the profile
// reader, the busy cursor on the toolkit's screen and the running program as the launcher sees
// it. Start-up makes the one set and hands it to the windows; tests make their own, with doubles.
#pragma once

#include "catalogue/busy_cursor.h"
#include "catalogue/profile_reader.h"
#include "catalogue/shell_request.h"

#include <cstdint>
#include <string>

namespace sc {

// The shell's "execute" request with the wide-character text; the result is not examined.
class Win32ShellService : public ShellService {
  public:
    void execute(const ShellRequest& request) override;
};

// The platform's profile reader with an empty default and a 2048-character buffer: the
// wide-character form, which reads a file in the system's ANSI code page as the ANSI form reads
// it, and also one in UTF-16 (or UTF-8) with a byte-order mark. A value has at most 2047
// UTF-16 units and never ends in half a surrogate pair.
class Win32ProfileReader : public ProfileReader {
  public:
    std::string readString(std::string_view path, std::string_view section,
                           std::string_view key) override;
};

class PlatformServices : public LaunchContext, private ScreenCursor {
  public:
    PlatformServices();
    PlatformServices(const PlatformServices&) = delete;
    PlatformServices& operator=(const PlatformServices&) = delete;

    ShellService& shell() { return *shell_; }
    // null: the platform's own again.
    void setShellService(ShellService* shell);
    ProfileReader& profileReader() { return *profileReader_; }
    void setProfileReader(ProfileReader* reader);
    // The hourglass over every window of the program while the launcher waits for the shell.
    BusyCursor& busyCursor() { return busy_; }

    // The hidden application window owns what the shell opens.
    std::uintptr_t ownerWindow() const override;
    std::string exeName() const override;

  private:
    void setCursor(int shape) override;

    Win32ShellService platformShell_;
    Win32ProfileReader platformProfile_;
    ShellService* shell_ = &platformShell_;
    ProfileReader* profileReader_ = &platformProfile_;
    BusyCursor busy_;
};

} // namespace sc
