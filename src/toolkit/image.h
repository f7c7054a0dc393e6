// The image control: shows a picture on its parent's surface, at the picture's own size (never
// scaled), centred or at the top-left corner, cut off at the control's edges.
#pragma once

#include "toolkit/control.h"
#include "toolkit/picture.h"

namespace tk {

class TImage : public TControl {
  public:
    TImage(TForm& form, const ControlDefinition& definition);

    // The picture shown; loading it while the form is visible wants an invalidate().
    TPicture& Picture() { return picture_; }
    const TPicture& Picture() const { return picture_; }
    bool center() const { return center_; }
    // Where the picture lies, in the parent's client coordinates.
    TRect pictureRect() const;

    void paint(HDC dc) override;
    // A graphic named by its accessible name, whose default action is its click if it has one.
    AccessibleElement accessibleElement() const override;

  private:
    TPicture picture_;
    bool center_;
};

} // namespace tk
