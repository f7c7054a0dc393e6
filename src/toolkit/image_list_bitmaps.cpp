// The base list's editing operations that take bitmaps and icons. Interim: the bitmap and icon
// classes are not in the toolkit yet, so these refuse clearly instead of guessing at them.
#include "toolkit/image_list.h"

#include <stdexcept>

namespace tk {

namespace {
[[noreturn]] void unavailable() {
    throw std::logic_error("Image lists cannot take bitmaps or icons in this build");
}
} // namespace

int TCustomImageList::Add(TBitmap*, TBitmap*) {
    unavailable();
}
int TCustomImageList::AddIcon(TIcon*) {
    unavailable();
}
int TCustomImageList::AddMasked(TBitmap*, TColor) {
    unavailable();
}
void TCustomImageList::Insert(int, TBitmap*, TBitmap*) {
    unavailable();
}
void TCustomImageList::InsertIcon(int, TIcon*) {
    unavailable();
}
void TCustomImageList::InsertMasked(int, TBitmap*, TColor) {
    unavailable();
}
void TCustomImageList::Replace(int, TBitmap*, TBitmap*) {
    unavailable();
}
void TCustomImageList::ReplaceIcon(int, TIcon*) {
    unavailable();
}
void TCustomImageList::ReplaceMasked(int, TBitmap*, TColor) {
    unavailable();
}

} // namespace tk
