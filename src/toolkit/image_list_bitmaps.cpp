// The base list's editing operations that take bitmaps and icons: straight onto the platform
// list. Bitmaps and icons stay the caller's.
#include "toolkit/bitmap.h"
#include "toolkit/image_list.h"

#include <stdexcept>
#include <string>

namespace tk {

namespace {

void checkIndex(int index, int count, const char* operation) {
    if (index < 0 || index >= count) {
        throw std::out_of_range(std::string("Image list ") + operation + ": index " +
                                std::to_string(index) + " out of bounds (0.." +
                                std::to_string(count - 1) + ")");
    }
}

// Carries the last picture of the list to `index`, the ones it passes one further.
void carryLastTo(HIMAGELIST list, int index) {
    for (int i = ImageList_GetImageCount(list) - 1; i > index && i > 0; --i) {
        ImageList_Copy(list, i - 1, list, i, ILCF_SWAP);
    }
}

} // namespace

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image) {
        return -1;
    }
    int index = ImageList_Add(Handle(), image->Handle(), mask ? mask->Handle() : nullptr);
    Change();
    return index;
}

int TCustomImageList::AddIcon(TIcon* icon) {
    if (!icon) {
        return -1;
    }
    int index = ImageList_AddIcon(Handle(), icon->Handle());
    Change();
    return index;
}

int TCustomImageList::AddMasked(TBitmap* image, TColor maskColour) {
    if (!image) {
        return -1;
    }
    int index = ImageList_AddMasked(Handle(), image->Handle(), ColorToRGB(maskColour));
    Change();
    return index;
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
    checkIndex(index, Count() + 1, "Insert");
    if (image && ImageList_Add(Handle(), image->Handle(), mask ? mask->Handle() : nullptr) >= 0) {
        carryLastTo(Handle(), index);
        Change();
    }
}

void TCustomImageList::InsertIcon(int index, TIcon* icon) {
    checkIndex(index, Count() + 1, "Insert");
    if (icon && ImageList_AddIcon(Handle(), icon->Handle()) >= 0) {
        carryLastTo(Handle(), index);
        Change();
    }
}

void TCustomImageList::InsertMasked(int index, TBitmap* image, TColor maskColour) {
    checkIndex(index, Count() + 1, "Insert");
    if (image && ImageList_AddMasked(Handle(), image->Handle(), ColorToRGB(maskColour)) >= 0) {
        carryLastTo(Handle(), index);
        Change();
    }
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    checkIndex(index, Count(), "Replace");
    if (image) {
        ImageList_Replace(Handle(), index, image->Handle(), mask ? mask->Handle() : nullptr);
        Change();
    }
}

void TCustomImageList::ReplaceIcon(int index, TIcon* icon) {
    checkIndex(index, Count(), "Replace");
    if (icon) {
        ImageList_ReplaceIcon(Handle(), index, icon->Handle());
        Change();
    }
}

void TCustomImageList::ReplaceMasked(int index, TBitmap* image, TColor maskColour) {
    checkIndex(index, Count(), "Replace");
    if (!image) {
        return;
    }
    // The platform masks by colour only when adding: add, then move into place.
    HIMAGELIST list = Handle();
    if (ImageList_AddMasked(list, image->Handle(), ColorToRGB(maskColour)) >= 0) {
        int last = ImageList_GetImageCount(list) - 1;
        ImageList_Copy(list, index, list, last, ILCF_MOVE);
        ImageList_Remove(list, last);
        Change();
    }
}

} // namespace tk
