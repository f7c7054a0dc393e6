#include "controls/glyph_button.h"

#include <array>

namespace sc::controls {

HBITMAP KindGlyph(TBitBtnKind kind) {
    static const std::array<const char*, kKindCount> names{
        nullptr,         "SC_KIND_OK",     "SC_KIND_CANCEL", "SC_KIND_HELP",
        "SC_KIND_YES",   "SC_KIND_NO",     "SC_KIND_CLOSE",  "SC_KIND_ABORT",
        "SC_KIND_RETRY", "SC_KIND_IGNORE", "SC_KIND_ALL"};
    // Loaded on first request, kept for the life of the program.
    static std::array<tk::UniqueBitmap, kKindCount> cache;
    int i = static_cast<int>(kind);
    if (i <= 0 || i >= kKindCount) {
        return nullptr;
    }
    auto& entry = cache[static_cast<std::size_t>(i)];
    if (!entry) {
        entry.reset(static_cast<HBITMAP>(
            tk::live::LoadImageA(GetModuleHandleA(nullptr), names[static_cast<std::size_t>(i)],
                                 IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
    }
    return entry.get();
}

} // namespace sc::controls
