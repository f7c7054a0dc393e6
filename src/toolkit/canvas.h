// A drawing surface over a device context: brush colour, font (colour and style), fills, focus
// rectangles and text.
#pragma once

#include "toolkit/colours.h"
#include "toolkit/font.h"

#include <string_view>

namespace tk {

class TCanvas {
  public:
    explicit TCanvas(FontCache& fonts) : fonts_(fonts) {}

    void setHandle(HDC dc) { dc_ = dc; }
    HDC handle() const { return dc_; }

    TColor brushColor() const { return brushColour_; }
    void setBrushColor(TColor c) { brushColour_ = c; }

    const FontSpec& font() const { return font_; }
    void setFont(const FontSpec& desc) { font_ = desc; }
    void setFontColor(TColor c) { font_.colour = c; }
    void setFontStyle(FontStyles s) { font_.style = s; }

    void fillRect(const RECT& r);
    // The platform's dotted focus rectangle, drawn by inverting: twice restores the pixels.
    void drawFocusRect(const RECT& r);
    // Text with its top-left corner at (x, y) on an opaque background of the brush colour.
    void textOut(int x, int y, std::string_view text);
    SIZE textExtent(std::string_view text);

  private:
    void selectFont();

    FontCache& fonts_;
    HDC dc_ = nullptr;
    TColor brushColour_ = clWhite;
    FontSpec font_;
};

} // namespace tk
