#include "toolkit/listbox.h"

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"

#include <oleacc.h>
#include "text/utf.h"

#include <windowsx.h>

namespace tk {

TListBox::TListBox(TForm& form, const ControlDefinition& definition, int id)
    : TWinControl(form, definition, id),
      style_(definition.ownerDrawFixed ? TListBoxStyle::lbOwnerDrawFixed
                                       : TListBoxStyle::lbStandard),
      designItemHeight_(definition.itemHeight), itemHeight_(form.scaled(definition.itemHeight)),
      canvas_(form.fonts()) {
    create();
}

void TListBox::create() {
    DWORD style = WS_VISIBLE | WS_VSCROLL | LBS_NOTIFY | LBS_HASSTRINGS | LBS_NOINTEGRALHEIGHT;
    if (tabOrder() >= 0) {
        style |= WS_TABSTOP;
    }
    if (style_ == TListBoxStyle::lbOwnerDrawFixed) {
        style |= LBS_OWNERDRAWFIXED;
    }
    createWindow(L"LISTBOX", style, WS_EX_CLIENTEDGE, "");
    SendMessageW(handle(), LB_SETITEMHEIGHT, 0, itemHeight_);
}

void TListBox::setStyle(TListBoxStyle style) {
    if (style == style_) {
        return;
    }
    std::vector<std::string> rows = items();
    int selected = itemIndex();
    bool hadFocus = focused();
    style_ = style;
    destroyWindow();
    create();
    form().orderTabs(); // the new window came last
    for (const std::string& row : rows) {
        addItem(row);
    }
    setItemIndex(selected);
    if (hadFocus) {
        setFocus();
    }
}

void TListBox::setItemHeight(int designHeight) {
    designItemHeight_ = designHeight;
    int height = form().scaled(designHeight);
    if (height == itemHeight_) {
        return;
    }
    itemHeight_ = height;
    SendMessageW(handle(), LB_SETITEMHEIGHT, 0, height);
    InvalidateRect(handle(), nullptr, TRUE);
}

void TListBox::applyDpi() {
    TWinControl::applyDpi();
    setItemHeight(designItemHeight_);
}

int TListBox::count() const {
    return static_cast<int>(SendMessageW(handle(), LB_GETCOUNT, 0, 0));
}

void TListBox::addItem(const std::string& text) {
    SendMessageW(handle(), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(sc::text::toUtf16(text).c_str()));
}

void TListBox::clear() {
    SendMessageW(handle(), LB_RESETCONTENT, 0, 0);
}

std::string TListBox::item(int index) const {
    LRESULT length = SendMessageW(handle(), LB_GETTEXTLEN, index, 0);
    if (length == LB_ERR) {
        return {};
    }
    std::wstring text(static_cast<std::size_t>(length) + 1, L'\0');
    LRESULT got = SendMessageW(handle(), LB_GETTEXT, index, reinterpret_cast<LPARAM>(text.data()));
    text.resize(got == LB_ERR ? 0 : static_cast<std::size_t>(got));
    return sc::text::toUtf8(text);
}

std::vector<std::string> TListBox::items() const {
    std::vector<std::string> rows;
    for (int i = 0, n = count(); i < n; ++i) {
        rows.push_back(item(i));
    }
    return rows;
}

int TListBox::itemIndex() const {
    return static_cast<int>(SendMessageW(handle(), LB_GETCURSEL, 0, 0));
}

void TListBox::setItemIndex(int index) {
    if (index != itemIndex()) {
        SendMessageW(handle(), LB_SETCURSEL, index, 0);
    }
}

int TListBox::topIndex() const {
    return static_cast<int>(SendMessageW(handle(), LB_GETTOPINDEX, 0, 0));
}

RECT TListBox::clientRect() const {
    RECT r{};
    GetClientRect(handle(), &r);
    return r;
}

RECT TListBox::itemRect(int index) const {
    RECT r{};
    SendMessageW(handle(), LB_GETITEMRECT, index, reinterpret_cast<LPARAM>(&r));
    return r;
}

bool TListBox::bindDrawItem(const std::string& event, TDrawItemEvent handler) {
    if (event != "OnDrawItem") {
        return false;
    }
    OnDrawItem = std::move(handler);
    return true;
}

bool TListBox::bindMouseMove(const std::string& event, TMouseMoveEvent handler) {
    if (event != "OnMouseMove") {
        return false;
    }
    OnMouseMove = std::move(handler);
    return true;
}

void TListBox::command(WORD code) {
    // A user selection: a click on a row (also the selected one) or a key that moves it.
    if (code == LBN_SELCHANGE) {
        click();
    }
}

void TListBox::drawItem(const DRAWITEMSTRUCT& dis) {
    canvas_.setHandle(dis.hDC);
    canvas_.setFont(font());
    canvas_.setBrushColor(clWindow);
    int index = static_cast<int>(dis.itemID);
    if (index >= 0 && (dis.itemState & ODS_SELECTED)) {
        canvas_.setBrushColor(clHighlight);
        canvas_.setFontColor(clHighlightText);
    }
    if (index >= 0 && OnDrawItem) {
        OnDrawItem(*this, index, dis.rcItem, dis.itemState);
    } else {
        canvas_.fillRect(dis.rcItem);
    }
    if (dis.itemState & ODS_FOCUS) {
        canvas_.drawFocusRect(dis.rcItem);
    }
    canvas_.setHandle(nullptr);
}

AccessibleElement TListBox::accessibleSelf() {
    AccessibleElement e;
    e.role = ROLE_SYSTEM_LIST;
    if (!accessibleName().empty()) {
        e.name = accessibleName();
    }
    e.state = STATE_SYSTEM_FOCUSABLE | (focused() ? STATE_SYSTEM_FOCUSED : 0);
    return e;
}

std::vector<AccessibleElement> TListBox::accessibleChildren() {
    const int selected = itemIndex();
    const int caret = static_cast<int>(SendMessageW(handle(), LB_GETCARETINDEX, 0, 0));
    const bool hasFocus = focused();
    const RECT client = clientRect();
    std::vector<AccessibleElement> rows;
    for (int i = 0, n = count(); i < n; ++i) {
        const std::string text = item(i);
        const TAccessibleRow row = OnAccessibleRow
                                       ? OnAccessibleRow(i, text)
                                       : TAccessibleRow{shownText(text, false), "", "Select"};
        AccessibleElement e;
        e.role = ROLE_SYSTEM_LISTITEM;
        e.name = row.name;
        e.description = row.description;
        e.defaultAction = row.action;
        e.state = STATE_SYSTEM_SELECTABLE | STATE_SYSTEM_FOCUSABLE;
        if (i == selected) {
            e.state |= STATE_SYSTEM_SELECTED;
        }
        if (hasFocus && i == caret) {
            e.state |= STATE_SYSTEM_FOCUSED;
        }
        RECT r = itemRect(i);
        RECT shown{};
        if (!IntersectRect(&shown, &r, &client)) {
            e.state |= STATE_SYSTEM_INVISIBLE | STATE_SYSTEM_OFFSCREEN;
        }
        MapWindowPoints(handle(), nullptr, reinterpret_cast<POINT*>(&r), 2);
        e.location = r;
        rows.push_back(std::move(e));
    }
    return rows;
}

void TListBox::accessibleAction(long child) {
    const int index = static_cast<int>(child) - 1;
    if (index >= 0 && index < count()) {
        setItemIndex(index);
        click();
    }
}

std::optional<long> TListBox::accessibleFocus() {
    if (!focused()) {
        return std::nullopt;
    }
    if (count() == 0) {
        return CHILDID_SELF;
    }
    return static_cast<long>(SendMessageW(handle(), LB_GETCARETINDEX, 0, 0)) + 1;
}

std::optional<long> TListBox::accessibleSelection() {
    const int selected = itemIndex();
    return selected < 0 ? std::nullopt : std::optional<long>(selected + 1);
}

bool TListBox::subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_GETOBJECT:
        result = accessibleObject(wp, lp);
        return result != 0;
    case WM_MOUSEMOVE:
        if (OnMouseMove) {
            OnMouseMove(*this, static_cast<unsigned>(wp), GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        }
        return false;
    case WM_ERASEBKGND:
        if (doubleBuffered_) {
            result = 1; // the buffered paint covers the whole client area
            return true;
        }
        return false;
    case WM_PAINT: {
        if (!doubleBuffered_ || wp != 0) {
            return false;
        }
        PaintErrorScope errors;
        PaintScope painting(handle());
        HDC dc = painting.dc();
        RECT client = clientRect();
        {
            OffscreenBuffer buffer(dc, client.right, client.bottom);
            UniqueBrush background(live::CreateSolidBrush(ColorToRGB(clWindow)));
            FillRect(buffer.dc(), &client, background.get());
            // The list paints its rows into the buffer when handed a context.
            defaultProc(WM_PAINT, reinterpret_cast<WPARAM>(buffer.dc()), 0);
            buffer.copyTo(dc);
        }
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

} // namespace tk
