#pragma once
// Where the About window opens: centred on the main window by the outer sizes of both, with
// halving that truncates toward zero. The result is not kept on the screen.

#include "graphics/layout.h"

namespace sc {

struct WindowOrigin {
    int left = 0, top = 0;
    bool operator==(const WindowOrigin&) const = default;
};

constexpr WindowOrigin aboutOrigin(int mainLeft, int mainTop, int mainWidth, int mainHeight,
                                   int aboutWidth, int aboutHeight) {
    return WindowOrigin{tk::centredStart(mainLeft, mainWidth, aboutWidth),
                        tk::centredStart(mainTop, mainHeight, aboutHeight)};
}

} // namespace sc
