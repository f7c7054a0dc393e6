// The display settings that change how the windows paint, behind a seam: Wine always reports a
// contrast theme off, so tests and the accessibility tree printer put their own in its place.
#pragma once

namespace tk {

class DisplaySettings {
  public:
    virtual ~DisplaySettings() = default;
    // A high-contrast theme is on: every fixed colour gives way to the system colour it stands
    // for. Asked at each paint, so that a switch shows at the next one.
    virtual bool highContrast() = 0;
};

} // namespace tk
