// A raw, uncounted creation that the live-handle check must find.
#include <windows.h>

void paintProbe(HDC dc, RECT r) {
    HBRUSH brush = CreateSolidBrush(RGB(0, 0, 0));
    FillRect(dc, &r, brush);
    tk::live::DeleteObject(brush);
}
