// The list box: the platform's single-selection list, optionally owner-drawn with rows of one
// fixed height, and optionally double-buffered.
#pragma once

#include "toolkit/control.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tk {

enum class TListBoxStyle { lbStandard, lbOwnerDrawFixed };

// What screen readers are told of a row, and the name of its default action (a click on it).
struct TAccessibleRow {
    std::string name, description, action = "Select";
};
using TAccessibleRowEvent = std::function<TAccessibleRow(int index, const std::string& text)>;

class TListBox : public TWinControl {
  public:
    TListBox(TForm& form, const ControlDefinition& definition, int id);

    TListBoxStyle style() const { return style_; }
    // Changing the style recreates the native list, keeping its rows and selection.
    void setStyle(TListBoxStyle style);
    // The row height in pixels at the form's DPI; set in design units (96-DPI pixels).
    int itemHeight() const { return itemHeight_; }
    void setItemHeight(int designHeight);
    void applyDpi() override;
    bool doubleBuffered() const { return doubleBuffered_; }
    void setDoubleBuffered(bool on) { doubleBuffered_ = on; }

    int count() const;
    void addItem(const std::string& text);
    void clear();
    std::string item(int index) const;
    std::vector<std::string> items() const;

    // -1 for none. Setting it selects without raising OnClick; setting the current value does
    // nothing.
    int itemIndex() const;
    void setItemIndex(int index);
    int topIndex() const;
    RECT clientRect() const;
    RECT itemRect(int index) const;

    TCanvas& canvas() { return canvas_; }

    bool bindDrawItem(const std::string& event, TDrawItemEvent handler) override;
    bool bindMouseMove(const std::string& event, TMouseMoveEvent handler) override;

    TDrawItemEvent OnDrawItem;
    TMouseMoveEvent OnMouseMove;
    // Describes a row for screen readers; without it a row is named by its text.
    TAccessibleRowEvent OnAccessibleRow;

    // A list named by its accessible name, its rows list items; a row's default action selects
    // it and raises OnClick, as a click on it does.
    AccessibleElement accessibleSelf() override;
    std::vector<AccessibleElement> accessibleChildren() override;
    void accessibleAction(long child) override;
    bool knowsFocusAndSelection() const override { return true; }
    std::optional<long> accessibleFocus() override;
    std::optional<long> accessibleSelection() override;

    void command(WORD code) override;
    void drawItem(const DRAWITEMSTRUCT& dis) override;

  protected:
    bool subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) override;

  private:
    void create();

    TListBoxStyle style_ = TListBoxStyle::lbStandard;
    int designItemHeight_;
    int itemHeight_;
    bool doubleBuffered_ = false;
    TCanvas canvas_;
};

} // namespace tk
