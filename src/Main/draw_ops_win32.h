// Carries out the drawing operations of a row painter on a canvas.
#pragma once

#include "Main/row_painter.h"
#include "toolkit/canvas.h"

namespace sc {

void executeDrawOps(tk::TCanvas& canvas, const DrawOps& ops);

} // namespace sc
