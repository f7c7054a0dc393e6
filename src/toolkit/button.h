// The platform's push button and the bevel, a frame drawn on the parent's surface.
#pragma once

#include "toolkit/control.h"

namespace tk {

class TButton : public TWinControl {
  public:
    TButton(TForm& form, const ControlDefinition& definition, int id);

    std::string caption() const;
    void setCaption(const std::string& caption);

    void command(WORD code) override;
};

class TBevel : public TControl {
  public:
    TBevel(TForm& form, const ControlDefinition& definition);

    BevelShape shape() const { return shape_; }
    void paint(HDC dc) override;

  private:
    BevelShape shape_;
};

} // namespace tk
