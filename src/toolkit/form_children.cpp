// Forms: the windowless controls on a form's or a container's surface, the notifications of
// child windows and the dialog keys.
#include "toolkit/application.h"
#include "toolkit/form.h"

#include <oleacc.h>

#include <utility>

namespace tk {

void TForm::paintWindowless(const TWinControl* parent, HDC dc) {
    for (const auto& c : controls_) {
        if (c->parent() == parent && !c->handle()) {
            c->paint(dc);
        }
    }
}

TControl* TForm::windowlessAt(const TWinControl* parent, int x, int y) const {
    // The last one defined lies on top.
    for (auto it = controls_.rbegin(); it != controls_.rend(); ++it) {
        const TControl& c = **it;
        if (c.parent() == parent && !c.handle() && x >= c.left() && x < c.left() + c.width() &&
            y >= c.top() && y < c.top() + c.height()) {
            return it->get();
        }
    }
    return nullptr;
}

bool TForm::windowlessMouse(const TWinControl* parent, HWND surface, UINT msg, LPARAM lp) {
    POINT p{static_cast<short>(LOWORD(lp)), static_cast<short>(HIWORD(lp))};
    switch (msg) {
    case WM_LBUTTONDOWN:
        pressed_ = windowlessAt(parent, p.x, p.y);
        if (pressed_) {
            SetCapture(surface);
        }
        return pressed_ != nullptr;
    case WM_LBUTTONDBLCLK:
        // The second press of a double click: its first press and release were the click, so
        // this pair is none (as with the platform's own controls).
        pressed_ = nullptr;
        return windowlessAt(parent, p.x, p.y) != nullptr;
    case WM_LBUTTONUP: {
        TControl* pressed = std::exchange(pressed_, nullptr);
        if (!pressed) {
            return false;
        }
        if (GetCapture() == surface) {
            ReleaseCapture();
        }
        // A click: pressed and released over the same control.
        if (windowlessAt(parent, p.x, p.y) == pressed) {
            pressed->click();
        }
        return true;
    }
    case WM_SETCURSOR: {
        if (LOWORD(lp) != HTCLIENT) {
            return false;
        }
        POINT at{};
        GetCursorPos(&at);
        ScreenToClient(surface, &at);
        TControl* c = windowlessAt(parent, at.x, at.y);
        return c && Application().screen().applyCursor(c->cursor());
    }
    default:
        return false;
    }
}

std::vector<TControl*> TForm::accessibleControls(const TWinControl* parent) const {
    std::vector<TControl*> found;
    for (const auto& c : controls_) {
        if (c->parent() == parent && (c->handle() || c->accessibleElement().role != 0)) {
            found.push_back(c.get());
        }
    }
    return found;
}

std::vector<AccessibleElement> TForm::accessibleElements(const TWinControl* parent) const {
    HWND surface = parent ? parent->handle() : hwnd_;
    const bool shown = IsWindowVisible(surface) != FALSE;
    std::vector<AccessibleElement> elements;
    for (TControl* c : accessibleControls(parent)) {
        AccessibleElement e;
        if (c->handle()) {
            e.window = c->handle();
        } else {
            e = c->accessibleElement();
            RECT r{c->left(), c->top(), c->left() + c->width(), c->top() + c->height()};
            MapWindowPoints(surface, nullptr, reinterpret_cast<POINT*>(&r), 2);
            e.location = r;
            if (!shown) {
                e.state |= STATE_SYSTEM_INVISIBLE;
            }
        }
        elements.push_back(std::move(e));
    }
    return elements;
}

void TForm::windowlessAction(const TWinControl* parent, long child) {
    const std::vector<TControl*> controls = accessibleControls(parent);
    if (child >= 1 && child <= static_cast<long>(controls.size())) {
        TControl* c = controls[static_cast<std::size_t>(child - 1)];
        if (!c->handle()) {
            c->click();
        }
    }
}

bool TForm::reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_COMMAND:
        // Enter and Esc come from the dialog manager as IDOK and IDCANCEL, with no control or
        // the focused one (the toolkit's own controls have other identifiers).
        if ((LOWORD(wp) == IDOK || LOWORD(wp) == IDCANCEL) && HIWORD(wp) == BN_CLICKED) {
            if (TControl* c = controlOfWindow(reinterpret_cast<HWND>(lp));
                !c || !dynamic_cast<TWinControl*>(c) ||
                static_cast<TWinControl*>(c)->id() != LOWORD(wp)) {
                result = 0;
                return defaultButtonCommand(LOWORD(wp));
            }
        }
        if (lp == 0) {
            return false;
        }
        if (TControl* c = controlOfWindow(reinterpret_cast<HWND>(lp))) {
            c->command(HIWORD(wp));
        }
        result = 0;
        return true;
    case WM_NOTIFY: {
        auto* header = reinterpret_cast<NMHDR*>(lp);
        if (TControl* c = controlOfWindow(header->hwndFrom)) {
            result = 0;
            return c->notify(*header, result);
        }
        return false;
    }
    case WM_DRAWITEM: {
        auto* dis = reinterpret_cast<DRAWITEMSTRUCT*>(lp);
        if (TControl* c = controlOfWindow(dis->hwndItem)) {
            try {
                c->drawItem(*dis);
            } catch (const std::exception& e) {
                Application().handlePaintException(e);
            }
            result = TRUE;
            return true;
        }
        return false;
    }
    default:
        return false;
    }
}

// Enter and Esc as the dialog manager reports them (IDOK, IDCANCEL): a focused push button
// takes Enter itself; otherwise the default button takes Enter and the cancel button Esc.
bool TForm::defaultButtonCommand(WORD command) {
    HWND focus = GetFocus();
    if (command == IDOK) {
        if (auto* focused = dynamic_cast<TButton*>(controlOfWindow(focus))) {
            focused->click();
            return true;
        }
    }
    for (const auto& c : controls_) {
        auto* button = dynamic_cast<TButton*>(c.get());
        if (button && IsWindowEnabled(button->handle()) && IsWindowVisible(button->handle()) &&
            (command == IDOK ? button->isDefault() : button->isCancel())) {
            button->click();
            return true;
        }
    }
    return true;
}

} // namespace tk
