#include "toolkit/page_control.h"

#include "toolkit/form.h"

#include "text/utf.h"

#include <commctrl.h>
#include <oleacc.h>

#include <algorithm>

namespace tk {

TPageControl::TPageControl(TForm& form, const ControlDefinition& definition, int id)
    : TWinControl(form, definition, id), firstPage_(definition.activePage) {
    DWORD style = WS_VISIBLE | WS_CLIPCHILDREN | WS_CLIPSIBLINGS;
    if (definition.tabOrder >= 0) {
        style |= WS_TABSTOP;
    }
    createWindow(WC_TABCONTROLW, style, WS_EX_CONTROLPARENT, "");
}

Bounds TPageControl::pageBounds() const {
    RECT r{};
    GetClientRect(handle(), &r);
    SendMessageW(handle(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&r));
    return Bounds{r.left, r.top, r.right - r.left, r.bottom - r.top};
}

int TPageControl::activePageIndex() const {
    auto it = std::find(pages_.begin(), pages_.end(), active_);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

void TPageControl::addPage(TTabSheet& sheet, const std::string& caption) {
    TCITEMW item{};
    item.mask = TCIF_TEXT;
    std::wstring text = sc::text::toUtf16(caption);
    item.pszText = text.data();
    SendMessageW(handle(), TCM_INSERTITEMW, pages_.size(), reinterpret_cast<LPARAM>(&item));
    pages_.push_back(&sheet);
    // The tab row exists now: the page area is known.
    Bounds area = pageBounds();
    for (TTabSheet* p : pages_) {
        p->setBounds(area);
    }
    if (!active_ || sheet.name() == firstPage_) {
        setActivePage(sheet);
    }
}

void TPageControl::setActivePage(TTabSheet& sheet) {
    auto it = std::find(pages_.begin(), pages_.end(), &sheet);
    if (it == pages_.end()) {
        return;
    }
    active_ = &sheet;
    SendMessageW(handle(), TCM_SETCURSEL, static_cast<WPARAM>(it - pages_.begin()), 0);
    ShowWindow(sheet.handle(), SW_SHOW);
    for (TTabSheet* p : pages_) {
        if (p != &sheet) {
            ShowWindow(p->handle(), SW_HIDE);
        }
    }
}

bool TPageControl::notify(const NMHDR& header, LRESULT& result) {
    if (header.code == static_cast<UINT>(TCN_SELCHANGE)) {
        int index = static_cast<int>(SendMessageW(handle(), TCM_GETCURSEL, 0, 0));
        if (index >= 0 && index < pageCount()) {
            setActivePage(page(index));
        }
        result = 0;
        return true;
    }
    return false;
}

namespace {

TPageControl& pageControlOf(const TControl& sheet) {
    auto* pages = dynamic_cast<TPageControl*>(sheet.parent());
    if (!pages) {
        throw std::logic_error("The tab sheet " + sheet.name() + " lies in no page control");
    }
    return *pages;
}

} // namespace

TTabSheet::TTabSheet(TForm& form, const ControlDefinition& definition, int id)
    : TContainer(form, definition, id), pageControl_(pageControlOf(*this)),
      caption_(definition.caption) {
    setBounds(pageControl_.pageBounds());
    createContainer(false);
    pageControl_.addPage(*this, caption_);
}

AccessibleElement TTabSheet::accessibleSelf() {
    AccessibleElement e;
    e.role = ROLE_SYSTEM_PROPERTYPAGE;
    e.name = shownText(caption_, true);
    return e;
}

void TTabSheet::applyDpi() {
    TContainer::applyDpi();
    setBounds(pageControl_.pageBounds());
}

} // namespace tk
