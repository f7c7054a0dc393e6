// The image control: shows a picture on its parent's surface, at the picture's own size (never
// scaled), centred or at the top-left corner, cut off at the control's edges.
#pragma once

#include "graphics/graphic.h"
#include "toolkit/control.h"

#include <memory>

namespace tk {

class TImage : public TControl {
  public:
    TImage(TForm& form, const ControlDefinition& definition);

    TGraphic* graphic() const { return graphic_.get(); }
    void setGraphic(std::unique_ptr<TGraphic> graphic);
    bool center() const { return center_; }
    // Where the picture lies, in the parent's client coordinates.
    TRect pictureRect() const;

    void paint(HDC dc) override;

  private:
    std::unique_ptr<TGraphic> graphic_;
    bool center_;
};

} // namespace tk
