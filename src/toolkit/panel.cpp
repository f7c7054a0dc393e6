#include "toolkit/panel.h"

#include "toolkit/application.h"
#include "toolkit/form.h"
#include "toolkit/handles.h"

#include <oleacc.h>
#include "text/utf.h"

namespace tk {

namespace {

constexpr const wchar_t* kContainerClass = L"TkContainer";

void registerContainerClass() {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExW(instance, kContainerClass, &existing)) {
        return;
    }
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    // The second press of a double click arrives as one: it is no second click.
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kContainerClass;
    if (!RegisterClassExW(&wc)) {
        throw std::runtime_error("Error registering window class TkContainer");
    }
}

void fill(HDC dc, const RECT& r, TColor colour) {
    UniqueBrush brush(live::CreateSolidBrush(ColorToRGB(colour)));
    FillRect(dc, &r, brush.get());
}

// Lines of `width` pixels along the edges: top and left in one colour, bottom and right in the
// other; the rectangle shrinks by the width.
void frame3D(HDC dc, RECT& r, TColor topLeft, TColor bottomRight, int width) {
    for (int i = 0; i < width && r.right - r.left > 1 && r.bottom - r.top > 1; ++i) {
        fill(dc, RECT{r.left, r.top, r.right - 1, r.top + 1}, topLeft);
        fill(dc, RECT{r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
        fill(dc, RECT{r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
        fill(dc, RECT{r.right - 1, r.top, r.right, r.bottom}, bottomRight);
        InflateRect(&r, -1, -1);
    }
}

void bevel(HDC dc, RECT& r, PanelBevel kind) {
    if (kind == PanelBevel::bvRaised) {
        frame3D(dc, r, clBtnHighlight, clBtnShadow, 1);
    } else if (kind == PanelBevel::bvLowered) {
        frame3D(dc, r, clBtnShadow, clBtnHighlight, 1);
    }
}

} // namespace

TContainer::TContainer(TForm& form, const ControlDefinition& definition, int id)
    : TWinControl(form, definition, id),
      colour_(definition.colour == clNone ? clBtnFace : definition.colour),
      contrastColour_(definition.contrastColour) {}

TColor TContainer::colour() const {
    return contrastColour_ != clNone && Application().display().highContrast() ? contrastColour_
                                                                               : colour_;
}

void TContainer::createContainer(bool visible) {
    registerContainerClass();
    createWindow(kContainerClass, WS_CLIPCHILDREN | WS_CLIPSIBLINGS | (visible ? WS_VISIBLE : 0),
                 WS_EX_CONTROLPARENT, "");
}

std::vector<AccessibleElement> TContainer::accessibleChildren() {
    return form().accessibleElements(this);
}

void TContainer::accessibleAction(long child) {
    form().windowlessAction(this, child);
}

void TContainer::setColour(TColor colour) {
    if (colour != colour_) {
        colour_ = colour;
        InvalidateRect(handle(), nullptr, FALSE);
    }
}

void TContainer::paintSurface(HDC target) {
    RECT client{};
    GetClientRect(handle(), &client);
    // Painted off screen and copied at once: no flicker of the picture and labels.
    OffscreenBuffer buffer(target, client.right, client.bottom);
    fill(buffer.dc(), client, colour());
    paintFrame(buffer.dc(), client);
    form().paintWindowless(this, buffer.dc());
    buffer.copyTo(target);
}

bool TContainer::subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_ERASEBKGND:
        result = 1;
        return true;
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle(), &ps);
        paintSurface(dc);
        EndPaint(handle(), &ps);
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        paintSurface(reinterpret_cast<HDC>(wp));
        result = 0;
        return true;
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_DRAWITEM:
        return form().reflect(msg, wp, lp, result);
    case WM_GETOBJECT:
        result = accessibleObject(wp, lp);
        return result != 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_LBUTTONUP:
        result = 0;
        return form().windowlessMouse(this, handle(), msg, lp);
    case WM_SETCURSOR:
        result = TRUE;
        return reinterpret_cast<HWND>(wp) == handle() &&
               form().windowlessMouse(this, handle(), msg, lp);
    default:
        return false;
    }
}

TPanel::TPanel(TForm& form, const ControlDefinition& definition, int id)
    : TContainer(form, definition, id), bevelOuter_(definition.bevelOuter),
      bevelInner_(definition.bevelInner), borderWidth_(definition.borderWidth) {
    createContainer(true);
}

Bounds TPanel::alignRect() const {
    Bounds client = TContainer::alignRect();
    int inset = form().scaled(borderWidth_) + (bevelOuter_ != PanelBevel::bvNone ? 1 : 0) +
                (bevelInner_ != PanelBevel::bvNone ? 1 : 0);
    return Bounds{inset, inset, client.width - 2 * inset, client.height - 2 * inset};
}

void TPanel::paintFrame(HDC dc, const RECT& client) {
    RECT r = client;
    bevel(dc, r, bevelOuter_);
    frame3D(dc, r, colour(), colour(), form().scaled(borderWidth_));
    bevel(dc, r, bevelInner_);
}

TGroupBox::TGroupBox(TForm& form, const ControlDefinition& definition, int id)
    : TContainer(form, definition, id), caption_(definition.caption) {
    createContainer(true);
}

AccessibleElement TGroupBox::accessibleSelf() {
    AccessibleElement e;
    e.role = ROLE_SYSTEM_GROUPING;
    if (!caption_.empty()) {
        e.name = shownText(caption_, true);
    }
    return e;
}

void TGroupBox::paintFrame(HDC dc, const RECT& client) {
    SelectGuard font(dc, form().fonts().get(this->font()));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    RECT frame = client;
    frame.top += metrics.tmHeight / 2;
    DrawEdge(dc, &frame, EDGE_ETCHED, BF_RECT);
    if (!caption_.empty()) {
        const int inset = form().scaled(8);
        const int gap = form().scaled(2);
        RECT text{inset, 0, client.right - inset, metrics.tmHeight};
        const std::wstring caption = sc::text::toUtf16(caption_);
        DrawTextW(dc, caption.c_str(), -1, &text, DT_CALCRECT | DT_SINGLELINE);
        fill(dc, RECT{text.left - gap, text.top, text.right + gap, text.bottom}, colour());
        SetBkMode(dc, TRANSPARENT);
        SetTextColor(dc, ColorToRGB(this->font().colour));
        DrawTextW(dc, caption.c_str(), -1, &text, DT_SINGLELINE);
    }
}

} // namespace tk
