#include "toolkit/image.h"

#include "graphics/layout.h"
#include "toolkit/canvas.h"
#include "toolkit/form.h"

namespace tk {

TImage::TImage(TForm& form, const ControlDefinition& definition)
    : TControl(form, definition), center_(definition.center) {}

void TImage::setGraphic(std::unique_ptr<TGraphic> graphic) {
    graphic_ = std::move(graphic);
    invalidate();
}

TRect TImage::pictureRect() const {
    const int w = graphic_ ? graphic_->Width() : 0;
    const int h = graphic_ ? graphic_->Height() : 0;
    const TRect area{left(), top(), left() + width(), top() + height()};
    if (center_) {
        return centredRect(area, w, h);
    }
    return TRect{left(), top(), left() + w, top() + h};
}

void TImage::paint(HDC dc) {
    if (!graphic_ || graphic_->Empty()) {
        return;
    }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, left(), top(), left() + width(), top() + height());
    TCanvas canvas(form().fonts());
    canvas.setHandle(dc);
    graphic_->Draw(canvas, pictureRect());
    RestoreDC(dc, saved);
}

} // namespace tk
