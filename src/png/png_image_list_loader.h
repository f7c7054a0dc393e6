// Makes a PNG image list from its stored form in a window definition, at the size a DPI asks
// for.
#pragma once

#include "graphics/image_list_definition.h"
#include "png/png_image_list.h"

#include <memory>

namespace sc::png {

// A PNG image list that keeps its stored form, so that it can load its pictures again for
// another DPI.
class TStoredPngImageList : public TPngImageList {
  public:
    // An empty list of the stored form whose pictures are to be loaded for dpi.
    TStoredPngImageList(tk::PngImageListDefinition definition, int dpi);

    // Loads the pictures for dpi (see ReadListPictures): the list's size becomes the design
    // size scaled by dpi / 96 and the platform list is made once, at the end. The list stays
    // the same object, so the controls that show it keep it. EnabledImages and PngOptions stay.
    // A picture that cannot be read raises the codec's exception.
    void LoadForDpi(int dpi);
    // The owning form is laid out for dpi: loads the pictures for it unless they already are.
    void ScaleToDpi(int dpi) override;
    // The DPI the pictures were last loaded for.
    int Dpi() const { return dpi_; }

  private:
    tk::PngImageListDefinition definition_;
    int dpi_ = 96;
};

// Reads the properties in stored order: the size, EnabledImages, the pictures (each PNG file
// read with ReadPng) inside one collection bracket whose end builds the platform list once,
// then PngOptions. A picture that cannot be read raises the codec's exception. At another DPI
// than 96 the size is scaled by dpi / 96 and the pictures come from the set that fits: only
// that set's files are decoded.
std::unique_ptr<TPngImageList> LoadPngImageList(const tk::PngImageListDefinition& definition,
                                                int dpi = 96);

} // namespace sc::png
