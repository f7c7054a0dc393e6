#include "toolkit/font.h"

#include "text/utf.h"

#include <algorithm>

namespace tk {

HFONT FontCache::get(const FontSpec& desc) {
    for (const Entry& e : entries_) {
        if (e.desc.sameFace(desc)) {
            return e.font.get();
        }
    }
    LOGFONTW lf{};
    lf.lfHeight = desc.height;
    lf.lfWeight = (desc.style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (desc.style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (desc.style & fsUnderline) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(desc.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    const std::wstring face = sc::text::toUtf16(desc.face);
    const std::wstring_view name = sc::text::cutUtf16(face, LF_FACESIZE - 1);
    std::copy(name.begin(), name.end(), lf.lfFaceName);
    entries_.push_back({desc, UniqueFont(live::CreateFontIndirectW(&lf))});
    return entries_.back().font.get();
}

} // namespace tk
