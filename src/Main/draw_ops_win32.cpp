#include "Main/draw_ops_win32.h"

namespace sc {

namespace {

RECT toRect(const Rect& r) {
    return RECT{r.left, r.top, r.right, r.bottom};
}

struct Executor {
    tk::TCanvas& canvas;
    const RowImageLists& images;

    void operator()(const FillOp& op) const {
        canvas.setBrushColor(op.colour);
        canvas.fillRect(toRect(op.rect));
    }
    void operator()(const FocusOp& op) const { canvas.drawFocusRect(toRect(op.rect)); }
    void operator()(const ImageOp& op) const {
        tk::TCustomImageList* list = op.list == ImageListId::main ? images.main : images.data;
        if (list) {
            list->Draw(canvas, op.at.x, op.at.y, op.index, true);
        }
    }
    void operator()(const TextOp& op) const {
        canvas.setBrushColor(op.background);
        canvas.setFontColor(op.colour);
        canvas.setFontStyle(op.style == FontStyle::bold ? tk::FontStyles{tk::fsBold}
                                                        : tk::FontStyles{0});
        canvas.textOut(op.at.x, op.at.y, op.text);
    }
};

} // namespace

void executeDrawOps(tk::TCanvas& canvas, const DrawOps& ops, const RowImageLists& images) {
    for (const DrawOp& op : ops) {
        std::visit(Executor{canvas, images}, op);
    }
    canvas.setFontStyle(0);
}

} // namespace sc
