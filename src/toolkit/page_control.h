// The page control: the platform's tab control with one tab sheet per tab; the sheet of the
// selected tab is shown, the others are hidden.
#pragma once

#include "toolkit/panel.h"

#include <vector>

namespace tk {

class TTabSheet;

class TPageControl : public TWinControl {
  public:
    TPageControl(TForm& form, const ControlDefinition& definition, int id);

    int pageCount() const { return static_cast<int>(pages_.size()); }
    TTabSheet& page(int index) const { return *pages_.at(static_cast<std::size_t>(index)); }
    TTabSheet* activePage() const { return active_; }
    int activePageIndex() const;
    void setActivePage(TTabSheet& sheet);
    // The area the sheets take: the client area without the tabs and the frame.
    Bounds pageBounds() const;

    // A sheet enters itself as the next tab; the first one, or the definition's active page,
    // is shown.
    void addPage(TTabSheet& sheet, const std::string& caption);

    bool notify(const NMHDR& header, LRESULT& result) override;

  private:
    std::vector<TTabSheet*> pages_;
    TTabSheet* active_ = nullptr;
    std::string firstPage_;
};

class TTabSheet : public TContainer {
  public:
    TTabSheet(TForm& form, const ControlDefinition& definition, int id);

    TPageControl& pageControl() const { return pageControl_; }
    const std::string& caption() const { return caption_; }
    // A sheet fills its page control's page area, whatever the DPI.
    void applyDpi() override;
    // A property page named by its tab.
    AccessibleElement accessibleSelf() override;

  private:
    TPageControl& pageControl_;
    std::string caption_;
};

} // namespace tk
