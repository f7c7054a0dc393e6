// The GDI objects, icons, image lists, menus and windows that this program has made and not
// yet destroyed, counted where they are made and destroyed. The platform cannot always tell
// (Wine's GetGuiResources answers 0), so every creation and destruction in the program goes
// through the functions below, which call the platform function of the same name and count a
// handle that it made or destroyed. tests/windows/check-live-handles.sh (a test) refuses a raw call
// anywhere else in src/.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <atomic>

namespace tk::live {

// What Counts() tells apart: GDI objects (bitmaps, brushes, fonts, palettes, device contexts)
// are what the platform's GDI count holds; icons and menus are in its user-object count.
struct Counts {
    long gdiObjects = 0;
    long icons = 0;
    long imageLists = 0;
    long menus = 0;
    long windows = 0;

    bool operator==(const Counts&) const = default;
};

namespace detail {

enum Kind { kGdi, kIcon, kImageList, kMenu, kWindow, kKinds };

inline std::atomic<long> live[kKinds];

template <typename Handle> Handle made(Kind kind, Handle handle) {
    if (handle) {
        live[kind].fetch_add(1, std::memory_order_relaxed);
    }
    return handle;
}

inline BOOL gone(Kind kind, BOOL destroyed) {
    if (destroyed) {
        live[kind].fetch_sub(1, std::memory_order_relaxed);
    }
    return destroyed;
}

inline Kind kindOfImage(UINT type) {
    return type == IMAGE_BITMAP ? kGdi : kIcon;
}

} // namespace detail

inline Counts Now() {
    using namespace detail;
    auto at = [](Kind k) { return live[k].load(std::memory_order_relaxed); };
    return Counts{at(kGdi), at(kIcon), at(kImageList), at(kMenu), at(kWindow)};
}

// ---- GDI objects ----

inline HBITMAP CreateBitmap(int w, int h, UINT planes, UINT bits, const void* data) {
    return detail::made(detail::kGdi, ::CreateBitmap(w, h, planes, bits, data));
}
inline HBITMAP CreateCompatibleBitmap(HDC dc, int w, int h) {
    return detail::made(detail::kGdi, ::CreateCompatibleBitmap(dc, w, h));
}
inline HBITMAP CreateDIBitmap(HDC dc, const BITMAPINFOHEADER* header, DWORD init, const void* bits,
                              const BITMAPINFO* info, UINT usage) {
    return detail::made(detail::kGdi, ::CreateDIBitmap(dc, header, init, bits, info, usage));
}
inline HBITMAP CreateDIBSection(HDC dc, const BITMAPINFO* info, UINT usage, void** bits,
                                HANDLE section, DWORD offset) {
    return detail::made(detail::kGdi, ::CreateDIBSection(dc, info, usage, bits, section, offset));
}
inline HBRUSH CreateSolidBrush(COLORREF colour) {
    return detail::made(detail::kGdi, ::CreateSolidBrush(colour));
}
inline HBRUSH CreatePatternBrush(HBITMAP pattern) {
    return detail::made(detail::kGdi, ::CreatePatternBrush(pattern));
}
inline HFONT CreateFontIndirectW(const LOGFONTW* font) {
    return detail::made(detail::kGdi, ::CreateFontIndirectW(font));
}
inline HPALETTE CreatePalette(const LOGPALETTE* palette) {
    return detail::made(detail::kGdi, ::CreatePalette(palette));
}
inline HDC CreateCompatibleDC(HDC dc) {
    return detail::made(detail::kGdi, ::CreateCompatibleDC(dc));
}
inline BOOL DeleteObject(HGDIOBJ object) {
    return detail::gone(detail::kGdi, ::DeleteObject(object));
}
inline BOOL DeleteDC(HDC dc) {
    return detail::gone(detail::kGdi, ::DeleteDC(dc));
}
// Fills info with new copies of the icon's bitmaps, which the caller deletes.
inline BOOL GetIconInfo(HICON icon, ICONINFO* info) {
    BOOL ok = ::GetIconInfo(icon, info);
    if (ok) {
        detail::made(detail::kGdi, info->hbmColor);
        detail::made(detail::kGdi, info->hbmMask);
    }
    return ok;
}

// ---- Bitmaps or icons, by the type asked for ----

inline HANDLE CopyImage(HANDLE image, UINT type, int w, int h, UINT flags) {
    return detail::made(detail::kindOfImage(type), ::CopyImage(image, type, w, h, flags));
}
// Not for LR_SHARED images, which the system owns.
inline HANDLE LoadImageW(HINSTANCE instance, LPCWSTR name, UINT type, int w, int h, UINT flags) {
    return detail::made(detail::kindOfImage(type), ::LoadImageW(instance, name, type, w, h, flags));
}

// ---- Icons ----

// The small icon of a window class, read from the class icon's resource at the small size, as
// the system itself makes one for a class that has none. The class keeps it for the rest of
// the run, like the one the system would make, which is not counted either.
inline HICON LoadClassSmallIcon(HINSTANCE instance, LPCWSTR name) {
    return static_cast<HICON>(::LoadImageW(instance, name, IMAGE_ICON,
                                           GetSystemMetrics(SM_CXSMICON),
                                           GetSystemMetrics(SM_CYSMICON), LR_DEFAULTCOLOR));
}

inline HICON CreateIconIndirect(ICONINFO* info) {
    return detail::made(detail::kIcon, ::CreateIconIndirect(info));
}
inline HICON ImageList_GetIcon(HIMAGELIST list, int index, UINT flags) {
    return detail::made(detail::kIcon, ::ImageList_GetIcon(list, index, flags));
}
inline BOOL DestroyIcon(HICON icon) {
    return detail::gone(detail::kIcon, ::DestroyIcon(icon));
}

// ---- Image lists ----

inline HIMAGELIST ImageList_Create(int w, int h, UINT flags, int initial, int grow) {
    return detail::made(detail::kImageList, ::ImageList_Create(w, h, flags, initial, grow));
}
inline HIMAGELIST ImageList_Duplicate(HIMAGELIST list) {
    return detail::made(detail::kImageList, ::ImageList_Duplicate(list));
}
inline BOOL ImageList_Destroy(HIMAGELIST list) {
    return detail::gone(detail::kImageList, ::ImageList_Destroy(list));
}

// ---- Menus ----

inline HMENU CreatePopupMenu() {
    return detail::made(detail::kMenu, ::CreatePopupMenu());
}
inline BOOL DestroyMenu(HMENU menu) {
    return detail::gone(detail::kMenu, ::DestroyMenu(menu));
}

// ---- Windows ----

inline HWND CreateWindowExW(DWORD exStyle, LPCWSTR className, LPCWSTR caption, DWORD style, int x,
                            int y, int w, int h, HWND parent, HMENU menu, HINSTANCE instance,
                            LPVOID param) {
    return detail::made(detail::kWindow, ::CreateWindowExW(exStyle, className, caption, style, x, y,
                                                           w, h, parent, menu, instance, param));
}
inline BOOL DestroyWindow(HWND window) {
    return detail::gone(detail::kWindow, ::DestroyWindow(window));
}

} // namespace tk::live
