#include "toolkit/font.h"

#include <cstring>

namespace tk {

HFONT FontCache::get(const FontSpec& desc) {
    for (const Entry& e : entries_) {
        if (e.desc.sameFace(desc)) {
            return e.font.get();
        }
    }
    LOGFONTA lf{};
    lf.lfHeight = desc.height;
    lf.lfWeight = (desc.style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (desc.style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (desc.style & fsUnderline) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(desc.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    strncpy(lf.lfFaceName, desc.face.c_str(), LF_FACESIZE - 1);
    entries_.push_back({desc, UniqueFont(live::CreateFontIndirectA(&lf))});
    return entries_.back().font.get();
}

} // namespace tk
