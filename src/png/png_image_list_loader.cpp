#include "png/png_image_list_loader.h"

#include "png/png_scaled_pictures.h"
#include "toolkit/startup_marks.h"

namespace sc::png {

namespace {

// Puts the pictures into the list's items inside one collection bracket, with the stored names
// and backgrounds.
void FillItems(TPngImageList& list, const tk::PngImageListDefinition& definition,
               TListPictures& pictures) {
    TPngImageCollectionItems& images = list.PngImages();
    images.BeginUpdate();
    images.Clear();
    for (std::size_t i = 0; i < definition.pngImages.size(); ++i) {
        const tk::PngImageItemDefinition& stored = definition.pngImages[i];
        TPngImageCollectionItem& item = images.AddItem(true);
        item.TakePngImage(std::move(pictures.images[i]));
        item.SetName(stored.name);
        if (stored.background) {
            item.SetBackground(*stored.background);
        }
    }
    images.EndUpdate();
}

} // namespace

TStoredPngImageList::TStoredPngImageList(tk::PngImageListDefinition definition, int dpi)
    : TPngImageList(definition.name), definition_(std::move(definition)), dpi_(dpi) {}

void TStoredPngImageList::LoadForDpi(int dpi) {
    TListPictures pictures = ReadListPictures(definition_, dpi);
    dpi_ = dpi;
    SetSize(pictures.width, pictures.height);
    FillItems(*this, definition_, pictures);
}

void TStoredPngImageList::ScaleToDpi(int dpi) {
    if (gfx::ClampDpi(dpi) != gfx::ClampDpi(dpi_)) {
        LoadForDpi(dpi);
    }
}

std::unique_ptr<TPngImageList> LoadPngImageList(const tk::PngImageListDefinition& definition,
                                                int dpi) {
    tk::startupMark("definitions and controls");
    TListPictures pictures = ReadListPictures(definition, dpi);
    tk::startupMark("pictures");
    auto list = std::make_unique<TStoredPngImageList>(definition, dpi);
    // The platform list of icons waits until something asks for it: the windows draw from
    // the pictures themselves, so a window that never asks never pays for it.
    list->SetSystemListDeferred(true);
    list->SetHeight(pictures.height);
    list->SetWidth(pictures.width);
    if (!definition.enabledImages) {
        list->SetEnabledImages(false);
    }
    FillItems(*list, definition, pictures);
    tk::startupMark("system image lists");
    if (definition.pngOptions) {
        list->SetPngOptions(*definition.pngOptions);
    }
    list->SetSystemListDeferred(false);
    return list;
}

} // namespace sc::png
