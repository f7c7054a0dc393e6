// The platform's push button and the bevel, a frame drawn on the parent's surface.
#pragma once

#include "toolkit/control.h"

namespace tk {

class TButton : public TWinControl {
  public:
    TButton(TForm& form, const ControlDefinition& definition, int id);

    std::string caption() const;
    void setCaption(const std::string& caption);

    // Enter clicks the default button, Esc the cancel button (unless a button has the focus).
    bool isDefault() const { return default_; }
    bool isCancel() const { return cancel_; }
    // A click sets the form's modal result to this, when it is not mrNone.
    int modalResult() const { return modalResult_; }

    void command(WORD code) override;
    void click() override;

  private:
    bool default_;
    bool cancel_;
    int modalResult_;
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
