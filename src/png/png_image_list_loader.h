// Makes a PNG image list from its stored form in a window definition.
#pragma once

#include "graphics/image_list_definition.h"
#include "png/png_image_list.h"

#include <memory>

namespace sc::png {

// Reads the properties in stored order: the size, EnabledImages, the pictures (each PNG file
// read with ReadPng) inside one collection bracket whose end builds the platform list once,
// then PngOptions. A picture that cannot be read raises the codec's exception.
std::unique_ptr<TPngImageList> LoadPngImageList(const tk::PngImageListDefinition& definition);

} // namespace sc::png
