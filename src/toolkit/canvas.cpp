#include "toolkit/canvas.h"

#include "text/utf.h"

namespace tk {

void TCanvas::fillRect(const RECT& r) {
    UniqueBrush brush(live::CreateSolidBrush(ColorToRGB(brushColour_)));
    FillRect(dc_, &r, brush.get());
}

void TCanvas::drawFocusRect(const RECT& r) {
    // DrawFocusRect inverts with the text colours in effect; black on white gives the usual dots.
    SetTextColor(dc_, RGB(0, 0, 0));
    SetBkColor(dc_, RGB(255, 255, 255));
    DrawFocusRect(dc_, &r);
}

void TCanvas::selectFont() {
    SelectObject(dc_, fonts_.get(font_));
}

void TCanvas::textOut(int x, int y, std::string_view text) {
    selectFont();
    SetBkMode(dc_, OPAQUE);
    SetBkColor(dc_, ColorToRGB(brushColour_));
    SetTextColor(dc_, ColorToRGB(font_.colour));
    const std::wstring wide = sc::text::toUtf16(text);
    TextOutW(dc_, x, y, wide.c_str(), static_cast<int>(wide.size()));
}

SIZE TCanvas::textExtent(std::string_view text) {
    selectFont();
    SIZE size{};
    const std::wstring wide = sc::text::toUtf16(text);
    GetTextExtentPoint32W(dc_, wide.c_str(), static_cast<int>(wide.size()), &size);
    return size;
}

} // namespace tk
