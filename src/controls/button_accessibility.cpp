// What screen readers learn of a glyph button: a push button named by its caption as shown (or
// by its hint when it has no caption), whose default action is the click; a button that opens a
// menu is a menu button with a popup, whose action opens it.
#include "controls/glyph_button.h"

#include <oleacc.h>

namespace sc::controls {

tk::AccessibleElement TCustomGlyphButton::accessibleSelf() {
    tk::AccessibleElement e;
    std::string name = tk::shownText(caption_, true);
    e.name = name.empty() ? hint_ : name;
    if (opensMenu_) {
        e.role = ROLE_SYSTEM_BUTTONMENU;
        e.state = STATE_SYSTEM_HASPOPUP;
        e.defaultAction = "Open";
    } else {
        e.role = ROLE_SYSTEM_PUSHBUTTON;
        e.defaultAction = "Press";
    }
    return e;
}

void TCustomGlyphButton::accessibleAction(long child) {
    if (child == CHILDID_SELF) {
        SendMessageW(handle(), BM_CLICK, 0, 0);
    }
}

} // namespace sc::controls
