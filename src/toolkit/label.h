// The label: text painted on its parent's surface, sized to its text or of a fixed size with
// word wrap; "&" marks an accelerator unless ShowAccelChar is off.
#pragma once

#include "toolkit/control.h"

namespace tk {

class TLabel : public TControl {
  public:
    TLabel(TForm& form, const ControlDefinition& definition);

    const std::string& caption() const { return caption_; }
    void setCaption(const std::string& caption);
    bool autoSize() const { return autoSize_; }
    bool wordWrap() const { return wordWrap_; }
    bool transparent() const { return transparent_; }
    bool showAccelChar() const { return showAccelChar_; }
    TColor colour() const { return colour_; }

    void paint(HDC dc) override;
    void applyDpi() override;
    // Static text with the text it shows; a link (role link, action "Jump") when it has a click.
    AccessibleElement accessibleElement() const override;

  private:
    unsigned textFormat() const;
    void adjustSize();

    std::string caption_;
    bool autoSize_;
    bool wordWrap_;
    bool transparent_;
    bool showAccelChar_;
    TColor colour_;
    TColor contrastFontColour_;
};

} // namespace tk
