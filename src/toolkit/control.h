// Controls: the base of everything a form definition can hold.
#pragma once

#include "toolkit/accessibility.h"
#include "toolkit/canvas.h"
#include "toolkit/form_definition.h"

#include <windows.h>

#include <functional>
#include <string>
#include <string_view>
#include <utility>

namespace tk {

class TForm;
class TWinControl;

// Notifications the toolkit sends to the windowed controls of a form (message numbers).
// Dialog key: Enter or Esc that the focused control does not use; wParam the key. A control
// that answers nonzero has used it.
inline constexpr UINT kDialogKey = 0xB005;
// Dialog character: a typed character (Alt held or not) that may be an accelerator; wParam the
// character. Nonzero: used.
inline constexpr UINT kDialogChar = 0xB006;
// The focused control of the form changed; lParam the TControl* now focused (null: none of the
// form's controls). Sent to the form itself, it is passed on to all its controls.
inline constexpr UINT kFocusChanged = 0xB007;

// Base of the objects a form owns that have no window (image lists and the like).
class TComponent : public TObject {
  public:
    explicit TComponent(std::string name) : name_(std::move(name)) {}
    const std::string& name() const override { return name_; }
    // The owning form is now laid out for `dpi`: called after the form was created at a DPI
    // other than 96 and after every change of its DPI. Components with pictures or sizes of
    // their own bring them to that DPI; the default has nothing to do.
    virtual void ScaleToDpi(int /*dpi*/) {}

  private:
    std::string name_;
};

class TControl : public TObject {
  public:
    TControl(TForm& form, const ControlDefinition& definition);
    TControl(const TControl&) = delete;
    TControl& operator=(const TControl&) = delete;

    const std::string& name() const override { return name_; }
    TForm& form() const { return form_; }
    // The container control this one lies in; nullptr for the form itself.
    TWinControl* parent() const { return parent_; }
    // The window this control's bounds are relative to: the parent's, or the form's.
    HWND parentHandle() const;

    int left() const { return bounds_.left; }
    int top() const { return bounds_.top; }
    int width() const { return bounds_.width; }
    int height() const { return bounds_.height; }
    const Bounds& bounds() const { return bounds_; }
    void setBounds(const Bounds& b);
    Anchors anchors() const { return anchors_; }
    int tabOrder() const { return tabOrder_; }
    // The font at the form's DPI; its height scaled from the definition's.
    const FontSpec& font() const { return font_; }
    // Brings bounds and font to the form's current DPI, from the definition's 96-DPI figures.
    virtual void applyDpi();

    // The shape the pointer takes over this control while the screen cursor is the default.
    int cursor() const { return cursor_; }
    void setCursor(int shape) { cursor_ = shape; }
    // What screen readers call the control where its text does not name it (lists, pictures).
    const std::string& accessibleName() const { return accessibleName_; }
    void setAccessibleName(const std::string& name) { accessibleName_ = name; }
    // What screen readers are told of a control without a window (which its parent's object
    // presents); role 0, the default, leaves it out. Its default action is the click.
    virtual AccessibleElement accessibleElement() const { return {}; }

    // Native window of the control; none for controls drawn by their parent.
    virtual HWND handle() const { return nullptr; }
    // Drawing of windowless controls on the parent's surface.
    virtual void paint(HDC) {}
    // Notifications that the parent receives for this control.
    virtual void command(WORD /*code*/) {}
    virtual void drawItem(const DRAWITEMSTRUCT&) {}
    virtual bool notify(const NMHDR&, LRESULT& /*result*/) { return false; }
    // Windowless controls: asks the parent to paint this control's area again.
    void invalidate();
    // Raises OnClick, as a click of the mouse (or Enter on a button) does.
    virtual void click() {
        if (OnClick) {
            OnClick(*this);
        }
    }

    // Wires an event of the definition ("OnClick") to a handler; false if the control has no
    // such event.
    virtual bool bindNotify(const std::string& event, TNotifyEvent handler);
    virtual bool bindDrawItem(const std::string&, TDrawItemEvent) { return false; }
    virtual bool bindMouseMove(const std::string&, TMouseMoveEvent) { return false; }

    TNotifyEvent OnClick;

  protected:
    virtual void applyBounds() {}
    virtual void applyFont() {}

  private:
    Bounds scaledBounds() const;

    TForm& form_;
    TWinControl* parent_ = nullptr;
    std::string name_;
    Bounds designBounds_;
    FontSpec designFont_;
    bool alignClient_;
    Bounds bounds_;
    Anchors anchors_;
    int tabOrder_;
    FontSpec font_;
    int cursor_ = 0;
    std::string accessibleName_;
};

// A control with a native window, created as a child of the form. The toolkit subclasses it
// for the pointer's shape and for the control's own extra behaviour. Controls with more to tell
// screen readers than the platform's standard object of their window serve their own
// (accessibleObject), answered from their AccessibleSource.
class TWinControl : public TControl, public AccessibleSource {
  public:
    TWinControl(TForm& form, const ControlDefinition& definition, int id);
    ~TWinControl() override;

    HWND handle() const override { return hwnd_; }
    int id() const { return id_; }
    void setFocus();
    bool focused() const { return GetFocus() == hwnd_; }
    // Paints the invalid parts now instead of waiting for the message loop.
    void repaint();
    // The area that children aligned to fill it take: the client area, less frames.
    virtual Bounds alignRect() const;
    // The control of a window that the toolkit made, for screen readers; null for any other.
    static AccessibleSource* accessibleSourceOf(HWND window);

  protected:
    void createWindow(const wchar_t* windowClass, DWORD style, DWORD exStyle,
                      std::string_view text);
    void destroyWindow();
    void applyBounds() override;
    void applyFont() override;
    // Messages of the native control, before its own window procedure sees them; return true
    // with `result` set to stop them there.
    virtual bool subclassMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    LRESULT defaultProc(UINT msg, WPARAM wp, LPARAM lp);
    // The answer to WM_GETOBJECT with the control's own accessible object (0: none).
    LRESULT accessibleObject(WPARAM wp, LPARAM lp);

  private:
    static LRESULT CALLBACK SubclassProc(HWND, UINT, WPARAM, LPARAM);

    HWND hwnd_ = nullptr;
    // The native control's own procedure, which runs behind SubclassProc.
    WNDPROC nativeProc_ = nullptr;
    int id_;
};

} // namespace tk
