// Forms: top-level windows built from a form definition, whose event bindings refer to the form
// class's handler methods.
#pragma once

#include "toolkit/button.h"
#include "toolkit/control.h"
#include "toolkit/form_definition.h"
#include "toolkit/listbox.h"
#include "toolkit/menu.h"

#include <memory>
#include <stdexcept>
#include <vector>

namespace tk {

// Modal results: what ShowModal returns.
inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;

// The form's client object for screen readers presents the windowless controls that lie on it
// and its child windows.
class TForm : public TObject, public AccessibleSource {
  public:
    // An owned form stays above its owner and has no task-bar button of its own.
    explicit TForm(TForm* owner = nullptr);
    ~TForm() override;
    TForm(const TForm&) = delete;
    TForm& operator=(const TForm&) = delete;

    const std::string& name() const override { return definition_.name; }
    HWND handle() const { return hwnd_; }
    // The form's font at its DPI, and as the definition gives it (96-DPI pixel height).
    FontSpec font() const { return scaledFont(definition_.font, dpi_); }
    const FontSpec& designFont() const { return definition_.font; }
    TColor colour() const { return definition_.colour; }
    FontCache& fonts() { return fonts_; }

    std::string caption() const;
    void setCaption(const std::string& caption);
    // The client size of the definition at the form's DPI.
    int clientWidth() const { return scaled(definition_.clientWidth); }
    int clientHeight() const { return scaled(definition_.clientHeight); }

    // The DPI the form is laid out for: the DPI of its window's monitor (the system DPI where
    // the platform has no per-monitor DPI; 96 where the program is not DPI-aware). Set when the
    // window is created and at every DPI change.
    int Dpi() const { return dpi_; }
    // A figure of the definition or of a painter's design (96-DPI pixels) at the form's DPI.
    int scaled(int designValue) const { return scaleToDpi(designValue, dpi_); }
    // Lays the form out again for `dpi` (the window having been moved to a monitor with that
    // DPI): the window takes `suggested` (screen coordinates; null: keeps its place) for its
    // position and the definition's client size at `dpi`; controls and fonts are scaled from the
    // definition, components get ScaleToDpi, everything is repainted. DPI values outside
    // [kMinDpi, kMaxDpi] are ignored.
    void changeDpi(int dpi, const RECT* suggested);
    bool doubleBuffered() const { return doubleBuffered_; }
    void setDoubleBuffered(bool on) { doubleBuffered_ = on; }

    // Makes the form visible: OnShow runs first, then the window appears and is painted.
    void show();
    bool visible() const { return IsWindowVisible(hwnd_) != FALSE; }
    // Closes the form; closing the application's main form ends the message loop, closing a
    // form shown modally ends its modal loop.
    void close();

    // Shows the form with its owner disabled and runs a message loop until the modal result is
    // set or the form is closed; then hides it and enables and activates the owner again.
    int ShowModal();
    TForm* owner() const { return owner_; }
    // The window's outer bounds (frame included) in screen coordinates; the opener moves it.
    Bounds outerBounds() const;
    void moveTo(int left, int top);
    // The form of a top-level window of this program; nullptr for any other window.
    static TForm* fromHandle(HWND window);

    // Windowless controls lying in `parent` (nullptr: the form itself): painting, the control
    // at a point, and the mouse messages of the parent's surface that concern them.
    void paintWindowless(const TWinControl* parent, HDC dc);
    TControl* windowlessAt(const TWinControl* parent, int x, int y) const;
    bool windowlessMouse(const TWinControl* parent, HWND surface, UINT msg, LPARAM lp);
    // Notifications a container window receives from its child windows, passed to their controls.
    bool reflect(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);
    // What screen readers find in `parent` (nullptr: the form itself), in definition order: its
    // windowless controls that have a role, and its child windows; and the default action of
    // one of them (numbered from 1), a click of a windowless control.
    std::vector<AccessibleElement> accessibleElements(const TWinControl* parent) const;
    void windowlessAction(const TWinControl* parent, long child);
    std::vector<AccessibleElement> accessibleChildren() override {
        return accessibleElements(nullptr);
    }
    void accessibleAction(long child) override { windowlessAction(nullptr, child); }

    TControl* findControl(const std::string& controlName) const;
    template <typename T> T& control(const std::string& controlName) const {
        if (auto* c = dynamic_cast<T*>(findControl(controlName))) {
            return *c;
        }
        throw std::logic_error("The form " + name() + " has no control " + controlName);
    }
    TComponent* findComponent(const std::string& componentName) const;
    template <typename T> T& component(const std::string& componentName) const {
        if (auto* c = dynamic_cast<T*>(findComponent(componentName))) {
            return *c;
        }
        throw std::logic_error("The form " + name() + " has no component " + componentName);
    }
    TPopupMenu& menu(const std::string& menuName) const;
    const std::vector<std::unique_ptr<TControl>>& controls() const { return controls_; }

    // The control whose window has the keyboard focus; null when none of the form's has it.
    TControl* activeControl() const;
    // Tells every windowed control that `focused` now has the focus (kFocusChanged).
    void focusChanged(TControl* focused);
    // Offers a dialog key or character to the controls in order until one uses it.
    bool dialogKey(WPARAM key, LPARAM keyData);
    bool dialogChar(WPARAM character, LPARAM keyData);

    // The window message handling; exceptions end here and go to the application's dialog.
    virtual LRESULT handleMessage(UINT msg, WPARAM wp, LPARAM lp);

    // The result a modal showing ends with: 0 while it runs; any other value ends it.
    // True while build() creates the components and controls from the definition and binds
    // their events (before OnCreate).
    bool loading() const { return loading_; }

    int modalResult() const { return modalResult_; }
    void setModalResult(int value) { modalResult_ = value; }

    TNotifyEvent OnCreate;
    TNotifyEvent OnShow;

    // Puts the child windows of each parent in tab order (the order of the windows is the tab
    // order); after the controls are created and after a control's window is recreated.
    // `inCreationOrder`: the windows stand in the order they were made in, the definition's.
    void orderTabs(bool inCreationOrder = false);

  protected:
    // Builds the window, its controls and menus from the definition, binds the events to the
    // handlers and runs OnCreate. A form class calls it at the end of its constructor.
    void build(FormDefinition definition);

  private:
    bool untabbedAfterTabbed(const TWinControl* parent) const;
    static LRESULT CALLBACK WindowProc(HWND, UINT, WPARAM, LPARAM);
    void createWindow();
    void sizeWindow(const RECT* suggested);
    SIZE outerSizeAt(int dpi) const;
    int acceptableDpi(int dpi) const;
    void createControls();
    void bindEvents(TObject& target, const std::vector<EventBinding>& events);
    bool bindEvent(TObject& target, const std::string& event, TNotifyEvent handler);
    bool bindEvent(TObject& target, const std::string& event, TDrawItemEvent handler);
    bool bindEvent(TObject& target, const std::string& event, TMouseMoveEvent handler);
    void paintSurface(HDC dc);
    std::vector<TControl*> accessibleControls(const TWinControl* parent) const;
    // The system's colours, theme or contrast setting changed: everything is painted anew.
    void displayChanged(UINT msg);
    void focusFirstControl();
    TControl* firstTabStop(const TWinControl* parent) const;
    TControl* controlOfWindow(HWND child) const;
    bool defaultButtonCommand(WORD command);

    TForm* owner_ = nullptr;
    TControl* pressed_ = nullptr; // windowless control under a pressed left button
    bool modal_ = false;
    FormDefinition definition_;
    HWND hwnd_ = nullptr;
    int dpi_ = kDesignDpi;
    FontCache fonts_;
    std::vector<std::unique_ptr<TComponent>> components_; // outlive the controls using them
    std::vector<std::unique_ptr<TControl>> controls_;
    std::vector<std::unique_ptr<TPopupMenu>> menus_;
    bool doubleBuffered_ = false;
    bool loading_ = false;
    int modalResult_ = 0;
    bool shown_ = false;
    bool destroying_ = false; // the controls are going: no notifications to them
    HWND lastFocus_ = nullptr;
};

} // namespace tk
