// What screen readers learn of the toolkit's windows (MSAA): each window that has more to say
// than the platform's standard object serves its own accessible object on WM_GETOBJECT. That
// object passes to the standard one whatever its window's source leaves open, and answers the
// rest from the source: names, roles, states and default actions, and children that the
// standard object cannot see (rows of owner-drawn lists, controls without a window).
#pragma once

#include <windows.h>

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tk {

// One element as screen readers see it. For the object itself, unset fields keep the standard
// object's answer and `state` is added to its state.
struct AccessibleElement {
    long role = 0; // ROLE_SYSTEM_...; 0: the standard object's (a child without one is left out)
    std::optional<std::string> name;
    std::string description;
    long state = 0; // STATE_SYSTEM_...
    std::string defaultAction;
    RECT location{};       // children: on the screen
    HWND window = nullptr; // a child with a window of its own: that window answers for it
};

// What a window tells screen readers. Children are numbered from 1 in the order of
// accessibleChildren(); 0 (CHILDID_SELF) is the window's object itself.
class AccessibleSource {
  public:
    virtual ~AccessibleSource() = default;
    virtual AccessibleElement accessibleSelf() { return {}; }
    virtual std::vector<AccessibleElement> accessibleChildren() { return {}; }
    // Carries out the default action of `child`. Called from the window's own message handling
    // (kAccessibleAction), never inside a screen reader's call, which must not wait for it.
    virtual void accessibleAction(long /*child*/) {}
    // The child with the keyboard focus and the selected one (0: the object itself; nullopt:
    // none). Sources that do not know leave the answer to the standard object.
    virtual bool knowsFocusAndSelection() const { return false; }
    virtual std::optional<long> accessibleFocus() { return std::nullopt; }
    virtual std::optional<long> accessibleSelection() { return std::nullopt; }
};

// Posted to a window whose object was asked to do a default action; wParam the child.
inline constexpr UINT kAccessibleAction = 0xB008;

// Finds the source of a window at each request: an object that a screen reader keeps after its
// window is gone then answers that it is no longer there.
using AccessibleSourceOf = AccessibleSource* (*)(HWND window);

// The answer to WM_GETOBJECT: for OBJID_CLIENT the window's own object, else 0 (as also when
// the platform cannot make one), which leaves the request to the default handling.
LRESULT serveAccessibleObject(HWND window, WPARAM wp, LPARAM lp, AccessibleSourceOf sourceOf);

// The text a screen reader is given for what a control shows: with `accelerators`, "&" marks
// taken out as drawn ("&&" shows one "&"); line breaks and the blanks around them as one space.
std::string shownText(std::string_view text, bool accelerators);

} // namespace tk
