#include "png/png_image_list_loader.h"

#include "png/png_stream.h"
#include "toolkit/startup_marks.h"

namespace sc::png {

std::unique_ptr<TPngImageList> LoadPngImageList(const tk::PngImageListDefinition& definition) {
    tk::startupMark("definitions and controls");
    auto list = std::make_unique<TPngImageList>(definition.name);
    list->SetHeight(definition.height);
    list->SetWidth(definition.width);
    if (!definition.enabledImages) {
        list->SetEnabledImages(false);
    }
    TPngImageCollectionItems& images = list->PngImages();
    images.BeginUpdate();
    images.Clear();
    for (const tk::PngImageItemDefinition& stored : definition.pngImages) {
        TPngImageCollectionItem& item = images.AddItem();
        TPngMemoryStream stream(stored.pngData.data(), stored.pngData.size());
        item.PngImage()->ReadPng(stream);
        item.SetName(stored.name);
        if (stored.background) {
            item.SetBackground(*stored.background);
        }
    }
    tk::startupMark("pictures");
    images.EndUpdate();
    tk::startupMark("system image lists");
    if (definition.pngOptions) {
        list->SetPngOptions(*definition.pngOptions);
    }
    return list;
}

} // namespace sc::png
