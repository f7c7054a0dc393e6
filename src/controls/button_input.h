// How a glyph button reacts to the pointer, the keyboard and its group, and the standard button
// kinds. The state machine decides; the window carries out through its ButtonHost.
#pragma once

#include <optional>
#include <string>

namespace sc::controls {

// What the state machine asks of the button's window.
class ButtonHost {
  public:
    virtual ~ButtonHost() = default;
    // Gives the button the keyboard focus; true if it then has it.
    virtual bool takeFocus() = 0;
    // The pressed look changed (the button's own virtual operation of that name).
    virtual void PressStateChanged() = 0;
    // The default-button look changed: repaint at once.
    virtual void activeChanged() = 0;
    // Down changed: repaint.
    virtual void invalidate() = 0;
    // Tells the other buttons of the parent about the group.
    virtual void broadcastGroupNotice() = 0;
    // Modal result to the form, then OnClick; may throw.
    virtual void click() = 0;
    // A press completed on the button (mouse released inside, or Space released).
    virtual void pressed() = 0;
};

inline constexpr unsigned kKeyEnter = 13;
inline constexpr unsigned kKeyEscape = 27;
inline constexpr unsigned kKeySpace = 32;

struct Modifiers {
    bool shift = false, ctrl = false, alt = false;
    bool any() const { return shift || ctrl || alt; }
};

// The accelerator of a caption (UTF-8): the character after a single "&", if any.
std::optional<char32_t> acceleratorOf(const std::string& caption);
// Whether a typed character is the caption's accelerator (the case of the letters a to z
// ignored). A character beyond U+FFFF arrives in two halves and is no accelerator.
bool isAccelerator(char32_t typed, const std::string& caption);

class ButtonInput {
  public:
    explicit ButtonInput(ButtonHost& host) : host_(host) {}

    // The state the painting reads.
    bool mouseTracking() const { return mouseTracking_; }
    bool mouseOver() const { return mouseOver_; }
    bool showPressed() const { return showPressed_; }
    bool clicking() const { return clicking_; }
    bool active() const { return active_; }
    bool spaceArmed() const { return spaceArmed_; }

    // Properties that steer the input.
    bool isDefault() const { return default_; }
    void setDefault(bool on) { default_ = on; }
    bool cancel() const { return cancel_; }
    void setCancel(bool on) { cancel_ = on; }
    int groupIndex() const { return groupIndex_; }
    bool down() const { return down_; }
    bool allowAllUp() const { return allowAllUp_; }
    // Writers with the group rules; each broadcasts the group notice where the rules say so.
    void setDown(bool value);
    void setGroupIndex(int value);
    void setAllowAllUp(bool value);
    // The group notice of another button with the same group index.
    void groupNotice(bool senderDown, bool senderAllowAllUp);
    // The group notice goes out (and is answered) only for grouped buttons.
    bool grouped() const { return groupIndex_ != 0; }

    // Pointer.
    // Returns whether it entered (false when already over it).
    bool pointerEntered();
    bool pointerLeft();
    // The pointer at (x, y) of a width x height client area, as a hit test: it enters only
    // inside and leaves outside (a captured pointer reports moves outside too).
    enum class Hover { unchanged, entered, left };
    Hover pointerAt(int x, int y, int width, int height);
    void leftButtonDown(bool enabled);
    void pointerMoved(int x, int y, int width, int height);
    void buttonUp(int x, int y, int width, int height);

    // Keyboard on the focused button.
    void keyDown(unsigned key, bool alt);
    void keyUp(unsigned key);
    void focusLost();

    // The form's dialog keys and characters; true when the button clicked and used the key.
    bool dialogKey(unsigned key, Modifiers held, bool canFocus);
    bool dialogChar(char32_t typed, const std::string& caption, bool canFocus);

    // The focused control changed: `buttonFocused` when it is a push button of any kind,
    // `thisFocused` when it is this one.
    void focusChanged(bool buttonFocused, bool thisFocused);
    // A new window starts with the default look when it is the default button.
    void windowCreated();

    // What a completed press does: toggles a grouped button, then clicks.
    void completePress();

  private:
    void setShowPressed(bool on);

    ButtonHost& host_;
    bool mouseTracking_ = false;
    bool mouseOver_ = false;
    bool showPressed_ = false;
    bool clicking_ = false;
    bool active_ = false;
    bool spaceArmed_ = false;
    bool default_ = false;
    bool cancel_ = false;
    int groupIndex_ = 0;
    bool down_ = false;
    bool allowAllUp_ = false;
};

// The standard button kinds.
enum TBitBtnKind {
    bkCustom,
    bkOK,
    bkCancel,
    bkHelp,
    bkYes,
    bkNo,
    bkClose,
    bkAbort,
    bkRetry,
    bkIgnore,
    bkAll
};
inline constexpr int kKindCount = 11;

struct KindInfo {
    bool isDefault = false;
    bool cancel = false;
    int modalResult = 0;
    const char* caption = "";
};
const KindInfo& kindInfo(TBitBtnKind kind);

// What Kind reads: bkCustom once the flags, the modal result or the glyph no longer match.
TBitBtnKind readKind(TBitBtnKind stored, bool isDefault, bool cancel, int modalResult,
                     bool modifiedGlyph);

// Whether form data would hold a property of a button whose Kind reads `kind`.
enum class StoredProperty { cancel, isDefault, glyph, modalResult, numGlyphs, caption };
bool isStored(StoredProperty property, TBitBtnKind kind, const std::string& caption);

} // namespace sc::controls
