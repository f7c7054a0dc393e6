#include "toolkit/screen.h"

namespace tk {

TScreen::TScreen() {
    cursors_[crDefault] = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    cursors_[crHourGlass] = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_WAIT));
    cursors_[crHandPoint] = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_HAND));
}

HCURSOR TScreen::cursorHandle(int shape) const {
    auto it = cursors_.find(shape);
    return it != cursors_.end() ? it->second : cursors_.at(crDefault);
}

void TScreen::setCursor(int shape) {
    cursor_ = shape;
    if (shape != crDefault) {
        SetCursor(cursorHandle(shape));
        return;
    }
    // Back to the default: let the window under the pointer choose its own shape again.
    POINT p;
    if (GetCursorPos(&p)) {
        if (HWND w = WindowFromPoint(p)) {
            DWORD pid = 0;
            GetWindowThreadProcessId(w, &pid);
            if (pid == GetCurrentProcessId()) {
                SendMessageA(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                             MAKELPARAM(SendMessageA(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)),
                                        WM_MOUSEMOVE));
                return;
            }
        }
    }
    SetCursor(cursorHandle(crDefault));
}

bool TScreen::applyCursor(int controlShape) const {
    int shape = cursor_ != crDefault ? cursor_ : controlShape;
    if (shape == crDefault) {
        return false;
    }
    SetCursor(cursorHandle(shape));
    return true;
}

} // namespace tk
