// Font descriptions and the GDI fonts made from them.
#pragma once

#include "toolkit/colours.h"
#include "toolkit/handles.h"

#include <string>
#include <vector>

namespace tk {

enum FontStyle : unsigned { fsBold = 1, fsItalic = 2, fsUnderline = 4 };
using FontStyles = unsigned;

struct FontSpec {
    std::string face = "Tahoma";
    int height = -11; // negative: character height in pixels, as LOGFONT means it
    int charset = ANSI_CHARSET;
    TColor colour = clWindowText;
    FontStyles style = 0;

    bool sameFace(const FontSpec& other) const {
        return face == other.face && height == other.height && charset == other.charset &&
               style == other.style;
    }
};

// Creates GDI fonts on first use and keeps them; one per face, height, charset and style.
class FontCache {
  public:
    HFONT get(const FontSpec& desc);

  private:
    struct Entry {
        FontSpec desc;
        UniqueFont font;
    };
    std::vector<Entry> entries_;
};

} // namespace tk
