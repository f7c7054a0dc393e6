#include "png/png_image_list.h"

#include "png/png_functions_win32.h"
#include "png/png_icon_strip.h"

#include <algorithm>
#include <vector>

namespace sc::png {

namespace {

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
    if (systemListDeferred_) {
        OwePlatformList();
        return;
    }
    tk::UniqueImageList fresh{BuildSystemList()};
    if (!PlatformListOwed() && HandleAllocated()) {
        ImageList_Remove(Handle(), -1);
    }
    SetHandle(fresh.release());
}

HIMAGELIST TPngImageList::MakeOwedList() {
    return BuildSystemList();
}

HIMAGELIST TPngImageList::BuildSystemList() {
    tk::UniqueImageList fresh{CreatePlatformList()};
    std::vector<const TPngImageCollectionItem*> pictures;
    for (int i = 0; i < pngImages_.Count(); ++i) {
        if (holdsImage(*pngImages_.ItemAt(i))) {
            pictures.push_back(pngImages_.ItemAt(i));
        }
    }
    const bool disabledLook = !enabledImages_ && pngOptions_ != 0;
    std::unique_ptr<TPNGObject> scratch = disabledLook ? std::make_unique<TPNGObject>() : nullptr;
    // The picture whose icon stands for the item: the item's own or its disabled look.
    auto look = [&](const TPngImageCollectionItem& item) -> const TPNGObject& {
        if (!disabledLook) {
            return *item.PngImage();
        }
        scratch->CopyImage(*item.PngImage());
        if (pngOptions_ & pngBlendOnDisabled) {
            BlendPngAlpha(*scratch, 127);
        }
        if (pngOptions_ & pngGrayscaleOnDisabled) {
            GrayscalePng(*scratch, 255);
        }
        return *scratch;
    };
    auto background = [&](const TPngImageCollectionItem& item) {
        return disabledLook ? tk::clNone : item.Background();
    };

    // One strip for all pictures where it gives the icons' own pixels: every picture of the
    // list's size (the platform stretches an icon of another size into its cell).
    const int version = CommonControlsVersion();
    bool added = false;
    if (!pictures.empty() && std::all_of(pictures.begin(), pictures.end(), [&](auto* item) {
            return IconStrip::Fits(*item->PngImage(), Width(), Height());
        })) {
        IconStrip strip(Width(), Height(), static_cast<int>(pictures.size()), version);
        if (strip.Ok()) {
            int slot = 0;
            for (const TPngImageCollectionItem* item : pictures) {
                strip.Put(slot++, look(*item), background(*item));
            }
            added = strip.AddTo(fresh.get());
        }
    }
    if (!added) {
        ImageList_Remove(fresh.get(), -1);
        for (const TPngImageCollectionItem* item : pictures) {
            tk::UniqueIcon icon{PngToIconForVersion(look(*item), background(*item), version)};
            ImageList_AddIcon(fresh.get(), icon.get());
        }
    }
    return fresh.release();
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
    tk::UniqueIcon icon{PngToIcon(png, background)};
    ImageList_AddIcon(Handle(), icon.get());
}

void TPngImageList::InsertPngIcon(int index, const TPNGObject& png, tk::TColor background) {
    // The icons around the new one are carried over through a copy of the list; the new one
    // goes in straight from PngToIcon.
    tk::UniqueImageList copy{tk::live::ImageList_Duplicate(Handle())};
    if (!copy) {
        AppendIcon(png, background);
        CarryLastTo(Handle(), index);
        return;
    }
    ImageList_Remove(Handle(), -1);
    const int count = ImageList_GetImageCount(copy.get());
    auto carry = [&](int from, int to) {
        for (int i = from; i < to; ++i) {
            tk::UniqueIcon icon{tk::live::ImageList_GetIcon(copy.get(), i, ILD_TRANSPARENT)};
            ImageList_AddIcon(Handle(), icon.get());
        }
    };
    carry(0, std::min(index, count));
    AppendIcon(png, background);
    carry(std::max(index, 0), count);
}

} // namespace sc::png
