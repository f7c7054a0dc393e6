#pragma once
// The standard black and white contrast schemes as system colours, put in place for the desktop
// (the windows of every program) and taken back again.
#include "toolkit/display_settings.h"

#include <windows.h>

#include <string_view>
#include <utility>
#include <vector>

namespace acctree {

using SystemColours = std::vector<std::pair<int, COLORREF>>;

// The system colours of the standard "black" or "white" contrast scheme; empty for another name.
SystemColours contrastScheme(std::string_view name);

// Sets system colours while it lives and gives the earlier ones back when it ends.
class SystemColoursScope {
  public:
    explicit SystemColoursScope(const SystemColours& colours);
    ~SystemColoursScope();
    SystemColoursScope(const SystemColoursScope&) = delete;
    SystemColoursScope& operator=(const SystemColoursScope&) = delete;

  private:
    SystemColours saved_;
};

// The display settings of a system whose contrast theme is on.
class ContrastThemeOn : public tk::DisplaySettings {
  public:
    bool highContrast() override { return true; }
};

} // namespace acctree
