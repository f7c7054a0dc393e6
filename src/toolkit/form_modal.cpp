// Forms: modal showing, the outer bounds the opener places by, and the form of a window.
#include "toolkit/application.h"
#include "toolkit/form.h"

#include <iterator>

namespace tk {

int TForm::ShowModal() {
    if (modal_ || visible()) {
        throw std::logic_error("Cannot make a visible window modal");
    }
    TForm* main = Application().mainForm();
    HWND disabled = owner_ ? owner_->handle() : (main && main != this ? main->handle() : nullptr);
    if (disabled && !IsWindowEnabled(disabled)) {
        disabled = nullptr;
    }
    modalResult_ = mrNone;
    modal_ = true;
    struct Restore {
        TForm& form;
        HWND disabled;
        ~Restore() {
            form.modal_ = false;
            if (disabled) {
                // Enabled before hiding, so that activation goes back to the owner.
                EnableWindow(disabled, TRUE);
            }
            ShowWindow(form.hwnd_, SW_HIDE);
            if (disabled) {
                SetActiveWindow(disabled);
            }
        }
    } restore{*this, disabled};
    if (disabled) {
        EnableWindow(disabled, FALSE);
    }
    show();
    while (modalResult_ == mrNone) {
        MSG msg;
        BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got <= 0) {
            // The program is ending: leave the request for the outer loop.
            if (got == 0) {
                PostQuitMessage(static_cast<int>(msg.wParam));
            }
            modalResult_ = mrCancel;
            break;
        }
        try {
            Application().dispatchMessage(msg);
        } catch (const std::exception& e) {
            Application().handleException(e);
        }
        if (modalResult_ == mrNone && !visible()) {
            modalResult_ = mrCancel;
        }
    }
    return modalResult_;
}

Bounds TForm::outerBounds() const {
    RECT r{};
    GetWindowRect(hwnd_, &r);
    return Bounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

void TForm::moveTo(int left, int top) {
    SetWindowPos(hwnd_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TForm* TForm::fromHandle(HWND window) {
    if (!window) {
        return nullptr;
    }
    wchar_t className[256] = {};
    GetClassNameW(window, className, static_cast<int>(std::size(className)));
    WNDCLASSEXW info{};
    info.cbSize = sizeof info;
    if (!GetClassInfoExW(GetModuleHandleW(nullptr), className, &info) ||
        info.lpfnWndProc != &TForm::WindowProc) {
        return nullptr;
    }
    return reinterpret_cast<TForm*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

} // namespace tk
