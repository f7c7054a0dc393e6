// Thin, move-only owners of Win32 handles.
#pragma once

#include "toolkit/live_handles.h"

#include <windows.h>

#include <utility>

namespace tk {

template <typename Handle, typename Deleter> class UniqueHandle {
  public:
    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : handle_(h) {}
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;
    UniqueHandle(UniqueHandle&& other) noexcept : handle_(std::exchange(other.handle_, Handle{})) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, Handle{}));
        }
        return *this;
    }
    ~UniqueHandle() { reset(); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != Handle{}; }
    Handle release() { return std::exchange(handle_, Handle{}); }
    void reset(Handle h = Handle{}) {
        if (handle_ != Handle{}) {
            Deleter{}(handle_);
        }
        handle_ = h;
    }

  private:
    Handle handle_{};
};

struct GdiObjectDeleter {
    void operator()(HGDIOBJ h) const { live::DeleteObject(h); }
};
struct DcDeleter {
    void operator()(HDC h) const { live::DeleteDC(h); }
};
struct MenuDeleter {
    void operator()(HMENU h) const { live::DestroyMenu(h); }
};
struct IconDeleter {
    void operator()(HICON h) const { live::DestroyIcon(h); }
};
struct ImageListDeleter {
    void operator()(HIMAGELIST h) const { live::ImageList_Destroy(h); }
};

using UniqueFont = UniqueHandle<HFONT, GdiObjectDeleter>;
using UniqueBitmap = UniqueHandle<HBITMAP, GdiObjectDeleter>;
using UniqueBrush = UniqueHandle<HBRUSH, GdiObjectDeleter>;
using UniqueMemoryDc = UniqueHandle<HDC, DcDeleter>;
using UniqueMenu = UniqueHandle<HMENU, MenuDeleter>;
using UniqueIcon = UniqueHandle<HICON, IconDeleter>;
using UniqueImageList = UniqueHandle<HIMAGELIST, ImageListDeleter>;

// A window's device context from GetDC, released on scope exit.
class WindowDc {
  public:
    explicit WindowDc(HWND hwnd) : hwnd_(hwnd), dc_(GetDC(hwnd)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_) {
            ReleaseDC(hwnd_, dc_);
        }
    }
    HDC get() const { return dc_; }

  private:
    HWND hwnd_;
    HDC dc_;
};

// Selects a GDI object into a device context and selects the previous one back on scope exit.
class SelectGuard {
  public:
    SelectGuard(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    SelectGuard(const SelectGuard&) = delete;
    SelectGuard& operator=(const SelectGuard&) = delete;
    ~SelectGuard() { SelectObject(dc_, previous_); }

  private:
    HDC dc_;
    HGDIOBJ previous_;
};

// An off-screen bitmap of a given size, compatible with a target context; used for double
// buffering. Paint into dc(), then copyTo() the target.
class OffscreenBuffer {
  public:
    OffscreenBuffer(HDC target, int width, int height)
        : dc_(live::CreateCompatibleDC(target)),
          bitmap_(
              live::CreateCompatibleBitmap(target, width > 0 ? width : 1, height > 0 ? height : 1)),
          select_(dc_.get(), bitmap_.get()), width_(width), height_(height) {}
    HDC dc() const { return dc_.get(); }
    void copyTo(HDC target) const {
        BitBlt(target, 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
    }

  private:
    UniqueMemoryDc dc_;
    UniqueBitmap bitmap_;
    SelectGuard select_;
    int width_;
    int height_;
};

} // namespace tk
