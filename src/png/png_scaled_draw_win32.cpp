#include "png/png_scaled_draw_win32.h"

#include "png/png_blend.h"
#include "png/png_gdi_win32.h"
#include "png/png_messages.h"
#include "png/png_scaled_pictures.h"

#include <vector>

namespace sc::png {

void DrawPngScaled(const TPNGObject& png, HDC dc, const tk::TRect& area, int dpi) {
    const gfx::RgbaRows rows = RgbaRowsOf(png);
    if (!rows.read)
        return;
    RECT box{};
    const int kind = GetClipBox(dc, &box);
    if (kind == NULLREGION)
        return;
    const tk::TRect clip =
        kind == ERROR ? area : tk::TRect{box.left, box.top, box.right, box.bottom};
    const gfx::ScaledPlacement at =
        gfx::PlaceScaledPicture(area, clip, rows.width, rows.height, dpi);
    const tk::TRect& part = at.visible;
    if (IsEmptyRect(part))
        return;
    const int w = part.right - part.left, h = part.bottom - part.top;
    const int scaledWidth = at.placed.right - at.placed.left;
    const int scaledHeight = at.placed.bottom - at.placed.top;
    std::vector<std::uint8_t> rgba(std::size_t(w) * std::size_t(h) * 4);
    if (!gfx::ResampleAreaPart(rows, scaledWidth, scaledHeight, part, rgba.data()))
        return;
    void* bits = nullptr;
    TMemoryBitmap buffer(nullptr, CreateTopDownSection(w, h, &bits));
    if (!buffer.Ok())
        TPNGObject::RaiseError<EPNGOutMemory>(messages::EPNGOutMemoryText);
    const int x = at.placed.left + part.left, y = at.placed.top + part.top;
    BitBlt(buffer.Handle(), 0, 0, w, h, dc, x, y, SRCCOPY);
    GdiFlush();
    auto* target = static_cast<std::uint8_t*>(bits);
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned a = rgba[i + 3];
        target[i] = BlendChannel(a, rgba[i + 2], target[i]);
        target[i + 1] = BlendChannel(a, rgba[i + 1], target[i + 1]);
        target[i + 2] = BlendChannel(a, rgba[i], target[i + 2]);
    }
    BitBlt(dc, x, y, w, h, buffer.Handle(), 0, 0, SRCCOPY);
}

} // namespace sc::png
