#include "toolkit/image.h"

#include "graphics/layout.h"
#include "toolkit/canvas.h"
#include "toolkit/form.h"

#include <oleacc.h>

namespace tk {

TImage::TImage(TForm& form, const ControlDefinition& definition)
    : TControl(form, definition), center_(definition.center) {}

TRect TImage::pictureRect() const {
    const int w = picture_.Width();
    const int h = picture_.Height();
    const TRect area{left(), top(), left() + width(), top() + height()};
    if (center_) {
        return centredRect(area, w, h);
    }
    return TRect{left(), top(), left() + w, top() + h};
}

AccessibleElement TImage::accessibleElement() const {
    AccessibleElement e;
    e.role = ROLE_SYSTEM_GRAPHIC;
    e.name = accessibleName();
    e.state = STATE_SYSTEM_READONLY;
    if (OnClick) {
        e.state |= STATE_SYSTEM_LINKED;
        e.defaultAction = "Jump";
    }
    return e;
}

void TImage::paint(HDC dc) {
    TGraphic* graphic = picture_.Graphic();
    if (!graphic || graphic->Empty()) {
        return;
    }
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, left(), top(), left() + width(), top() + height());
    TCanvas canvas(form().fonts());
    canvas.setHandle(dc);
    graphic->Draw(canvas, pictureRect());
    RestoreDC(dc, saved);
}

} // namespace tk
