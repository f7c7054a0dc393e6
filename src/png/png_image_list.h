// Image lists that hold their pictures as PNG images with an alpha channel. Beside the PNG
// images the list keeps the platform's image list filled with one icon per picture. Windows
// only.
#pragma once

#include "png/png_functions.h"
#include "png/png_image.h"
#include "toolkit/collection.h"
#include "toolkit/image_list.h"

#include <memory>
#include <string>

namespace sc::png {

class TPngImageList;
class TPngImageCollectionItems;

class TPngImageCollectionItem : public tk::TCollectionItem {
  public:
    // withoutImage: no PngImage until one is assigned.
    TPngImageCollectionItem(TPngImageCollectionItems& collection, bool withoutImage);

    const char* ClassName() const override { return "TPngImageCollectionItem"; }
    // From another item: its PNG image, background and name; else the toolkit's refusal.
    void Assign(const tk::TCollectionItem& source) override;
    std::string DisplayName() const override;

    TPNGObject* PngImage() const { return pngImage_.get(); }
    // Copies `image` into the item's own image and reports the change.
    void SetPngImage(const TPNGObject& image);
    // Takes `image` as the item's image without reporting (for the list's editing work).
    void TakePngImage(std::unique_ptr<TPNGObject> image) { pngImage_ = std::move(image); }
    const std::string& Name() const { return name_; }
    void SetName(std::string name) { name_ = std::move(name); }
    tk::TColor Background() const { return background_; }
    void SetBackground(tk::TColor colour);

  private:
    std::unique_ptr<TPNGObject> pngImage_;
    std::string name_;
    tk::TColor background_ = tk::clBtnFace;
};

class TPngImageCollectionItems : public tk::TCollection {
  public:
    explicit TPngImageCollectionItems(TPngImageList* owner) : owner_(owner) {}

    TPngImageList* Owner() const { return owner_; }
    TPngImageCollectionItem& AddItem(bool withoutImage = false);
    TPngImageCollectionItem& InsertItem(int index, bool withoutImage);
    // The item at index; nullptr outside 0 ... Count() - 1.
    TPngImageCollectionItem* ItemAt(int index) const {
        return static_cast<TPngImageCollectionItem*>(Items(index));
    }

  protected:
    std::unique_ptr<tk::TCollectionItem> CreateItem() override;
    // Rebuilds the owner's platform list.
    void Update(tk::TCollectionItem* item) override;

  private:
    TPngImageList* owner_;
};

class TPngImageList : public tk::TImageList {
  public:
    explicit TPngImageList(std::string name = {});
    ~TPngImageList() override;

    // The pictures, in index order.
    TPngImageCollectionItems& PngImages() { return pngImages_; }
    const TPngImageCollectionItems& PngImages() const { return pngImages_; }
    // Copies `images` (unless it is the list's own) and reports a change.
    virtual void SetPngImages(const TPngImageCollectionItems& images);
    int Count() const override { return pngImages_.Count(); }

    bool EnabledImages() const { return enabledImages_; }
    virtual void SetEnabledImages(bool value);
    TPngOptions PngOptions() const { return pngOptions_; }
    void SetPngOptions(TPngOptions value);

    // A different size empties the list.
    void SetSize(int width, int height) override;

    int UpdateDepth() const { return updateDepth_; }
    // An edit changes the platform list step by step: an owed one is made before it.
    void BeginPngUpdate() {
        SettlePlatformList();
        ++updateDepth_;
    }
    // Closes a bracket; the outermost close rebuilds the platform list when asked to.
    void EndPngUpdate(bool rebuild);
    // Makes the platform list again from every item (their disabled look when EnabledImages
    // is false and PngOptions is not empty); nothing inside a BeginPngUpdate bracket.
    virtual void RebuildSystemList();
    // While true, a rebuild only leaves the platform list owed, to be made from the items as
    // they are when it is first asked for (see OwePlatformList).
    void SetSystemListDeferred(bool value) { systemListDeferred_ = value; }

    int Add(tk::TBitmap* image, tk::TBitmap* mask) override;
    int AddIcon(tk::TIcon* icon) override;
    // The new item's index; -1, and no item, when `source` has no picture `index`.
    int AddImage(tk::TCustomImageList* source, int index) override;
    void AddImages(tk::TCustomImageList* source) override;
    int AddMasked(tk::TBitmap* image, tk::TColor maskColour) override;
    void Clear() override;
    void Delete(int index) override;
    void Insert(int index, tk::TBitmap* image, tk::TBitmap* mask) override;
    void InsertIcon(int index, tk::TIcon* icon) override;
    void InsertMasked(int index, tk::TBitmap* image, tk::TColor maskColour) override;
    void Move(int current, int target) override;
    void Replace(int index, tk::TBitmap* image, tk::TBitmap* mask) override;
    void ReplaceIcon(int index, tk::TIcon* icon) override;
    void ReplaceMasked(int index, tk::TBitmap* image, tk::TColor maskColour) override;

    // The base copy, then, for a PNG list, the pictures and EnabledImages (not PngOptions).
    void AssignTo(tk::TCustomImageList& destination) const override;

    // Puts the icon of `png` at `index` of the platform list, the icons after it one further.
    void InsertPngIcon(int index, const TPNGObject& png, tk::TColor background);

  protected:
    HIMAGELIST MakeOwedList() override;
    void DoDraw(int index, tk::TCanvas& canvas, int x, int y, tk::TDrawingStyle style,
                bool enabled) override;

  private:
    // The common body of Add, AddIcon and AddMasked: a new item holding `png`.
    int AddPng(std::unique_ptr<TPNGObject> png);
    void InsertPng(int index, std::unique_ptr<TPNGObject> png);
    void ReplacePng(int index, std::unique_ptr<TPNGObject> png);
    void AppendIcon(const TPNGObject& png, tk::TColor background);

    TPngImageCollectionItems pngImages_{this};
    bool enabledImages_ = true;
    TPngOptions pngOptions_ = pngBlendOnDisabled;
    int updateDepth_ = 0;
    bool systemListDeferred_ = false;

    // A new platform list with the icons of every item.
    HIMAGELIST BuildSystemList();
};

// Fills `png` from picture `index` of `list`: a copy of the item's image for a PNG list (png
// stays as it is when there is no such item), else the picture taken as an icon from the
// platform list, with alpha from its mask.
void ImageListEntryToPng(TPNGObject& png, tk::TCustomImageList& list, int index);

} // namespace sc::png
