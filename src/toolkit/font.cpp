#include "toolkit/font.h"

#include <cstring>

namespace tk {

HFONT FontCache::get(const FontSpec& spec) {
    for (const Entry& e : entries_) {
        if (e.spec.sameFace(spec)) {
            return e.font.get();
        }
    }
    LOGFONTA lf{};
    lf.lfHeight = spec.height;
    lf.lfWeight = (spec.style & fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = (spec.style & fsItalic) ? TRUE : FALSE;
    lf.lfUnderline = (spec.style & fsUnderline) ? TRUE : FALSE;
    lf.lfCharSet = static_cast<BYTE>(spec.charset);
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH;
    strncpy(lf.lfFaceName, spec.face.c_str(), LF_FACESIZE - 1);
    entries_.push_back({spec, UniqueFont(CreateFontIndirectA(&lf))});
    return entries_.back().font.get();
}

} // namespace tk
