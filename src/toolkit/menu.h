// Popup menus: a list of entries shown at a screen point; the chosen entry raises its OnClick.
#pragma once

#include "toolkit/control.h"

#include <memory>
#include <vector>

namespace tk {

class TMenuItem : public TObject {
  public:
    explicit TMenuItem(const MenuItemDefinition& definition)
        : name_(definition.name), caption_(definition.caption) {}

    const std::string& name() const override { return name_; }
    const std::string& caption() const { return caption_; }
    void setCaption(std::string caption) { caption_ = std::move(caption); }
    void click() {
        if (OnClick) {
            OnClick(*this);
        }
    }

    TNotifyEvent OnClick;

  private:
    std::string name_;
    std::string caption_;
};

class TPopupMenu : public TObject {
  public:
    explicit TPopupMenu(const PopupMenuDefinition& definition);

    const std::string& name() const override { return name_; }
    std::size_t count() const { return items_.size(); }
    TMenuItem& item(std::size_t i) { return *items_.at(i); }
    TMenuItem* find(const std::string& itemName);

    // Shows the menu with its top-left corner at the screen point (moved by the platform if it
    // would leave the screen), waits for the choice and raises the chosen entry's OnClick.
    void popup(HWND owner, int x, int y);

  private:
    std::string name_;
    std::vector<std::unique_ptr<TMenuItem>> items_;
};

} // namespace tk
