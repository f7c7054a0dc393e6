#include "pointer.h"

#include <windows.h>

namespace snapshot {

bool parkPointer() {
    constexpr int kCorner = 1;
    SetCursorPos(kCorner, kCorner);
    for (int attempt = 0; attempt < 50; ++attempt) {
        POINT at{};
        if (GetCursorPos(&at) && at.x == kCorner && at.y == kCorner) {
            return true;
        }
        Sleep(10);
    }
    return false;
}

} // namespace snapshot
