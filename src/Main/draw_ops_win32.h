// Carries out the drawing operations of a row painter on a canvas.
#pragma once

#include "Main/row_painter.h"
#include "toolkit/canvas.h"
#include "toolkit/image_list.h"

namespace sc {

// The image lists that the picture operations draw from; a missing one draws nothing.
struct RowImageLists {
    tk::TCustomImageList* main = nullptr;
    tk::TCustomImageList* data = nullptr;
};

void executeDrawOps(tk::TCanvas& canvas, const DrawOps& ops, const RowImageLists& images = {});

} // namespace sc
