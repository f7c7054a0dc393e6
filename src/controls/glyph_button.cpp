#include "controls/glyph_button.h"

#include "controls/button_drawing_win32.h"
#include "controls/theme_services.h"
#include "toolkit/application.h"
#include "toolkit/button.h"
#include "toolkit/form.h"
#include "toolkit/panel.h"
#include "toolkit/window_text.h"

#include "text/utf.h"

#include <uxtheme.h>
#include <vssym32.h>
#include <windowsx.h>

namespace sc::controls {

namespace {

constexpr const wchar_t* kWindowClass = L"TGlyphButton";

// The button's own window class: no double-click messages (they arrive as presses), no
// background brush (the paint covers everything).
const wchar_t* windowClass() {
    static bool registered = false;
    if (!registered) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = DefWindowProcW;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        wc.lpszClassName = kWindowClass;
        if (!RegisterClassExW(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS) {
            throw std::runtime_error("Error registering window class TGlyphButton");
        }
        registered = true;
        useSystemColours();
    }
    return kWindowClass;
}

} // namespace

bool fullColorDisplay() {
    static const bool full = [] {
        HDC screen = GetDC(nullptr);
        int colours = GetDeviceCaps(screen, NUMCOLORS);
        ReleaseDC(nullptr, screen);
        return colours == -1;
    }();
    return full;
}

// ---------------------------------------------------------------------------------------------
// TCustomGlyphButton

TCustomGlyphButton::TCustomGlyphButton(tk::TForm& form, const tk::ControlDefinition& definition,
                                       int id)
    : TWinControl(form, definition, id), canvas_(form.fonts()), caption_(definition.caption) {
    // In the tab order unless told otherwise.
    createWindow(windowClass(), WS_VISIBLE | WS_CLIPSIBLINGS | WS_TABSTOP, 0, caption_);
}

TCustomGlyphButton::~TCustomGlyphButton() {
    destroyWindow();
}

void TCustomGlyphButton::updateWindowText() {
    tk::setWindowText(handle(), caption_);
}

void TCustomGlyphButton::setCaption(const std::string& value) {
    if (value != caption_) {
        caption_ = value;
        updateWindowText();
        repaint();
    }
}

void TCustomGlyphButton::setTabStop(bool value) {
    if (value == tabStop_) {
        return;
    }
    tabStop_ = value;
    LONG_PTR style = GetWindowLongPtrW(handle(), GWL_STYLE);
    SetWindowLongPtrW(handle(), GWL_STYLE, value ? style | WS_TABSTOP : style & ~WS_TABSTOP);
}

bool TCustomGlyphButton::bindNotify(const std::string& event, tk::TNotifyEvent handler) {
    if (event == "OnMouseEnter") {
        OnMouseEnter = std::move(handler);
        return true;
    }
    if (event == "OnMouseLeave") {
        OnMouseLeave = std::move(handler);
        return true;
    }
    return TWinControl::bindNotify(event, std::move(handler));
}

Colour TCustomGlyphButton::parentColour() const {
    // Containers whose colour is clNone take their own parent's.
    for (tk::TWinControl* p = parent(); p; p = p->parent()) {
        if (auto* container = dynamic_cast<tk::TContainer*>(p)) {
            if (container->colour() != tk::clNone) {
                return container->colour();
            }
        } else if (auto* button = dynamic_cast<TGlyphButton*>(p)) {
            return button->color();
        }
    }
    return form().colour() != tk::clNone ? form().colour() : kBtnFace;
}

bool TCustomGlyphButton::parentNeedsRefresh() const {
    tk::TWinControl* p = parent();
    return p && !dynamic_cast<tk::TContainer*>(p) && !dynamic_cast<TCustomGlyphButton*>(p);
}

void TCustomGlyphButton::setHint(const std::string& value) {
    hint_ = value;
}

void TCustomGlyphButton::setEnabled(bool value) {
    if (value == enabled_) {
        return;
    }
    enabled_ = value;
    if (!value && focused()) {
        SetFocus(form().handle());
    }
    EnableWindow(handle(), value);
    invalidateAll();
}

#define SC_LOOK_WRITER(Class, setter, member, Type)                                                \
    void Class::setter(Type value) {                                                               \
        if (value != member) {                                                                     \
            member = value;                                                                        \
            invalidateAll();                                                                       \
        }                                                                                          \
    }

SC_LOOK_WRITER(TCustomGlyphButton, setAlignmentVertical, alignmentVertical_, TAlignmentVertical)
SC_LOOK_WRITER(TCustomGlyphButton, setHotTrack, hotTrack_, bool)
SC_LOOK_WRITER(TCustomGlyphButton, setHighlightColor, highlightColor_, Colour)
SC_LOOK_WRITER(TCustomGlyphButton, setLightTextStyle, lightTextStyle_, bool)
SC_LOOK_WRITER(TCustomGlyphButton, setTextStyle, textStyle_, TTextStyle)
SC_LOOK_WRITER(TCustomGlyphButton, setTextHighlightColor, textHighlightColor_, Colour)
SC_LOOK_WRITER(TCustomGlyphButton, setTextShadowColor, textShadowColor_, Colour)
SC_LOOK_WRITER(TCustomGlyphButton, setTextShadowDepth, textShadowDepth_, int)
SC_LOOK_WRITER(TCustomGlyphButton, setThemeAware, themeAware_, bool)
SC_LOOK_WRITER(TCustomGlyphButton, setPaintParentCorners, paintParentCorners_, bool)

void TCustomGlyphButton::invalidateAll(bool erase) {
    if (handle()) {
        InvalidateRect(handle(), nullptr, erase);
    }
}

bool TCustomGlyphButton::UseThemes() {
    // In a contrast theme the button draws itself in the system colours.
    return themeAware_ && !themeFallback_ && !contrastTheme() && themeServices().themesInUse();
}

bool TCustomGlyphButton::contrastTheme() const {
    return tk::Application().display().highContrast();
}

void TCustomGlyphButton::FocusStateChanged() {
    repaint();
}

Rect TCustomGlyphButton::GetHotTrackRect() {
    return {0, 0, width(), height()};
}

bool TCustomGlyphButton::canFocus() const {
    for (HWND w = handle(); w; w = GetParent(w)) {
        if (!IsWindowVisible(w) || !IsWindowEnabled(w)) {
            return false;
        }
    }
    return enabled_;
}

bool TCustomGlyphButton::takeFocus() {
    setFocus();
    return focused();
}

void TCustomGlyphButton::click() {
    this->TControl::click();
}

void TCustomGlyphButton::PaintTransparentBackground(HDC) {}

void TCustomGlyphButton::paintTo(HDC dc) {
    // The erase step, then the paint.
    if (paintParentCorners_) {
        PaintTransparentBackground(dc);
    } else {
        DcSurface(dc).fillRect({0, 0, width(), height()}, resolveColour(faceColour()));
    }
    canvas_.setHandle(dc);
    int saved = SaveDC(dc);
    struct Restore {
        HDC dc;
        int saved;
        tk::TCanvas& canvas;
        bool& fallback;
        ~Restore() {
            RestoreDC(dc, saved);
            canvas.setHandle(nullptr);
            fallback = false;
        }
    } restore{dc, saved, canvas_, themeFallback_};
    Paint();
}

void TCustomGlyphButton::DrawCaption(tk::TCanvas& canvas, const Rect& rect, UINT flags) {
    HDC dc = canvas.handle();
    SetBkMode(dc, TRANSPARENT);
    tk::FontSpec font = this->font();
    canvas.setFont(font);
    SelectObject(dc, form().fonts().get(font));
    RECT measure = toRECT(rect);
    const std::wstring caption = sc::text::toUtf16(caption_);
    int h = DrawTextW(dc, caption.c_str(), -1, &measure,
                      DT_CALCRECT | DT_EXPANDTABS | DT_WORDBREAK | DT_VCENTER | DT_CENTER);
    RECT t = toRECT(textRect(rect, h, alignmentVertical_));
    if (GetWindowLongW(handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) {
        flags |= DT_RTLREADING;
    }
    auto drawAt = [&](int dx, int dy, Colour colour) {
        RECT moved{t.left + dx, t.top + dy, t.right + dx, t.bottom + dy};
        SetTextColor(dc, resolveColour(colour));
        DrawTextW(dc, caption.c_str(), -1, &moved, flags);
    };
    Colour text = contrastTheme() ? kBtnText : font.colour;
    if (enabled_) {
        if (textStyle_ == tsRaised || textStyle_ == tsRecessed) {
            Colour first = textStyle_ == tsRaised ? textShadowColor_ : textHighlightColor_;
            Colour second = textStyle_ == tsRaised ? textHighlightColor_ : textShadowColor_;
            if (textStyle_ == tsRecessed || !lightTextStyle_) {
                drawAt(1, 1, first);
            }
            if (textStyle_ == tsRaised || !lightTextStyle_) {
                drawAt(-1, -1, second);
            }
        } else if (textStyle_ == tsShadow) {
            drawAt(flags & DT_RIGHT ? 0 : textShadowDepth_, textShadowDepth_, textShadowColor_);
        }
        if (flags & DT_RIGHT) {
            t.left -= textShadowDepth_;
            t.right -= textShadowDepth_;
        }
    } else {
        text = NearColors(faceColour(), kGrayText) ? k3DDkShadow : kGrayText;
    }
    drawAt(0, 0, text);
    SetBkMode(dc, OPAQUE);
}

void TCustomGlyphButton::mouseMove(int x, int y) {
    // A hit test: a captured pointer also reports moves outside the button.
    ButtonInput::Hover change = input_.pointerAt(x, y, width(), height());
    if (change == ButtonInput::Hover::entered) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, handle(), 0};
        TrackMouseEvent(&track);
    }
    hoverChanged(change);
    input_.pointerMoved(x, y, width(), height());
}

void TCustomGlyphButton::hoverChanged(ButtonInput::Hover change) {
    if (change == ButtonInput::Hover::unchanged) {
        return;
    }
    tk::TNotifyEvent& event = change == ButtonInput::Hover::entered ? OnMouseEnter : OnMouseLeave;
    if (event) {
        event(*this);
    }
    if (UseThemes() || hotTrack_) {
        RECT r = toRECT(GetHotTrackRect());
        InvalidateRect(handle(), &r, FALSE);
    }
}

bool TCustomGlyphButton::subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_PAINT: {
        PAINTSTRUCT ps;
        HDC dc = BeginPaint(handle(), &ps);
        {
            tk::OffscreenBuffer buffer(dc, width(), height());
            paintTo(buffer.dc());
            buffer.copyTo(dc);
        }
        EndPaint(handle(), &ps);
        result = 0;
        return true;
    }
    case WM_PRINTCLIENT:
        paintTo(reinterpret_cast<HDC>(wp));
        result = 0;
        return true;
    case WM_ERASEBKGND:
        result = 1; // the paint erases into its own buffer
        return true;
    case WM_LBUTTONDOWN:
        input_.leftButtonDown(enabled_);
        if (input_.mouseTracking()) {
            SetCapture(handle());
        }
        result = 0;
        return true;
    case WM_MOUSEMOVE:
        mouseMove(GET_X_LPARAM(lp), GET_Y_LPARAM(lp));
        return false;
    case WM_MOUSELEAVE:
        hoverChanged(input_.pointerLeft() ? ButtonInput::Hover::left
                                          : ButtonInput::Hover::unchanged);
        return false;
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP:
        if (input_.mouseTracking()) {
            struct Release {
                ~Release() { ReleaseCapture(); }
            } release;
            input_.buttonUp(GET_X_LPARAM(lp), GET_Y_LPARAM(lp), width(), height());
        }
        return false;
    case WM_CAPTURECHANGED:
        // Another window took the pointer while the button was held: released outside.
        if (input_.mouseTracking() && reinterpret_cast<HWND>(lp) != handle()) {
            input_.buttonUp(-1, -1, width(), height());
        }
        return false;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
        result = defaultProc(msg, wp, lp);
        FocusStateChanged();
        return true;
    case BM_CLICK: // a click asked for by a program: the mouse's press and release
        if (enabled_) {
            SendMessageW(handle(), WM_LBUTTONDOWN, MK_LBUTTON, 0);
            SendMessageW(handle(), WM_LBUTTONUP, 0, 0);
        }
        result = 0;
        return true;
    case WM_THEMECHANGED:
        invalidateAll();
        return false;
    case WM_GETOBJECT:
        if (static_cast<LONG>(lp) == OBJID_CLIENT) {
            result = accessibleObject(wp, lp);
            if (result) {
                return true;
            }
        }
        return false;
    case tk::kFocusChanged: {
        auto* focused = reinterpret_cast<tk::TControl*>(lp);
        bool button = dynamic_cast<TCustomGlyphButton*>(focused) != nullptr ||
                      dynamic_cast<tk::TButton*>(focused) != nullptr;
        input_.focusChanged(button, focused == this);
        result = 0;
        return true;
    }
    default:
        return false;
    }
}

// ---------------------------------------------------------------------------------------------
// TGlyphButton

TGlyphButton::TGlyphButton(tk::TForm& form, const tk::ControlDefinition& definition, int id)
    : TCustomGlyphButton(form, definition, id) {
    input_.windowCreated();
}

SC_LOOK_WRITER(TGlyphButton, setColor, color_, Colour)
SC_LOOK_WRITER(TGlyphButton, setAlignment, alignment_, TAlignment)
SC_LOOK_WRITER(TGlyphButton, setFrameColor, frameColor_, Colour)
SC_LOOK_WRITER(TGlyphButton, setShowDownPattern, showDownPattern_, bool)
SC_LOOK_WRITER(TGlyphButton, setShowFocusRect, showFocusRect_, bool)

void TGlyphButton::setHotTrack(bool value) {
    TCustomGlyphButton::setHotTrack(value);
    setPaintParentCorners(value);
    invalidateAll(true);
}

void TGlyphButton::setDefault(bool value) {
    input_.setDefault(value);
    if (handle()) {
        SendMessageW(form().handle(), tk::kFocusChanged, 0,
                     reinterpret_cast<LPARAM>(form().activeControl()));
    }
}

void TGlyphButton::click() {
    form().setModalResult(modalResult_);
    TCustomGlyphButton::click();
}

void TGlyphButton::broadcastGroupNotice() {
    if (groupIndex() == 0) {
        return;
    }
    // Only the buttons beside this one: a group lives within one parent.
    for (const auto& c : form().controls()) {
        if (c->parent() == parent() && c->handle()) {
            SendMessageW(c->handle(), kGroupNotice, static_cast<WPARAM>(groupIndex()),
                         reinterpret_cast<LPARAM>(this));
        }
    }
}

bool TGlyphButton::subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
    switch (msg) {
    case WM_KEYDOWN:
        if (enabled()) {
            input_.keyDown(static_cast<unsigned>(wp), GetKeyState(VK_MENU) < 0);
        }
        return false;
    case WM_KEYUP:
        input_.keyUp(static_cast<unsigned>(wp));
        return false;
    case WM_KILLFOCUS:
        TCustomGlyphButton::subclassMessage(msg, wp, lp, result);
        input_.focusLost();
        return true;
    case tk::kDialogKey: {
        Modifiers held{GetKeyState(VK_SHIFT) < 0, GetKeyState(VK_CONTROL) < 0,
                       GetKeyState(VK_MENU) < 0};
        result = input_.dialogKey(static_cast<unsigned>(wp), held, canFocus()) ? 1 : 0;
        return true;
    }
    case tk::kDialogChar:
        result = input_.dialogChar(static_cast<char32_t>(wp), caption(), canFocus()) ? 1 : 0;
        return true;
    case kGroupNotice: {
        auto* sender = reinterpret_cast<TGlyphButton*>(lp);
        if (sender != this && static_cast<int>(wp) == groupIndex() && groupIndex() != 0) {
            input_.groupNotice(sender->down(), sender->allowAllUp());
        }
        result = 0;
        return true;
    }
    default:
        return TCustomGlyphButton::subclassMessage(msg, wp, lp, result);
    }
}

void TGlyphButton::PaintTransparentBackground(HDC dc) {
    // The parent's image shows only at the corners the rounded frame leaves free.
    const Rect client{0, 0, width(), height()};
    int saved = SaveDC(dc);
    for (const Rect& r : parentCornerExclusions(client, enabled())) {
        ExcludeClipRect(dc, r.left, r.top, r.right, r.bottom);
    }
    PaintParentImage(handle(), dc, parentNeedsRefresh());
    RestoreDC(dc, saved);
}

ButtonGeometry TGlyphButton::geometry() {
    ButtonGeometry g;
    g.width = width();
    g.height = height();
    g.hotTrack = hotTrack();
    g.useThemes = UseThemes();
    g.showPressed = input_.showPressed();
    g.grouped = groupIndex() != 0;
    g.down = downLook();
    g.rightToLeft = (GetWindowLongW(handle(), GWL_EXSTYLE) & WS_EX_RTLREADING) != 0;
    return g;
}

Rect TGlyphButton::GetCaptionRect() {
    return plainCaptionRect(geometry());
}

void TGlyphButton::PaintContent() {
    UINT align = alignment_ == taLeftJustify    ? DT_LEFT
                 : alignment_ == taRightJustify ? DT_RIGHT
                                                : DT_CENTER;
    if (geometry().rightToLeft && align != DT_CENTER) {
        align = align == DT_LEFT ? DT_RIGHT : DT_LEFT;
    }
    DrawCaption(canvas(), GetCaptionRect(), align | DT_WORDBREAK | DT_EXPANDTABS);
}

void TGlyphButton::BuildDownPattern(tk::UniqueBitmap& bitmap) {
    auto pattern = downPattern(color_);
    std::array<COLORREF, 64> pixels{};
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        Colour c = pattern[i];
        // Device-independent rows are blue, green, red.
        pixels[i] = ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
    }
    bitmap.reset(tk::live::CreateBitmap(8, 8, 1, 32, pixels.data()));
}

void TGlyphButton::Paint() {
    HDC dc = canvas().handle();
    DcSurface surface(dc);
    const Rect client{0, 0, width(), height()};
    Rect r = client;
    bool focusedNow = focused();
    const bool contrast = contrastTheme();
    Look look = chooseLook(UseThemes(), hotTrack() && !contrast);
    if (look == Look::themed) {
        ThemedStateInput in;
        in.enabled = enabled();
        in.down = downLook();
        in.showPressed = input_.showPressed();
        in.mouseOver = input_.mouseOver();
        in.grouped = groupIndex() != 0;
        in.active = input_.active();
        in.focused = focusedNow;
        RECT rect = toRECT(client);
        if (!themeServices().drawPart(handle(), dc, L"BUTTON", BP_PUSHBUTTON, themedState(in),
                                      rect)) {
            // No theme data to draw with: this paint takes the classic look.
            themeFallback_ = true;
            look = chooseLook(false, hotTrack());
        }
    }
    if (look == Look::classic) {
        ClassicLook c;
        c.defaultFrame =
            groupIndex() == 0 &&
            (((input_.active() || focusedNow) && !input_.showPressed()) || input_.clicking());
        c.color = color_;
        c.grouped = groupIndex() != 0;
        c.sunken = downLook() || input_.showPressed();
        c.pressed = input_.showPressed();
        c.contrast = contrast;
        r = paintClassicLook(surface, client, c);
    } else if (look == Look::hotTrack) {
        HotTrackLook h;
        h.enabled = enabled();
        h.parentColor = parentColour();
        h.color = color_;
        h.frameColor = frameColor_;
        h.sunken = downLook() || input_.showPressed();
        h.fullColorDisplay = fullColorDisplay();
        if (input_.mouseOver()) {
            h.ring = HotTrackLook::Ring::hot;
        } else if (groupIndex() == 0 && (input_.active() || focusedNow)) {
            h.ring = HotTrackLook::Ring::highlight;
        }
        h.hotTrackColor = hotTrackColor();
        h.complementRing = hotTrackColorType() == htctComplement;
        h.highlightColor = highlightColor();
        r = paintHotTrackLook(surface, client, h);
    }
    if (downLook() && showDownPattern_ && !contrast) {
        tk::UniqueBitmap pattern;
        BuildDownPattern(pattern);
        tk::UniqueBrush brush(tk::live::CreatePatternBrush(pattern.get()));
        RECT face = toRECT(r);
        FillRect(dc, &face, brush.get());
    }
    canvas().setFont(font());
    canvas().setBrushColor(color_);
    PaintContent();
    if (focusedNow && showFocusRect_) {
        DrawDottedFocus(surface, focusRect(geometry()), contrast ? kBtnText : kBlack);
    }
}

} // namespace sc::controls
