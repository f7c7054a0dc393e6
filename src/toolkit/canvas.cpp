#include "toolkit/canvas.h"

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
    TextOutA(dc_, x, y, text.data(), static_cast<int>(text.size()));
}

SIZE TCanvas::textExtent(std::string_view text) {
    selectFont();
    SIZE size{};
    GetTextExtentPoint32A(dc_, text.data(), static_cast<int>(text.size()), &size);
    return size;
}

} // namespace tk
