#include "controls/button_drawing_win32.h"

#include "toolkit/handles.h"

namespace sc::controls {

namespace {

Colour platformSystemColour(int index) {
    return GetSysColor(index);
}

} // namespace

void useSystemColours() {
    setSystemColourSource(&platformSystemColour);
}

void DcSurface::fillRect(const Rect& r, Colour c) {
    if (r.width() <= 0 || r.height() <= 0) {
        return;
    }
    tk::UniqueBrush brush(tk::live::CreateSolidBrush(c & 0xFFFFFF));
    RECT rect = toRECT(r);
    FillRect(dc_, &rect, brush.get());
}

void DcSurface::setPixel(int x, int y, Colour c) {
    SetPixelV(dc_, x, y, c & 0xFFFFFF);
}

void PaintParentImage(HWND control, HDC dc, bool invalidateParent) {
    HWND parent = GetParent(control);
    if (!parent) {
        return;
    }
    RECT bounds{};
    GetWindowRect(control, &bounds);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&bounds), 2);
    RECT parentClient{};
    GetClientRect(parent, &parentClient);
    int saved = SaveDC(dc);
    POINT origin{};
    GetViewportOrgEx(dc, &origin);
    SetViewportOrgEx(dc, origin.x - bounds.left, origin.y - bounds.top, nullptr);
    IntersectClipRect(dc, 0, 0, parentClient.right, parentClient.bottom);
    SendMessageW(parent, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(parent, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);
    RestoreDC(dc, saved);
    if (invalidateParent) {
        InvalidateRect(parent, nullptr, FALSE);
    }
}

void DrawKeyedBitmap(HDC dc, HBITMAP bitmap, const Rect& dest, Colour key, const Rect& source) {
    int w = dest.width();
    int h = dest.height();
    if (!bitmap || w <= 0 || h <= 0) {
        return;
    }
    tk::UniqueMemoryDc sourceDc(tk::live::CreateCompatibleDC(dc));
    tk::SelectGuard selectSource(sourceDc.get(), bitmap);
    // The colour work bitmap: the source part at the destination's size.
    tk::UniqueMemoryDc workDc(tk::live::CreateCompatibleDC(dc));
    tk::UniqueBitmap work(tk::live::CreateCompatibleBitmap(dc, w, h));
    tk::SelectGuard selectWork(workDc.get(), work.get());
    StretchBlt(workDc.get(), 0, 0, w, h, sourceDc.get(), source.left, source.top, source.width(),
               source.height(), SRCCOPY);
    // The mask: key-coloured pixels become 1 (white), the others 0.
    tk::UniqueMemoryDc maskDc(tk::live::CreateCompatibleDC(dc));
    tk::UniqueBitmap mask(tk::live::CreateBitmap(w, h, 1, 1, nullptr));
    tk::SelectGuard selectMask(maskDc.get(), mask.get());
    SetBkColor(workDc.get(), key & 0xFFFFFF);
    BitBlt(maskDc.get(), 0, 0, w, h, workDc.get(), 0, 0, SRCCOPY);
    // Key pixels of the work bitmap to black (mask 1 -> black, 0 -> white, ANDed), then the
    // canvas ANDed with the mask (1 -> white keeps it) and ORed with the work bitmap.
    SetBkColor(workDc.get(), RGB(0, 0, 0));
    SetTextColor(workDc.get(), RGB(255, 255, 255));
    BitBlt(workDc.get(), 0, 0, w, h, maskDc.get(), 0, 0, SRCAND);
    COLORREF oldBk = SetBkColor(dc, RGB(255, 255, 255));
    COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    BitBlt(dc, dest.left, dest.top, w, h, maskDc.get(), 0, 0, SRCAND);
    BitBlt(dc, dest.left, dest.top, w, h, workDc.get(), 0, 0, SRCPAINT);
    SetBkColor(dc, oldBk);
    SetTextColor(dc, oldText);
}

} // namespace sc::controls
