#include "toolkit/form.h"

#include "toolkit/application.h"
#include "toolkit/handles.h"
#include "toolkit/image.h"
#include "toolkit/label.h"
#include "toolkit/page_control.h"
#include "toolkit/panel.h"
#include "toolkit/window_text.h"

#include "text/utf.h"

#include <algorithm>
#include <limits>
#include <set>
#include <utility>

namespace tk {

namespace {

constexpr int kFirstControlId = 100;

DWORD windowStyle(const FormDefinition& d) {
    DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_CLIPCHILDREN;
    if (d.borderIcons & biSystemMenu) {
        style |= WS_SYSMENU;
        if (d.borderIcons & biMinimize) {
            style |= WS_MINIMIZEBOX;
        }
        if ((d.borderIcons & biMaximize) && d.borderStyle == BorderStyle::sizeable) {
            style |= WS_MAXIMIZEBOX;
        }
    }
    if (d.borderStyle == BorderStyle::sizeable) {
        style |= WS_THICKFRAME;
    }
    return style;
}

void registerWindowClass(const std::wstring& className, WNDPROC proc) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, className.c_str(), &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = proc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1)); // the application icon
    if (wc.hIcon) {
        // The caption's small icon picked from the same resource, as the system would pick it
        // for a class without one; read directly, it does not cost a copy of the class icon.
        wc.hIconSm = live::LoadClassSmallIcon(instance, MAKEINTRESOURCEW(1));
    } else {
        wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
    }
    wc.lpszClassName = className.c_str();
    if (!RegisterClassExW(&wc)) {
        throw std::runtime_error("Error registering window class " + sc::text::toUtf8(className));
    }
}

} // namespace

TForm::TForm(TForm* owner) : owner_(owner) {}

TForm::~TForm() {
    destroying_ = true;
    // Children before their containers: the later ones in the definition first.
    while (!controls_.empty()) {
        controls_.pop_back();
    }
    components_.clear();
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        live::DestroyWindow(hwnd_);
    }
    Application().formDestroyed(*this);
}

void TForm::build(FormDefinition definition) {
    definition_ = std::move(definition);
    loading_ = true;
    struct Loading {
        bool& flag;
        ~Loading() { flag = false; } // also when building fails
    } loading{loading_};
    createWindow();
    for (const ComponentDefinition& c : definition_.components) {
        components_.push_back(c.create(*this));
    }
    // Before the controls, which take their pictures' sizes from the components.
    if (dpi_ != kDesignDpi) {
        for (auto& c : components_) {
            c->ScaleToDpi(dpi_);
        }
    }
    createControls();
    for (const PopupMenuDefinition& m : definition_.menus) {
        menus_.push_back(std::make_unique<TPopupMenu>(m));
        for (const MenuItemDefinition& item : m.items) {
            bindEvents(*menus_.back()->find(item.name), item.events);
        }
    }
    bindEvents(*this, definition_.events);
    loading_ = false;
    Application().formCreated(*this);
    if (OnCreate) {
        // A failure here is shown, but the form is still created and can be shown.
        try {
            OnCreate(*this);
        } catch (const std::exception& e) {
            Application().handleException(e);
        }
    }
}

namespace {

DWORD windowExStyle(bool owned) {
    return WS_EX_CONTROLPARENT | (owned ? 0 : WS_EX_APPWINDOW);
}

} // namespace

// A DPI the platform reports that is out of all reason keeps the one the form has.
int TForm::acceptableDpi(int dpi) const {
    return dpi >= kMinDpi && dpi <= kMaxDpi ? dpi : dpi_;
}

void TForm::createWindow() {
    const std::wstring className = sc::text::toUtf16(definition_.className);
    registerWindowClass(className, &TForm::WindowProc);
    DpiService& dpi = Application().dpi();
    // The system DPI first: on a system with one DPI for all monitors that is the window's.
    dpi_ = acceptableDpi(dpi.systemDpi());
    DWORD style = windowStyle(definition_);
    DWORD exStyle = windowExStyle(owner_ != nullptr);
    RECT r = dpi.adjustWindowRect(RECT{0, 0, clientWidth(), clientHeight()}, style, exStyle, dpi_);
    int w = r.right - r.left;
    int h = r.bottom - r.top;
    int x = CW_USEDEFAULT;
    int y = CW_USEDEFAULT;
    if (definition_.position == FormPosition::screenCenter) {
        x = (dpi.systemMetric(SM_CXSCREEN, dpi_) - w) / 2;
        y = (dpi.systemMetric(SM_CYSCREEN, dpi_) - h) / 2;
    }
    hwnd_ = live::CreateWindowExW(
        exStyle, className.c_str(), sc::text::toUtf16(definition_.caption).c_str(), style, x, y, w,
        h, owner_ ? owner_->handle() : nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (!hwnd_) {
        throw std::runtime_error("Error creating window " + definition_.name);
    }
    // Placed on a monitor of another DPI: sized for that one before anything is in it.
    if (int actual = acceptableDpi(dpi.windowDpi(hwnd_)); actual != dpi_) {
        dpi_ = actual;
        sizeWindow(nullptr);
    }
}

// The outer size of the window with the definition's client size at `dpi`.
SIZE TForm::outerSizeAt(int dpi) const {
    RECT client{0, 0, scaleToDpi(definition_.clientWidth, dpi),
                scaleToDpi(definition_.clientHeight, dpi)};
    RECT r = Application().dpi().adjustWindowRect(client, windowStyle(definition_),
                                                  windowExStyle(owner_ != nullptr), dpi);
    return SIZE{r.right - r.left, r.bottom - r.top};
}

// The window's outer size for the definition's client size at the form's DPI; at the suggested
// top-left corner, or where it is.
void TForm::sizeWindow(const RECT* suggested) {
    const SIZE outer = outerSizeAt(dpi_);
    UINT flags = SWP_NOZORDER | SWP_NOACTIVATE;
    int x = 0;
    int y = 0;
    if (suggested) {
        x = suggested->left;
        y = suggested->top;
    } else {
        flags |= SWP_NOMOVE;
    }
    SetWindowPos(hwnd_, nullptr, x, y, outer.cx, outer.cy, flags);
    // Where the frame the system draws is not the one computed for the DPI (a system that
    // scales only the client area, say), the difference goes to the outer size.
    RECT client{};
    GetClientRect(hwnd_, &client);
    const int dx = clientWidth() - client.right;
    const int dy = clientHeight() - client.bottom;
    if (dx != 0 || dy != 0) {
        RECT outer{};
        GetWindowRect(hwnd_, &outer);
        SetWindowPos(hwnd_, nullptr, 0, 0, outer.right - outer.left + dx,
                     outer.bottom - outer.top + dy, SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
    }
}

void TForm::changeDpi(int dpi, const RECT* suggested) {
    if (dpi < kMinDpi || dpi > kMaxDpi || !hwnd_) {
        return;
    }
    dpi_ = dpi;
    sizeWindow(suggested);
    for (auto& c : components_) {
        c->ScaleToDpi(dpi_);
    }
    // In definition order: containers before what lies in them.
    for (auto& c : controls_) {
        c->applyDpi();
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void TForm::createControls() {
    int id = kFirstControlId;
    for (const ControlDefinition& def : definition_.controls) {
        std::unique_ptr<TControl> c;
        switch (def.kind) {
        case ControlKind::bevel:
            c = std::make_unique<TBevel>(*this, def);
            break;
        case ControlKind::listBox:
            c = std::make_unique<TListBox>(*this, def, id++);
            break;
        case ControlKind::button:
            c = std::make_unique<TButton>(*this, def, id++);
            break;
        case ControlKind::panel:
            c = std::make_unique<TPanel>(*this, def, id++);
            break;
        case ControlKind::groupBox:
            c = std::make_unique<TGroupBox>(*this, def, id++);
            break;
        case ControlKind::pageControl:
            c = std::make_unique<TPageControl>(*this, def, id++);
            break;
        case ControlKind::tabSheet:
            c = std::make_unique<TTabSheet>(*this, def, id++);
            break;
        case ControlKind::label:
            c = std::make_unique<TLabel>(*this, def);
            break;
        case ControlKind::image:
            c = std::make_unique<TImage>(*this, def);
            break;
        case ControlKind::custom:
            if (!def.create) {
                throw std::logic_error("No class for the control " + def.name);
            }
            c = def.create(*this, def, id++);
            break;
        }
        bindEvents(*c, def.events);
        controls_.push_back(std::move(c));
    }
    orderTabs(true);
}

// The tab order is the order of the child windows, among the children of each parent: the
// ones in the tab order first, by it, the others after them. A new child window comes last
// among its siblings, so windows just made in the definition's order that already stand so
// need no move.
void TForm::orderTabs(bool inCreationOrder) {
    std::set<const TWinControl*> parents;
    for (auto& c : controls_) {
        parents.insert(c->parent());
    }
    for (const TWinControl* parent : parents) {
        std::vector<TControl*> tabbed;
        for (auto& c : controls_) {
            if (c->parent() == parent && c->handle() && c->tabOrder() >= 0) {
                tabbed.push_back(c.get());
            }
        }
        auto byTabOrder = [](TControl* a, TControl* b) { return a->tabOrder() < b->tabOrder(); };
        if (inCreationOrder && std::is_sorted(tabbed.begin(), tabbed.end(), byTabOrder) &&
            untabbedAfterTabbed(parent)) {
            continue;
        }
        std::stable_sort(tabbed.begin(), tabbed.end(), byTabOrder);
        HWND after = HWND_TOP;
        for (TControl* c : tabbed) {
            SetWindowPos(c->handle(), after, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = c->handle();
        }
    }
}

// Whether, in creation order, no windowed child of `parent` outside the tab order comes before
// one in it.
bool TForm::untabbedAfterTabbed(const TWinControl* parent) const {
    bool untabbedSeen = false;
    for (const auto& c : controls_) {
        if (c->parent() != parent || !c->handle()) {
            continue;
        }
        if (c->tabOrder() < 0) {
            untabbedSeen = true;
        } else if (untabbedSeen) {
            return false;
        }
    }
    return true;
}

void TForm::bindEvents(TObject& target, const std::vector<EventBinding>& events) {
    for (const EventBinding& b : events) {
        const bool bound = std::visit(
            [&](const auto& handlerOf) { return bindEvent(target, b.event, handlerOf(*this)); },
            b.handler);
        if (!bound) {
            throw std::logic_error("Invalid event binding " + target.name() + "." + b.event);
        }
    }
}

bool TForm::bindEvent(TObject& target, const std::string& event, TNotifyEvent handler) {
    if (auto* control = dynamic_cast<TControl*>(&target)) {
        return control->bindNotify(event, std::move(handler));
    }
    TNotifyEvent* slot = nullptr;
    if (auto* item = dynamic_cast<TMenuItem*>(&target); item && event == "OnClick") {
        slot = &item->OnClick;
    } else if (&target == this && event == "OnCreate") {
        slot = &OnCreate;
    } else if (&target == this && event == "OnShow") {
        slot = &OnShow;
    }
    if (slot) {
        *slot = std::move(handler);
    }
    return slot != nullptr;
}

bool TForm::bindEvent(TObject& target, const std::string& event, TDrawItemEvent handler) {
    auto* control = dynamic_cast<TControl*>(&target);
    return control && control->bindDrawItem(event, std::move(handler));
}

bool TForm::bindEvent(TObject& target, const std::string& event, TMouseMoveEvent handler) {
    auto* control = dynamic_cast<TControl*>(&target);
    return control && control->bindMouseMove(event, std::move(handler));
}

std::string TForm::caption() const {
    return windowText(hwnd_);
}

void TForm::setCaption(const std::string& caption) {
    setWindowText(hwnd_, caption);
}

TControl* TForm::findControl(const std::string& controlName) const {
    for (const auto& c : controls_) {
        if (c->name() == controlName) {
            return c.get();
        }
    }
    return nullptr;
}

TComponent* TForm::findComponent(const std::string& componentName) const {
    for (const auto& c : components_) {
        if (c->name() == componentName) {
            return c.get();
        }
    }
    return nullptr;
}

TPopupMenu& TForm::menu(const std::string& menuName) const {
    for (const auto& m : menus_) {
        if (m->name() == menuName) {
            return *m;
        }
    }
    throw std::logic_error("The form " + name() + " has no menu " + menuName);
}

TControl* TForm::controlOfWindow(HWND child) const {
    for (const auto& c : controls_) {
        if (c->handle() == child) {
            return c.get();
        }
    }
    return nullptr;
}

TControl* TForm::activeControl() const {
    HWND focus = GetFocus();
    for (const auto& c : controls_) {
        if (c->handle() && (c->handle() == focus || IsChild(c->handle(), focus))) {
            return c.get();
        }
    }
    return nullptr;
}

void TForm::focusChanged(TControl* focused) {
    if (destroying_) {
        return;
    }
    for (const auto& c : controls_) {
        if (c->handle()) {
            SendMessageW(c->handle(), kFocusChanged, 0, reinterpret_cast<LPARAM>(focused));
        }
    }
}

namespace {

bool offer(const std::vector<std::unique_ptr<TControl>>& controls, UINT msg, WPARAM wp, LPARAM lp) {
    for (const auto& c : controls) {
        if (c->handle() && SendMessageW(c->handle(), msg, wp, lp) != 0) {
            return true;
        }
    }
    return false;
}

} // namespace

bool TForm::dialogKey(WPARAM key, LPARAM keyData) {
    return !destroying_ && offer(controls_, kDialogKey, key, keyData);
}

bool TForm::dialogChar(WPARAM character, LPARAM keyData) {
    return !destroying_ && offer(controls_, kDialogChar, character, keyData);
}

void TForm::show() {
    if (visible()) {
        return;
    }
    if (OnShow) {
        OnShow(*this);
    }
    ShowWindow(hwnd_, SW_SHOWNORMAL);
    SetForegroundWindow(hwnd_);
    if (!shown_) {
        shown_ = true;
        focusFirstControl();
    }
    UpdateWindow(hwnd_);
}

void TForm::close() {
    if (modal_) {
        if (modalResult_ == mrNone) {
            modalResult_ = mrCancel;
        }
    } else if (Application().mainForm() == this) {
        Application().terminate();
    } else {
        ShowWindow(hwnd_, SW_HIDE);
    }
}

void TForm::focusFirstControl() {
    if (TControl* first = firstTabStop(nullptr)) {
        SetFocus(first->handle());
    }
}

// The first control in tab order that takes the focus, through nested containers.
TControl* TForm::firstTabStop(const TWinControl* parent) const {
    std::vector<TControl*> children;
    for (const auto& c : controls_) {
        if (c->parent() == parent && c->handle()) {
            children.push_back(c.get());
        }
    }
    // Containers outside the tab order are searched after the others.
    auto order = [](const TControl* c) {
        return c->tabOrder() >= 0 ? c->tabOrder() : std::numeric_limits<int>::max();
    };
    std::stable_sort(children.begin(), children.end(),
                     [&](TControl* a, TControl* b) { return order(a) < order(b); });
    for (TControl* c : children) {
        HWND w = c->handle();
        if (!IsWindowVisible(w) || !IsWindowEnabled(w)) {
            continue;
        }
        if (GetWindowLongW(w, GWL_STYLE) & WS_TABSTOP) {
            return c;
        }
        if (auto* container = dynamic_cast<TWinControl*>(c)) {
            if (TControl* inner = firstTabStop(container)) {
                return inner;
            }
        }
    }
    return nullptr;
}

void TForm::paintSurface(HDC dc) {
    RECT client{};
    GetClientRect(hwnd_, &client);
    UniqueBrush background(live::CreateSolidBrush(ColorToRGB(definition_.colour)));
    FillRect(dc, &client, background.get());
    paintWindowless(nullptr, dc);
}

void TForm::displayChanged(UINT msg) {
    // Only top-level windows hear of new system colours; the common controls among the children
    // keep copies of them and take the new ones when told.
    if (msg == WM_SYSCOLORCHANGE) {
        for (const auto& c : controls_) {
            if (c->handle()) {
                SendMessageW(c->handle(), WM_SYSCOLORCHANGE, 0, 0);
            }
        }
    }
    RedrawWindow(hwnd_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

LRESULT TForm::handleMessage(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM: {
        LRESULT result = 0;
        if (reflect(msg, wp, lp, result)) {
            return result;
        }
        break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        if (windowlessMouse(nullptr, hwnd_, msg, lp)) {
            return 0;
        }
        break;
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers the whole surface
    case WM_PAINT: {
        PaintErrorScope errors;
        PaintScope painting(hwnd_);
        try {
            if (doubleBuffered_) {
                OffscreenBuffer buffer(painting.dc(), clientWidth(), clientHeight());
                paintSurface(buffer.dc());
                buffer.copyTo(painting.dc());
            } else {
                paintSurface(painting.dc());
            }
        } catch (const std::exception& e) {
            Application().handlePaintException(e);
        }
        return 0;
    }
    case WM_GETDPISCALEDSIZE: // the size for the coming DPI: the design's, not the frame's ratio
        if (int dpi = static_cast<int>(wp); dpi >= kMinDpi && dpi <= kMaxDpi && lp) {
            *reinterpret_cast<SIZE*>(lp) = outerSizeAt(dpi);
            return TRUE;
        }
        return FALSE;
    case WM_DPICHANGED: // moved to a monitor of another DPI
        changeDpi(HIWORD(wp), reinterpret_cast<const RECT*>(lp));
        return 0;
    case WM_PRINTCLIENT: // the form's image behind see-through parts of its controls
        paintSurface(reinterpret_cast<HDC>(wp));
        return 0;
    case WM_SETCURSOR:
        if (LOWORD(lp) == HTCLIENT &&
            (Application().screen().applyCursor(crDefault) ||
             (reinterpret_cast<HWND>(wp) == hwnd_ && windowlessMouse(nullptr, hwnd_, msg, lp)))) {
            return TRUE;
        }
        break;
    case WM_CLOSE:
        close();
        return 0;
    case kFocusChanged:
        focusChanged(reinterpret_cast<TControl*>(lp));
        return 0;
    case WM_GETOBJECT:
        if (LRESULT object = serveAccessibleObject(
                hwnd_, wp, lp, [](HWND w) -> AccessibleSource* { return fromHandle(w); })) {
            return object;
        }
        break;
    case kAccessibleAction:
        accessibleAction(static_cast<long>(wp));
        return 0;
    case WM_SETTINGCHANGE:
        if (wp == SPI_SETHIGHCONTRAST) {
            displayChanged(msg);
        }
        break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
        displayChanged(msg);
        break;
    case WM_SETFOCUS: // the form itself: none of its controls has the focus
        focusChanged(nullptr);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
            HWND focus = GetFocus();
            if (focus && IsChild(hwnd_, focus)) {
                lastFocus_ = focus;
            }
        } else if (lastFocus_ && IsWindow(lastFocus_)) {
            SetFocus(lastFocus_);
        } else {
            focusFirstControl();
        }
        return 0;
    default:
        break;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
}

LRESULT CALLBACK TForm::WindowProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_NCCREATE) {
        auto* cs = reinterpret_cast<CREATESTRUCTW*>(lp);
        auto* form = static_cast<TForm*>(cs->lpCreateParams);
        form->hwnd_ = hwnd;
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(form));
        Application().dpi().enableNonClientScaling(hwnd);
    }
    auto* form = reinterpret_cast<TForm*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!form) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    try {
        return form->handleMessage(msg, wp, lp);
    } catch (const std::exception& e) {
        Application().handleException(e);
        return 0;
    }
}

} // namespace tk
