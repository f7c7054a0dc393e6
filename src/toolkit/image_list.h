// Image lists: a row of equally sized pictures kept in the platform's image list, drawn by
// index, with change notices to the controls that show them.
#pragma once

#include "toolkit/canvas.h"
#include "toolkit/colours.h"
#include "toolkit/control.h"

#include <commctrl.h>
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace tk {

class TBitmap;
class TIcon;
class TCustomImageList;

// A client's registration with an image list: OnChange runs whenever the list changes. The
// link unregisters itself when destroyed; a list that is destroyed first drops its links
// (Sender() then gives nullptr) and runs their OnChange once.
class TChangeLink {
  public:
    TChangeLink() = default;
    TChangeLink(const TChangeLink&) = delete;
    TChangeLink& operator=(const TChangeLink&) = delete;
    ~TChangeLink();

    TCustomImageList* Sender() const { return sender_; }
    void Change() {
        if (OnChange) {
            OnChange();
        }
    }

    std::function<void()> OnChange;

  private:
    friend class TCustomImageList;
    TCustomImageList* sender_ = nullptr;
};

// Draw styles of the platform list (ILD_*); DoDraw receives the list's style.
using TDrawingStyle = unsigned;

class TCustomImageList : public TComponent {
  public:
    explicit TCustomImageList(std::string name = {});
    ~TCustomImageList() override;
    TCustomImageList(const TCustomImageList&) = delete;
    TCustomImageList& operator=(const TCustomImageList&) = delete;

    int Width() const { return width_; }
    int Height() const { return height_; }
    // A different size resizes the platform list and empties it through Clear; values below 1
    // count as 1.
    void SetWidth(int value) { SetSize(value, height_); }
    void SetHeight(int value) { SetSize(width_, value); }
    virtual void SetSize(int width, int height);

    // The number of pictures (of the platform list for this class).
    virtual int Count() const;

    // The platform list, made on first demand (32-bit colour, masked, growth AllocBy()); an
    // owed one (see OwePlatformList) is made first.
    HIMAGELIST Handle();
    bool HandleAllocated() const { return handle_ != nullptr || owed_; }
    // Takes ownership of `list`, freeing the previous one, and reports a change.
    void SetHandle(HIMAGELIST list);
    bool Masked() const { return masked_; }
    int AllocBy() const { return allocBy_; }
    TDrawingStyle DrawingStyle() const { return drawingStyle_; }

    // Draws picture `index` with its top-left corner at (x, y). Nothing happens while the
    // platform list does not exist or when the index names no picture.
    void Draw(TCanvas& canvas, int x, int y, int index, bool enabled = true);

    // Editing. Every operation is virtual: a call through this type reaches a derived list's
    // own version. Bitmaps and icons stay the caller's. Results are the new picture's index,
    // -1 when nothing was added.
    virtual int Add(TBitmap* image, TBitmap* mask);
    virtual int AddIcon(TIcon* icon);
    // Picture `index` of `source` as a new picture: its index, -1 when source has no such one.
    virtual int AddImage(TCustomImageList* source, int index);
    virtual void AddImages(TCustomImageList* source);
    virtual int AddMasked(TBitmap* image, TColor maskColour);
    virtual void Clear();
    virtual void Delete(int index);
    virtual void Insert(int index, TBitmap* image, TBitmap* mask);
    virtual void InsertIcon(int index, TIcon* icon);
    virtual void InsertMasked(int index, TBitmap* image, TColor maskColour);
    virtual void Move(int current, int target);
    virtual void Replace(int index, TBitmap* image, TBitmap* mask);
    virtual void ReplaceIcon(int index, TIcon* icon);
    virtual void ReplaceMasked(int index, TBitmap* image, TColor maskColour);

    // Copies this list's size and platform pictures into `destination`.
    virtual void AssignTo(TCustomImageList& destination) const;
    void Assign(const TCustomImageList& source) { source.AssignTo(*this); }

    void RegisterChanges(TChangeLink& link);
    void UnRegisterChanges(TChangeLink& link);
    // Tells every registered link that the list changed.
    void Change();

  protected:
    // A derived list whose platform list follows from pictures it keeps itself may leave it
    // unmade until something first asks for it: the handle, the platform count, a size
    // change, a copy or an edit. MakeOwedList then makes it from those pictures, and it
    // becomes the platform list without a change notice, as the one made at once would have
    // been. A list that draws from its own pictures draws meanwhile as before.
    void OwePlatformList() { owed_ = true; }
    bool PlatformListOwed() const { return owed_; }
    // Makes the owed platform list now, if one is owed.
    void SettlePlatformList() const;
    virtual HIMAGELIST MakeOwedList() { return CreatePlatformList(); }
    virtual void DoDraw(int index, TCanvas& canvas, int x, int y, TDrawingStyle style,
                        bool enabled);
    // A new platform list of the current size, empty.
    HIMAGELIST CreatePlatformList() const;
    // Puts the pictures of `list` into a new order: picture i becomes old picture order[i].
    static void Reorder(HIMAGELIST list, const std::vector<int>& order);
    // Moves the last picture of `list` to `index`, the ones from there on one further.
    static void CarryLastTo(HIMAGELIST list, int index);

  private:
    void FreeHandle();

    int width_ = 16;
    int height_ = 16;
    bool masked_ = true;
    int allocBy_ = 4;
    TDrawingStyle drawingStyle_ = ILD_NORMAL;
    HIMAGELIST handle_ = nullptr;
    bool owed_ = false;
    std::vector<TChangeLink*> links_;
};

// The drag-image level of the class chain; this toolkit has no drag images.
class TDragImageList : public TCustomImageList {
  public:
    using TCustomImageList::TCustomImageList;
};

class TImageList : public TDragImageList {
  public:
    using TDragImageList::TDragImageList;
};

} // namespace tk
