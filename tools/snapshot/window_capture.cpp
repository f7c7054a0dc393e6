#include "window_capture.h"

#include "window_wait.h"

#include "png_writer.h"

#include <cstring>

namespace snapshot {
namespace {

// Releases the GDI objects of one capture on every path.
struct CaptureContext {
    HWND window = nullptr;
    HDC windowDc = nullptr;
    HDC memoryDc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;

    ~CaptureContext() {
        if (previous) {
            SelectObject(memoryDc, previous);
        }
        if (bitmap) {
            DeleteObject(bitmap);
        }
        if (memoryDc) {
            DeleteDC(memoryDc);
        }
        if (windowDc) {
            ReleaseDC(window, windowDc);
        }
    }
};

} // namespace

std::optional<RgbImage> captureClientArea(HWND window) {
    RECT client{};
    if (!GetClientRect(window, &client)) {
        return std::nullopt;
    }
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    if (width <= 0 || height <= 0 || width > kMaxPngSide || height > kMaxPngSide) {
        return std::nullopt;
    }

    CaptureContext gdi;
    gdi.window = window;
    gdi.windowDc = GetDC(window);
    if (!gdi.windowDc) {
        return std::nullopt;
    }
    gdi.memoryDc = CreateCompatibleDC(gdi.windowDc);
    if (!gdi.memoryDc) {
        return std::nullopt;
    }
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height; // top-down rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 24;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    gdi.bitmap = CreateDIBSection(gdi.memoryDc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (!gdi.bitmap || !bits) {
        return std::nullopt;
    }
    gdi.previous = SelectObject(gdi.memoryDc, gdi.bitmap);
    if (!BitBlt(gdi.memoryDc, 0, 0, width, height, gdi.windowDc, 0, 0, SRCCOPY)) {
        return std::nullopt;
    }
    GdiFlush();

    // DIB rows are padded to four bytes and hold blue, green, red.
    const std::size_t stride = (static_cast<std::size_t>(width) * 3 + 3) & ~std::size_t{3};
    RgbImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<std::size_t>(width) * 3 * static_cast<std::size_t>(height));
    const auto* source = static_cast<const std::uint8_t*>(bits);
    std::uint8_t* target = image.pixels.data();
    for (int y = 0; y < height; ++y) {
        const std::uint8_t* row = source + stride * static_cast<std::size_t>(y);
        for (int x = 0; x < width; ++x) {
            target[0] = row[2];
            target[1] = row[1];
            target[2] = row[0];
            target += 3;
            row += 3;
        }
    }
    return image;
}

std::optional<RgbImage> captureSettledClientArea(HWND window, ULONGLONG deadline) {
    std::optional<RgbImage> previous;
    while (waitUntilPainted(window, deadline)) {
        std::optional<RgbImage> current = captureClientArea(window);
        if (!current) {
            return std::nullopt;
        }
        if (previous && previous->pixels == current->pixels) {
            return current;
        }
        previous = std::move(current);
    }
    return std::nullopt;
}

} // namespace snapshot
