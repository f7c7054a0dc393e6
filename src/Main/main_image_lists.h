// The main window's three PNG image lists as its definition stores them.
#pragma once

#include "graphics/image_list_definition.h"

#include <vector>

namespace sc {

// The colour value of the window background (system colour 5) that every item stores.
inline constexpr std::uint32_t kStoredClWindow = 0xFF000005;

// PngImageListMain, PngImageListData and PngImageListButton, in this order.
std::vector<tk::PngImageListDefinition> mainWindowImageLists();

} // namespace sc
