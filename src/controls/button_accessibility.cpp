// What screen readers learn of a glyph button: the platform's standard accessible object of a
// push button, named by the window text (the caption, or the hint of a button without one).
#include "controls/glyph_button.h"

#include <oleacc.h>

namespace sc::controls {

LRESULT TCustomGlyphButton::accessibleObject(WPARAM wp, LPARAM lp) {
    IAccessible* accessible = nullptr;
    if (FAILED(CreateStdAccessibleProxyA(handle(), "Button", static_cast<LONG>(lp), IID_IAccessible,
                                         reinterpret_cast<void**>(&accessible))) ||
        !accessible) {
        return 0;
    }
    LRESULT result = LresultFromObject(IID_IAccessible, wp, accessible);
    accessible->Release();
    return result > 0 ? result : 0;
}

} // namespace sc::controls
