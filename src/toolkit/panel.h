// Containers drawn by the toolkit: the panel with its bevels and the group box. Their windowless
// controls (labels, images) are painted on their surface and get their clicks from it.
#pragma once

#include "toolkit/control.h"

#include <vector>

namespace tk {

// A child window that paints its background and its windowless controls and passes its child
// windows' notifications to their controls.
class TContainer : public TWinControl {
  public:
    TContainer(TForm& form, const ControlDefinition& definition, int id);

    // The fixed colour, or in a contrast theme the system colour that takes its place.
    TColor colour() const;
    void setColour(TColor colour);

    // Its windowless controls and child windows, as the form presents them.
    std::vector<AccessibleElement> accessibleChildren() override;
    void accessibleAction(long child) override;

  protected:
    void createContainer(bool visible);
    // Frames drawn over the background, before the windowless controls.
    virtual void paintFrame(HDC, const RECT& /*client*/) {}
    bool subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void paintSurface(HDC dc);

    TColor colour_;
    TColor contrastColour_;
};

class TPanel : public TContainer {
  public:
    TPanel(TForm& form, const ControlDefinition& definition, int id);

    PanelBevel bevelOuter() const { return bevelOuter_; }
    PanelBevel bevelInner() const { return bevelInner_; }
    int borderWidth() const { return borderWidth_; }
    // Inside the bevels and the border.
    Bounds alignRect() const override;

  protected:
    void paintFrame(HDC dc, const RECT& client) override;

  private:
    PanelBevel bevelOuter_;
    PanelBevel bevelInner_;
    int borderWidth_;
};

// An etched frame with an optional caption in its top edge.
class TGroupBox : public TContainer {
  public:
    TGroupBox(TForm& form, const ControlDefinition& definition, int id);

    AccessibleElement accessibleSelf() override;

  protected:
    void paintFrame(HDC dc, const RECT& client) override;

  private:
    std::string caption_;
};

} // namespace tk
