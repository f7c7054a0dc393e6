#include "toolkit/menu.h"

#include "toolkit/handles.h"

#include "text/utf.h"

namespace tk {

TPopupMenu::TPopupMenu(const PopupMenuDefinition& definition) : name_(definition.name) {
    for (const MenuItemDefinition& item : definition.items) {
        items_.push_back(std::make_unique<TMenuItem>(item));
    }
}

TMenuItem* TPopupMenu::find(const std::string& itemName) {
    for (auto& item : items_) {
        if (item->name() == itemName) {
            return item.get();
        }
    }
    return nullptr;
}

void TPopupMenu::popup(HWND owner, int x, int y) {
    UniqueMenu menu(live::CreatePopupMenu());
    for (std::size_t i = 0; i < items_.size(); ++i) {
        AppendMenuW(menu.get(), MF_STRING, i + 1, sc::text::toUtf16(items_[i]->caption()).c_str());
    }
    // The owner must be in the foreground, or the menu does not close when the user clicks
    // elsewhere.
    SetForegroundWindow(owner);
    UINT chosen = static_cast<UINT>(
        TrackPopupMenu(menu.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, x,
                       y, 0, owner, nullptr));
    PostMessageW(owner, WM_NULL, 0, 0);
    if (chosen >= 1 && chosen <= items_.size()) {
        items_[chosen - 1]->click();
    }
}

} // namespace tk
