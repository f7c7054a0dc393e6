#include "png/png_image_list.h"

#include "png/png_functions_win32.h"
#include "png/png_icon_strip.h"

#include <stdexcept>

namespace sc::png {

namespace {

// An icon destroyed on scope exit.
struct IconGuard {
    HICON icon;
    ~IconGuard() {
        if (icon) {
            tk::live::DestroyIcon(icon);
        }
    }
};

// A platform list destroyed on scope exit unless released.
struct ImageListGuard {
    HIMAGELIST list;
    ~ImageListGuard() {
        if (list) {
            tk::live::ImageList_Destroy(list);
        }
    }
    HIMAGELIST release() { return std::exchange(list, nullptr); }
};

bool holdsImage(const TPngImageCollectionItem& item) {
    return item.PngImage() && item.PngImage()->FindHeader() != nullptr;
}

} // namespace

// ---- Items ----

TPngImageCollectionItem::TPngImageCollectionItem(TPngImageCollectionItems& collection,
                                                 bool withoutImage)
    : tk::TCollectionItem(collection),
      pngImage_(withoutImage ? nullptr : std::make_unique<TPNGObject>()),
      name_("PngImage" + std::to_string(collection.Count())) {}

void TPngImageCollectionItem::Assign(const tk::TCollectionItem& source) {
    auto* other = dynamic_cast<const TPngImageCollectionItem*>(&source);
    if (!other) {
        tk::TCollectionItem::Assign(source);
        return;
    }
    auto copy = std::make_unique<TPNGObject>();
    if (other->PngImage()) {
        copy->CopyImage(*other->PngImage());
    }
    pngImage_ = std::move(copy);
    SetBackground(other->Background());
    name_ = other->Name();
}

std::string TPngImageCollectionItem::DisplayName() const {
    return name_.empty() ? tk::TCollectionItem::DisplayName() : name_;
}

void TPngImageCollectionItem::SetPngImage(const TPNGObject& image) {
    if (!pngImage_) {
        pngImage_ = std::make_unique<TPNGObject>();
    }
    if (&image != pngImage_.get()) {
        pngImage_->CopyImage(image);
    }
    Changed(false);
}

void TPngImageCollectionItem::SetBackground(tk::TColor colour) {
    if (colour != background_) {
        background_ = colour;
        Changed(false);
    }
}

// ---- Collection ----

TPngImageCollectionItem& TPngImageCollectionItems::AddItem(bool withoutImage) {
    return static_cast<TPngImageCollectionItem&>(
        Insert(std::make_unique<TPngImageCollectionItem>(*this, withoutImage)));
}

TPngImageCollectionItem& TPngImageCollectionItems::InsertItem(int index, bool withoutImage) {
    TPngImageCollectionItem& item = AddItem(withoutImage);
    item.SetIndex(index);
    return item;
}

std::unique_ptr<tk::TCollectionItem> TPngImageCollectionItems::CreateItem() {
    return std::make_unique<TPngImageCollectionItem>(*this, false);
}

void TPngImageCollectionItems::Update(tk::TCollectionItem*) {
    if (owner_) {
        owner_->RebuildSystemList();
    }
}

// ---- List ----

TPngImageList::TPngImageList(std::string name) : tk::TImageList(std::move(name)) {}

TPngImageList::~TPngImageList() = default;

void TPngImageList::SetPngImages(const TPngImageCollectionItems& images) {
    if (&images == &pngImages_) {
        return;
    }
    pngImages_.Assign(images);
    Change();
}

void TPngImageList::SetEnabledImages(bool value) {
    if (value != enabledImages_) {
        enabledImages_ = value;
        RebuildSystemList();
    }
}

void TPngImageList::SetPngOptions(TPngOptions value) {
    if (value != pngOptions_) {
        pngOptions_ = value;
        RebuildSystemList();
    }
}

void TPngImageList::SetSize(int width, int height) {
    if (std::max(width, 1) == Width() && std::max(height, 1) == Height()) {
        return;
    }
    tk::TImageList::SetSize(width, height);
    Clear();
}

void TPngImageList::EndPngUpdate(bool rebuild) {
    bool outermost = updateDepth_ == 1;
    if (updateDepth_ > 0) {
        --updateDepth_;
    }
    if (rebuild && outermost) {
        RebuildSystemList();
    }
}

void TPngImageList::RebuildSystemList() {
    if (updateDepth_ > 0) {
        return;
    }
    ImageListGuard fresh{CreatePlatformList()};
    int pictures = 0;
    for (int i = 0; i < pngImages_.Count(); ++i) {
        pictures += holdsImage(*pngImages_.ItemAt(i));
    }
    if (pictures > 0) {
        // All icons in one strip, added with one call.
        IconStrip strip(Width(), Height(), pictures, CommonControlsVersion());
        bool disabledLook = !enabledImages_ && pngOptions_ != 0;
        std::unique_ptr<TPNGObject> scratch =
            disabledLook ? std::make_unique<TPNGObject>() : nullptr;
        int slot = 0;
        for (int i = 0; i < pngImages_.Count(); ++i) {
            const TPngImageCollectionItem& item = *pngImages_.ItemAt(i);
            if (!holdsImage(item)) {
                continue;
            }
            if (disabledLook) {
                scratch->CopyImage(*item.PngImage());
                if (pngOptions_ & pngBlendOnDisabled) {
                    BlendPngAlpha(*scratch, 127);
                }
                if (pngOptions_ & pngGrayscaleOnDisabled) {
                    GrayscalePng(*scratch, 255);
                }
                strip.Put(slot++, *scratch, tk::clNone);
            } else {
                strip.Put(slot++, *item.PngImage(), item.Background());
            }
        }
        if (!strip.AddTo(fresh.list)) {
            throw std::runtime_error("The system image list " + name() +
                                     " cannot take its pictures");
        }
    }
    if (HandleAllocated()) {
        ImageList_Remove(Handle(), -1);
    }
    SetHandle(fresh.release());
}

void TPngImageList::DoDraw(int index, tk::TCanvas& canvas, int x, int y, tk::TDrawingStyle,
                           bool enabled) {
    TPngImageCollectionItem* item = pngImages_.ItemAt(index);
    if (!item || !item->PngImage()) {
        return;
    }
    tk::TRect rect{x, y, x + Width(), y + Height()};
    DrawPngImage(*item->PngImage(), canvas, rect, enabled ? 0 : pngOptions_);
}

void TPngImageList::AssignTo(tk::TCustomImageList& destination) const {
    tk::TImageList::AssignTo(destination);
    if (auto* png = dynamic_cast<TPngImageList*>(&destination)) {
        png->SetPngImages(pngImages_);
        png->SetEnabledImages(enabledImages_);
    }
}

void TPngImageList::AppendIcon(const TPNGObject& png, tk::TColor background) {
    IconGuard icon{PngToIcon(png, background)};
    ImageList_AddIcon(Handle(), icon.icon);
}

void TPngImageList::InsertPngIcon(int index, const TPNGObject& png, tk::TColor background) {
    AppendIcon(png, background);
    CarryLastTo(Handle(), index);
}

} // namespace sc::png
