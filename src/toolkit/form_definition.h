// Form definitions: the data that describes a window and its controls. A form is built from
// its definition; event bindings refer to the form's handler methods.
#pragma once

#include "graphics/dpi_scale.h"
#include "toolkit/colours.h"
#include "toolkit/events.h"
#include "toolkit/font.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tk {

enum class ControlKind {
    bevel,
    listBox,
    button,
    custom,
    panel,
    pageControl,
    tabSheet,
    label,
    groupBox,
    image
};

class TForm;
class TControl;
class TComponent;

enum Anchor : unsigned { akLeft = 1, akTop = 2, akRight = 4, akBottom = 8 };
using Anchors = unsigned;

enum class BevelShape { topLine, bottomLine, box, frame };

struct Bounds {
    int left = 0, top = 0, width = 0, height = 0;
};

// A font of the definition (pixel height in design units) at `dpi`.
inline FontSpec scaledFont(FontSpec font, int dpi) {
    font.height = scaleToDpi(font.height, dpi);
    return font;
}

// Panels: the raised or lowered frame lines of the outer and inner bevels.
enum class PanelBevel { bvNone, bvLowered, bvRaised };
// alClient: the control fills its parent's client area (inside a panel's bevels and border).
enum class Align { alNone, alClient };

struct ControlDefinition {
    std::string name;
    ControlKind kind = ControlKind::button;
    Bounds bounds;
    Anchors anchors = akLeft | akTop;
    int tabOrder = -1;            // -1: not a tab stop
    std::optional<FontSpec> font; // none: the form's font
    std::string caption;
    std::vector<EventBinding> events;
    BevelShape bevelShape = BevelShape::box; // bevels only
    int itemHeight = 13;                     // list boxes only
    // List boxes: make the native list owner-drawn with rows of one fixed height from the
    // start. A form that switches the list to that style while it is being created then keeps
    // the window instead of making it a second time; nothing else differs.
    bool ownerDrawFixed = false;
    // Containers, labels, images and push buttons.
    Align align = Align::alNone;
    int cursor = 0;         // crDefault; crHandPoint for links
    TColor colour = clNone; // panels and labels; clNone: the parent's colour
    PanelBevel bevelOuter = PanelBevel::bvRaised, bevelInner = PanelBevel::bvNone;
    int borderWidth = 0;
    bool autoSize = true;  // labels: sized to their text
    bool wordWrap = false; // labels of a fixed size
    bool transparent = false;
    bool showAccelChar = true; // false: "&" is drawn as it is
    bool center = false;       // images: the picture centred at its own size
    bool isDefault = false;    // push buttons: Enter clicks it
    bool cancel = false;       // push buttons: Esc clicks it
    int modalResult = 0;       // push buttons: a click sets the form's modal result
    std::string activePage;    // page controls: the tab sheet shown first
    // What screen readers call the control where its text does not name it (lists, pictures).
    std::string accessibleName;
    // Panels and labels: the system colour that takes the place of the fixed `colour`, or of the
    // font's, in a contrast theme (clNone: the colour stays).
    TColor contrastColour = clNone;
    TColor contrastFontColour = clNone;
    // The control's parent: empty for the form itself, else the name of a container control
    // defined earlier.
    std::string parent;
    // Controls of classes the toolkit does not know (ControlKind::custom): makes the control
    // with its class's stored properties; `id` is its child-window identifier.
    std::function<std::unique_ptr<TControl>(TForm& form, const ControlDefinition& definition,
                                            int id)>
        create;
};

// A component without a window of its own (an image list, say): made, with its stored
// properties read, before the form's controls, in definition order; owned by the form.
struct ComponentDefinition {
    std::string name;
    std::function<std::unique_ptr<TComponent>(TForm& form)> create;
};

struct MenuItemDefinition {
    std::string name;
    std::string caption;
    std::vector<EventBinding> events;
};

struct PopupMenuDefinition {
    std::string name;
    std::vector<MenuItemDefinition> items;
};

enum class BorderStyle { single, sizeable };
enum BorderIcon : unsigned { biSystemMenu = 1, biMinimize = 2, biMaximize = 4 };
using BorderIcons = unsigned;
enum class FormPosition { designed, screenCenter, ownerFormCenter };

struct FormDefinition {
    std::string name;      // object name, e.g. "MainForm"
    std::string className; // window class, e.g. "TMainForm"
    std::string caption;
    int clientWidth = 0, clientHeight = 0;
    BorderStyle borderStyle = BorderStyle::sizeable;
    BorderIcons borderIcons = biSystemMenu | biMinimize | biMaximize;
    FormPosition position = FormPosition::designed;
    TColor colour = clBtnFace;
    FontSpec font;
    std::vector<EventBinding> events;
    std::vector<ComponentDefinition> components;
    std::vector<ControlDefinition> controls;
    std::vector<PopupMenuDefinition> menus;
};

} // namespace tk
