// The PNG image list's editing operations. Each converts its input first, so that a failing
// conversion leaves the list as it was, then changes the items and the platform list inside a
// BeginPngUpdate bracket and reports the change before the bracket closes.
#include "png/png_functions_win32.h"
#include "png/png_image_list.h"

#include <stdexcept>

namespace sc::png {

namespace {

// Closes the list's update bracket on every path. After a failure the platform list is made
// again from the items, so that both stay in step.
class PngUpdate {
  public:
    PngUpdate(TPngImageList& list, bool rebuild) : list_(list), rebuild_(rebuild) {
        list_.BeginPngUpdate();
    }
    PngUpdate(const PngUpdate&) = delete;
    PngUpdate& operator=(const PngUpdate&) = delete;
    ~PngUpdate() {
        if (open_) {
            try {
                list_.EndPngUpdate(true);
            } catch (...) {
                // the first failure is the one the caller gets
            }
        }
    }
    // Reports the change (unless told otherwise), then closes the bracket.
    void close(bool changed = true) {
        if (changed) {
            list_.Change();
        }
        open_ = false;
        list_.EndPngUpdate(rebuild_);
    }

  private:
    TPngImageList& list_;
    bool rebuild_;
    bool open_ = true;
};

std::unique_ptr<TPNGObject> fromBitmaps(const tk::TBitmap& image, const tk::TBitmap* mask) {
    return mask ? BitmapAndMaskToPng(image, *mask, false) : GraphicToPng(image);
}

void checkIndex(int index, int count, const char* operation) {
    if (index < 0 || index >= count) {
        throw std::out_of_range(std::string("Image list ") + operation + ": index " +
                                std::to_string(index) + " out of bounds (0.." +
                                std::to_string(count - 1) + ")");
    }
}

} // namespace

int TPngImageList::AddPng(std::unique_ptr<TPNGObject> png) {
    PngUpdate update(*this, true);
    TPngImageCollectionItem& item = pngImages_.AddItem(true);
    item.TakePngImage(std::move(png));
    AppendIcon(*item.PngImage(), item.Background());
    update.close();
    return item.Index();
}

int TPngImageList::Add(tk::TBitmap* image, tk::TBitmap* mask) {
    return image ? AddPng(fromBitmaps(*image, mask)) : -1;
}

int TPngImageList::AddIcon(tk::TIcon* icon) {
    return icon ? AddPng(GraphicToPng(*icon)) : -1;
}

int TPngImageList::AddMasked(tk::TBitmap* image, tk::TColor maskColour) {
    return image ? AddPng(BitmapKeyToPng(*image, maskColour)) : -1;
}

int TPngImageList::AddImage(tk::TCustomImageList* source, int index) {
    if (!source) {
        return -1;
    }
    auto png = std::make_unique<TPNGObject>();
    ImageListEntryToPng(*png, *source, index);
    if (!png->FindHeader()) {
        // An item without a picture would have no icon and put the icons after it out of step.
        return -1;
    }
    return AddPng(std::move(png));
}

void TPngImageList::AddImages(tk::TCustomImageList* source) {
    if (!source) {
        return;
    }
    PngUpdate update(*this, true);
    for (int i = 0, n = source->Count(); i < n; ++i) {
        AddImage(source, i);
    }
    update.close(false);
}

void TPngImageList::Clear() {
    PngUpdate update(*this, false);
    pngImages_.Clear();
    if (HandleAllocated()) {
        ImageList_Remove(Handle(), -1);
    }
    update.close();
}

void TPngImageList::Delete(int index) {
    int icons = HandleAllocated() ? ImageList_GetImageCount(Handle()) : 0;
    if (index < 0 || index >= icons || index >= pngImages_.Count()) {
        return;
    }
    PngUpdate update(*this, false);
    pngImages_.Delete(index);
    ImageList_Remove(Handle(), index);
    update.close();
}

void TPngImageList::InsertPng(int index, std::unique_ptr<TPNGObject> png) {
    if (!png) {
        return;
    }
    checkIndex(index, pngImages_.Count() + 1, "Insert");
    PngUpdate update(*this, false);
    TPngImageCollectionItem& item = pngImages_.InsertItem(index, true);
    item.TakePngImage(std::move(png));
    InsertPngIcon(index, *item.PngImage(), item.Background());
    update.close();
}

void TPngImageList::Insert(int index, tk::TBitmap* image, tk::TBitmap* mask) {
    InsertPng(index, image ? fromBitmaps(*image, mask) : nullptr);
}

void TPngImageList::InsertIcon(int index, tk::TIcon* icon) {
    InsertPng(index, icon ? GraphicToPng(*icon) : nullptr);
}

void TPngImageList::InsertMasked(int index, tk::TBitmap* image, tk::TColor maskColour) {
    InsertPng(index, image ? BitmapKeyToPng(*image, maskColour) : nullptr);
}

void TPngImageList::Move(int current, int target) {
    checkIndex(current, pngImages_.Count(), "Move");
    checkIndex(target, pngImages_.Count(), "Move");
    if (current == target) {
        return;
    }
    PngUpdate update(*this, false);
    TPngImageCollectionItem& item = *pngImages_.ItemAt(current);
    ImageList_Remove(Handle(), current);
    InsertPngIcon(target, *item.PngImage(), item.Background());
    pngImages_.Move(current, target);
    update.close();
}

void TPngImageList::ReplacePng(int index, std::unique_ptr<TPNGObject> png) {
    if (!png) {
        return;
    }
    checkIndex(index, pngImages_.Count(), "Replace");
    PngUpdate update(*this, false);
    TPngImageCollectionItem& item = *pngImages_.ItemAt(index);
    tk::UniqueIcon icon{PngToIcon(*png, item.Background())};
    item.TakePngImage(std::move(png));
    ImageList_ReplaceIcon(Handle(), index, icon.get());
    update.close();
}

void TPngImageList::Replace(int index, tk::TBitmap* image, tk::TBitmap* mask) {
    ReplacePng(index, image ? fromBitmaps(*image, mask) : nullptr);
}

void TPngImageList::ReplaceIcon(int index, tk::TIcon* icon) {
    ReplacePng(index, icon ? GraphicToPng(*icon) : nullptr);
}

void TPngImageList::ReplaceMasked(int index, tk::TBitmap* image, tk::TColor maskColour) {
    ReplacePng(index, image ? BitmapKeyToPng(*image, maskColour) : nullptr);
}

void ImageListEntryToPng(TPNGObject& png, tk::TCustomImageList& list, int index) {
    if (auto* pngList = dynamic_cast<TPngImageList*>(&list)) {
        if (TPngImageCollectionItem* item = pngList->PngImages().ItemAt(index)) {
            if (item->PngImage()) {
                png.CopyImage(*item->PngImage());
            }
        }
        return;
    }
    if (!list.HandleAllocated() || index < 0 || index >= list.Count()) {
        return;
    }
    tk::UniqueIcon icon{tk::live::ImageList_GetIcon(list.Handle(), index, ILD_NORMAL)};
    ICONINFO info{};
    if (!icon || !tk::live::GetIconInfo(icon.get(), &info)) {
        return;
    }
    tk::TBitmap colour, mask;
    mask.SetHandle(info.hbmMask);
    if (!info.hbmColor) {
        return; // a monochrome icon: no colour bitmap to read
    }
    colour.SetHandle(info.hbmColor);
    // The mask is black where the icon is opaque: alpha = 255 - mask.
    std::unique_ptr<TPNGObject> result = BitmapAndMaskToPng(colour, mask, true);
    png.CopyImage(*result);
}

} // namespace sc::png
