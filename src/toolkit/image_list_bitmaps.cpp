// The base list's editing operations that take bitmaps and icons: straight onto the platform
// list. Bitmaps and icons stay the caller's.
#include "toolkit/bitmap.h"
#include "toolkit/handles.h"
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

// A copy of the bitmap that no context holds: the platform list reads its source bitmaps,
// which it cannot while they are selected into the bitmap's own drawing context.
class LooseCopy {
  public:
    explicit LooseCopy(const TBitmap* bitmap) {
        if (!bitmap || bitmap->Empty()) {
            return;
        }
        const int w = bitmap->Width(), h = bitmap->Height();
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), w, -h, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        copy_.reset(live::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        UniqueMemoryDc dc(live::CreateCompatibleDC(nullptr));
        if (!copy_ || !dc) {
            copy_.reset();
            return;
        }
        SelectGuard select(dc.get(), copy_.get());
        BitBlt(dc.get(), 0, 0, w, h, bitmap->CanvasHandle(), 0, 0, SRCCOPY);
    }
    HBITMAP get() const { return copy_.get(); }

  private:
    UniqueBitmap copy_;
};

} // namespace

int TCustomImageList::Add(TBitmap* image, TBitmap* mask) {
    if (!image) {
        return -1;
    }
    int index = ImageList_Add(Handle(), LooseCopy(image).get(), LooseCopy(mask).get());
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
    int index = ImageList_AddMasked(Handle(), LooseCopy(image).get(), ColorToRGB(maskColour));
    Change();
    return index;
}

void TCustomImageList::Insert(int index, TBitmap* image, TBitmap* mask) {
    checkIndex(index, Count() + 1, "Insert");
    if (image && ImageList_Add(Handle(), LooseCopy(image).get(), LooseCopy(mask).get()) >= 0) {
        CarryLastTo(Handle(), index);
        Change();
    }
}

void TCustomImageList::InsertIcon(int index, TIcon* icon) {
    checkIndex(index, Count() + 1, "Insert");
    if (icon && ImageList_AddIcon(Handle(), icon->Handle()) >= 0) {
        CarryLastTo(Handle(), index);
        Change();
    }
}

void TCustomImageList::InsertMasked(int index, TBitmap* image, TColor maskColour) {
    checkIndex(index, Count() + 1, "Insert");
    if (image &&
        ImageList_AddMasked(Handle(), LooseCopy(image).get(), ColorToRGB(maskColour)) >= 0) {
        CarryLastTo(Handle(), index);
        Change();
    }
}

void TCustomImageList::Replace(int index, TBitmap* image, TBitmap* mask) {
    checkIndex(index, Count(), "Replace");
    if (image) {
        ImageList_Replace(Handle(), index, LooseCopy(image).get(), LooseCopy(mask).get());
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
    // The platform masks by colour only when adding: add to a scratch list, take the icon.
    HIMAGELIST scratch = CreatePlatformList();
    if (scratch &&
        ImageList_AddMasked(scratch, LooseCopy(image).get(), ColorToRGB(maskColour)) >= 0) {
        if (HICON icon = live::ImageList_GetIcon(scratch, 0, ILD_TRANSPARENT)) {
            ImageList_ReplaceIcon(Handle(), index, icon);
            live::DestroyIcon(icon);
            Change();
        }
    }
    if (scratch) {
        live::ImageList_Destroy(scratch);
    }
}
} // namespace tk
