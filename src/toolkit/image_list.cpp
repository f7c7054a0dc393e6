#include "toolkit/image_list.h"

#include <algorithm>
#include <utility>

namespace tk {

TChangeLink::~TChangeLink() {
    if (sender_) {
        sender_->UnRegisterChanges(*this);
    }
}

TCustomImageList::TCustomImageList(std::string name) : TComponent(std::move(name)) {}

TCustomImageList::~TCustomImageList() {
    std::vector<TChangeLink*> links = std::move(links_);
    links_.clear();
    for (TChangeLink* link : links) {
        link->sender_ = nullptr;
        link->Change();
    }
    FreeHandle();
}

void TCustomImageList::FreeHandle() {
    if (handle_) {
        live::ImageList_Destroy(handle_);
        handle_ = nullptr;
    }
}

HIMAGELIST TCustomImageList::CreatePlatformList() const {
    UINT flags = ILC_COLOR32 | (masked_ ? ILC_MASK : 0);
    return live::ImageList_Create(width_, height_, flags, 0, allocBy_);
}

void TCustomImageList::SettlePlatformList() const {
    if (owed_) {
        // Made on demand like the handle itself, hence also from const readers.
        auto* self = const_cast<TCustomImageList*>(this);
        HIMAGELIST made = self->MakeOwedList(); // a failure leaves it owed
        self->owed_ = false;
        self->FreeHandle();
        self->handle_ = made;
    }
}

HIMAGELIST TCustomImageList::Handle() {
    SettlePlatformList();
    if (!handle_) {
        handle_ = CreatePlatformList();
    }
    return handle_;
}

void TCustomImageList::SetHandle(HIMAGELIST list) {
    // An owed list is replaced before it was ever made.
    if (!std::exchange(owed_, false) && list == handle_) {
        return;
    }
    FreeHandle();
    handle_ = list;
    Change();
}

void TCustomImageList::SetSize(int width, int height) {
    width = std::max(width, 1);
    height = std::max(height, 1);
    if (width == width_ && height == height_) {
        return;
    }
    SettlePlatformList();
    width_ = width;
    height_ = height;
    if (handle_) {
        ImageList_SetIconSize(handle_, width_, height_);
    }
    Clear();
    Change();
}

int TCustomImageList::Count() const {
    SettlePlatformList();
    return handle_ ? ImageList_GetImageCount(handle_) : 0;
}

void TCustomImageList::Draw(TCanvas& canvas, int x, int y, int index, bool enabled) {
    if (handle_ || owed_) {
        DoDraw(index, canvas, x, y, drawingStyle_, enabled);
    }
}

void TCustomImageList::DoDraw(int index, TCanvas& canvas, int x, int y, TDrawingStyle style,
                              bool enabled) {
    if (index < 0 || index >= Count()) {
        return;
    }
    UINT flags = style | (enabled ? 0 : ILD_BLEND50);
    ImageList_DrawEx(handle_, index, canvas.handle(), x, y, 0, 0, CLR_NONE, CLR_DEFAULT, flags);
}

int TCustomImageList::AddImage(TCustomImageList* source, int index) {
    if (!source || !source->HandleAllocated() || index < 0 || index >= source->Count()) {
        return -1;
    }
    HICON icon = live::ImageList_GetIcon(source->Handle(), index, ILD_TRANSPARENT);
    if (!icon) {
        return -1;
    }
    int added = ImageList_AddIcon(Handle(), icon);
    live::DestroyIcon(icon);
    Change();
    return added;
}

void TCustomImageList::AddImages(TCustomImageList* source) {
    if (!source || source == this) {
        return;
    }
    for (int i = 0, n = source->Count(); i < n; ++i) {
        AddImage(source, i);
    }
}

void TCustomImageList::Clear() {
    SettlePlatformList();
    if (handle_) {
        ImageList_Remove(handle_, -1);
    }
    Change();
}

void TCustomImageList::Delete(int index) {
    SettlePlatformList();
    if (!handle_ || index < 0 || index >= Count()) {
        return;
    }
    ImageList_Remove(handle_, index);
    Change();
}

void TCustomImageList::Reorder(HIMAGELIST list, const std::vector<int>& order) {
    // The platform's own swap loses masked pictures on some systems: copy through icons.
    HIMAGELIST copy = live::ImageList_Duplicate(list);
    if (!copy) {
        return;
    }
    ImageList_Remove(list, -1);
    for (int from : order) {
        if (HICON icon = live::ImageList_GetIcon(copy, from, ILD_TRANSPARENT)) {
            ImageList_AddIcon(list, icon);
            live::DestroyIcon(icon);
        }
    }
    live::ImageList_Destroy(copy);
}

void TCustomImageList::CarryLastTo(HIMAGELIST list, int index) {
    int n = ImageList_GetImageCount(list);
    if (index < 0 || index >= n - 1) {
        return;
    }
    std::vector<int> order;
    for (int i = 0; i < n - 1; ++i) {
        if (i == index) {
            order.push_back(n - 1);
        }
        order.push_back(i);
    }
    Reorder(list, order);
}

void TCustomImageList::Move(int current, int target) {
    int n = Count();
    if (current == target || current < 0 || target < 0 || current >= n || target >= n) {
        return;
    }
    std::vector<int> order;
    for (int i = 0; i < n; ++i) {
        if (i != current) {
            order.push_back(i);
        }
    }
    order.insert(order.begin() + target, current);
    Reorder(handle_, order);
    Change();
}

void TCustomImageList::AssignTo(TCustomImageList& destination) const {
    if (&destination == this) {
        return;
    }
    SettlePlatformList();
    destination.SetSize(width_, height_);
    destination.Clear();
    if (handle_) {
        destination.SetHandle(live::ImageList_Duplicate(handle_));
    }
    destination.Change();
}

void TCustomImageList::RegisterChanges(TChangeLink& link) {
    if (link.sender_ == this) {
        return;
    }
    if (link.sender_) {
        link.sender_->UnRegisterChanges(link);
    }
    link.sender_ = this;
    links_.push_back(&link);
}

void TCustomImageList::UnRegisterChanges(TChangeLink& link) {
    std::erase(links_, &link);
    if (link.sender_ == this) {
        link.sender_ = nullptr;
    }
}

void TCustomImageList::Change() {
    // A link's handler may unregister links; work on a copy and skip the ones gone meanwhile.
    std::vector<TChangeLink*> links = links_;
    for (TChangeLink* link : links) {
        if (std::find(links_.begin(), links_.end(), link) != links_.end()) {
            link->Change();
        }
    }
}

} // namespace tk
