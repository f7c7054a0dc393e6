#include "toolkit/screen.h"

namespace tk {

namespace {

// The system cursor that stands for a shape of the table by default; none for other shapes.
LPCWSTR systemCursor(int shape) {
    switch (shape) {
    case crHourGlass:
        return IDC_WAIT;
    case crHandPoint:
        return IDC_HAND;
    default:
        return nullptr;
    }
}

} // namespace

TScreen::TScreen() {
    cursors_[crDefault] = LoadCursorW(nullptr, IDC_ARROW);
}

HCURSOR TScreen::cursorHandle(int shape) const {
    auto it = cursors_.find(shape);
    if (it == cursors_.end()) {
        if (LPCWSTR system = systemCursor(shape)) {
            it = cursors_.emplace(shape, LoadCursorW(nullptr, system)).first;
        }
    }
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
                SendMessageW(w, WM_SETCURSOR, reinterpret_cast<WPARAM>(w),
                             MAKELPARAM(SendMessageW(w, WM_NCHITTEST, 0, MAKELPARAM(p.x, p.y)),
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
