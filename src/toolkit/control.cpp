#include "toolkit/control.h"

#include "toolkit/application.h"
#include "toolkit/form.h"

#include "text/utf.h"

#include <commctrl.h>

namespace tk {

namespace {

TWinControl* findParent(TForm& form, const ControlDefinition& definition) {
    if (definition.parent.empty()) {
        return nullptr;
    }
    auto* parent = dynamic_cast<TWinControl*>(form.findControl(definition.parent));
    if (!parent) {
        throw std::logic_error("The parent " + definition.parent + " of " + definition.name +
                               " is no container defined before it");
    }
    return parent;
}

} // namespace

TControl::TControl(TForm& form, const ControlDefinition& definition)
    : form_(form), parent_(findParent(form, definition)), name_(definition.name),
      designBounds_(definition.bounds), designFont_(definition.font.value_or(form.designFont())),
      alignClient_(definition.align == Align::alClient), bounds_(scaledBounds()),
      anchors_(definition.anchors), tabOrder_(definition.tabOrder),
      font_(scaledFont(designFont_, form.Dpi())), cursor_(definition.cursor),
      accessibleName_(definition.accessibleName) {}

Bounds TControl::scaledBounds() const {
    if (alignClient_) {
        return parent_ ? parent_->alignRect()
                       : Bounds{0, 0, form_.clientWidth(), form_.clientHeight()};
    }
    return scaleBounds(designBounds_, form_.Dpi());
}

void TControl::applyDpi() {
    font_ = scaledFont(designFont_, form_.Dpi());
    applyFont();
    setBounds(scaledBounds());
}

HWND TControl::parentHandle() const {
    return parent_ ? parent_->handle() : form_.handle();
}

void TControl::invalidate() {
    RECT r{left(), top(), left() + width(), top() + height()};
    InvalidateRect(parentHandle(), &r, FALSE);
}

void TControl::setBounds(const Bounds& b) {
    bounds_ = b;
    applyBounds();
}

bool TControl::bindNotify(const std::string& event, TNotifyEvent handler) {
    if (event == "OnClick") {
        OnClick = std::move(handler);
        return true;
    }
    return false;
}

TWinControl::TWinControl(TForm& form, const ControlDefinition& definition, int id)
    : TControl(form, definition), id_(id) {}

TWinControl::~TWinControl() {
    destroyWindow();
}

void TWinControl::createWindow(const wchar_t* windowClass, DWORD style, DWORD exStyle,
                               std::string_view text) {
    hwnd_ = live::CreateWindowExW(
        exStyle, windowClass, sc::text::toUtf16(text).c_str(), style | WS_CHILD, left(), top(),
        width(), height(), parentHandle(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(id_)),
        GetModuleHandleW(nullptr), nullptr);
    if (!hwnd_) {
        throw std::runtime_error("Error creating window of class " + sc::text::toUtf8(windowClass));
    }
    // Subclassed by replacing the procedure, with the control in the window's user data (which
    // the native classes leave to the program): reading those takes no round trip to the
    // window server per message, as a look-up in a subclass chain kept in a window property
    // does on some platforms.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    nativeProc_ = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)));
    SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form().fonts().get(font())), FALSE);
}

void TWinControl::destroyWindow() {
    if (hwnd_) {
        SetWindowLongPtrW(hwnd_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(nativeProc_));
        SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
        live::DestroyWindow(hwnd_);
        hwnd_ = nullptr;
    }
}

void TWinControl::applyBounds() {
    if (hwnd_) {
        MoveWindow(hwnd_, left(), top(), width(), height(), TRUE);
    }
}

void TWinControl::applyFont() {
    if (hwnd_) {
        SendMessageW(hwnd_, WM_SETFONT, reinterpret_cast<WPARAM>(form().fonts().get(font())), TRUE);
    }
}

void TWinControl::setFocus() {
    if (hwnd_) {
        SetFocus(hwnd_);
    }
}

void TWinControl::repaint() {
    if (hwnd_) {
        InvalidateRect(hwnd_, nullptr, TRUE);
        UpdateWindow(hwnd_);
    }
}

Bounds TWinControl::alignRect() const {
    RECT r{};
    GetClientRect(hwnd_, &r);
    return Bounds{0, 0, r.right, r.bottom};
}

bool TWinControl::subclassMessage(UINT, WPARAM, LPARAM, LRESULT&) {
    return false;
}

LRESULT TWinControl::defaultProc(UINT msg, WPARAM wp, LPARAM lp) {
    return CallWindowProcW(nativeProc_, hwnd_, msg, wp, lp);
}

AccessibleSource* TWinControl::accessibleSourceOf(HWND window) {
    if (GetWindowLongPtrW(window, GWLP_WNDPROC) !=
        reinterpret_cast<LONG_PTR>(&TWinControl::SubclassProc)) {
        return nullptr;
    }
    return reinterpret_cast<TWinControl*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

LRESULT TWinControl::accessibleObject(WPARAM wp, LPARAM lp) {
    return serveAccessibleObject(hwnd_, wp, lp, &TWinControl::accessibleSourceOf);
}

LRESULT CALLBACK TWinControl::SubclassProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    auto* self = reinterpret_cast<TWinControl*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (!self) {
        return DefWindowProcW(hwnd, msg, wp, lp);
    }
    if (msg == WM_PAINT) {
        // The rows a control's own painting asks its form to draw report their failures once.
        PaintErrorScope errors;
        try {
            LRESULT result = 0;
            if (self->subclassMessage(msg, wp, lp, result)) {
                return result;
            }
        } catch (const std::exception& e) {
            Application().handlePaintException(e);
            ValidateRect(hwnd, nullptr);
            return 0;
        }
        return self->defaultProc(msg, wp, lp);
    }
    try {
        if (msg == WM_SETCURSOR && LOWORD(lp) == HTCLIENT &&
            Application().screen().applyCursor(self->cursor())) {
            return TRUE;
        }
        if (msg == WM_SETFOCUS) {
            self->form().focusChanged(self);
        }
        if (msg == kAccessibleAction) {
            self->accessibleAction(static_cast<long>(wp));
            return 0;
        }
        LRESULT result = 0;
        if (self->subclassMessage(msg, wp, lp, result)) {
            return result;
        }
    } catch (const std::exception& e) {
        Application().handleException(e);
        return 0;
    }
    return self->defaultProc(msg, wp, lp);
}

} // namespace tk
