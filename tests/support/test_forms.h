// The parts of the small forms that the toolkit's window tests define: a form named N of class
// "TN" with its client size, and controls by name, kind, bounds and tab order.
#pragma once

#include "toolkit/form_definition.h"

#include <string>

namespace sc::test {

inline tk::FormDefinition TestForm(const std::string& name, int clientWidth, int clientHeight) {
    tk::FormDefinition d;
    d.name = name;
    d.className = "T" + name;
    d.clientWidth = clientWidth;
    d.clientHeight = clientHeight;
    return d;
}

inline tk::ControlDefinition TestControl(const std::string& name, tk::ControlKind kind,
                                         tk::Bounds bounds, int tabOrder = -1) {
    tk::ControlDefinition c;
    c.name = name;
    c.kind = kind;
    c.bounds = bounds;
    c.tabOrder = tabOrder;
    return c;
}

} // namespace sc::test
