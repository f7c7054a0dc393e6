#include "controls/button_input.h"

#include "text/utf.h"

#include <array>

namespace sc::controls {

std::optional<char32_t> acceleratorOf(const std::string& caption) {
    // Well-formed UTF-16: a high surrogate is always followed by its low one.
    const std::wstring units = text::toUtf16(caption);
    for (std::size_t i = 0; i + 1 < units.size(); ++i) {
        if (units[i] == L'&') {
            const auto next = static_cast<char32_t>(units[i + 1]);
            if (next >= 0xD800 && next <= 0xDBFF) {
                return 0x10000 + ((next - 0xD800) << 10) +
                       (static_cast<char32_t>(units[i + 2]) - 0xDC00);
            }
            if (next != U'&') {
                return next;
            }
            ++i; // "&&" is a literal ampersand
        }
    }
    return std::nullopt;
}

bool isAccelerator(char32_t typed, const std::string& caption) {
    std::optional<char32_t> key = acceleratorOf(caption);
    auto upper = [](char32_t c) { return c >= U'a' && c <= U'z' ? c - U'a' + U'A' : c; };
    return key && upper(*key) == upper(typed);
}

void ButtonInput::setShowPressed(bool on) {
    showPressed_ = on;
    host_.PressStateChanged();
}

void ButtonInput::setDown(bool value) {
    if (groupIndex_ == 0) {
        value = false;
    }
    if (value == down_ || (down_ && !allowAllUp_ && groupIndex_ != 0)) {
        return;
    }
    down_ = value;
    host_.invalidate();
    if (value) {
        host_.broadcastGroupNotice();
    }
}

void ButtonInput::setGroupIndex(int value) {
    if (value != groupIndex_) {
        groupIndex_ = value;
        if (groupIndex_ != 0) {
            host_.broadcastGroupNotice();
        }
    }
}

void ButtonInput::setAllowAllUp(bool value) {
    if (value != allowAllUp_) {
        allowAllUp_ = value;
        if (groupIndex_ != 0) {
            host_.broadcastGroupNotice();
        }
    }
}

void ButtonInput::groupNotice(bool senderDown, bool senderAllowAllUp) {
    if (senderDown && down_) {
        down_ = false;
        host_.invalidate();
    }
    allowAllUp_ = senderAllowAllUp;
}

bool ButtonInput::pointerEntered() {
    if (mouseOver_) {
        return false;
    }
    mouseOver_ = true;
    return true;
}

bool ButtonInput::pointerLeft() {
    if (!mouseOver_) {
        return false;
    }
    mouseOver_ = false;
    return true;
}

ButtonInput::Hover ButtonInput::pointerAt(int x, int y, int width, int height) {
    const bool inside = 0 <= x && x < width && 0 <= y && y < height;
    if (inside) {
        return pointerEntered() ? Hover::entered : Hover::unchanged;
    }
    return pointerLeft() ? Hover::left : Hover::unchanged;
}

void ButtonInput::leftButtonDown(bool enabled) {
    if (!enabled) {
        return;
    }
    if (host_.takeFocus()) {
        setShowPressed(true);
        mouseTracking_ = true;
    }
}

void ButtonInput::pointerMoved(int x, int y, int width, int height) {
    if (!mouseTracking_) {
        return;
    }
    bool inside = 0 <= x && x < width && 0 <= y && y < height;
    if (inside != showPressed_) {
        setShowPressed(inside);
    }
}

void ButtonInput::buttonUp(int x, int y, int width, int height) {
    if (!mouseTracking_) {
        return;
    }
    mouseTracking_ = false;
    showPressed_ = false;
    if (0 <= x && x < width && 0 <= y && y < height) {
        host_.pressed();
    }
    host_.PressStateChanged();
}

void ButtonInput::keyDown(unsigned key, bool alt) {
    if (key == kKeySpace && !alt) {
        spaceArmed_ = true;
        setShowPressed(true);
    }
}

void ButtonInput::keyUp(unsigned key) {
    if (key != kKeySpace) {
        return;
    }
    showPressed_ = false;
    if (spaceArmed_) {
        host_.pressed();
    }
    host_.PressStateChanged();
}

void ButtonInput::focusLost() {
    spaceArmed_ = false;
    showPressed_ = false;
    host_.PressStateChanged();
}

bool ButtonInput::dialogKey(unsigned key, Modifiers held, bool canFocus) {
    bool ours = (key == kKeyEnter && active_) || (key == kKeyEscape && cancel_);
    if (!ours || held.any() || !canFocus) {
        return false;
    }
    host_.click();
    return true;
}

bool ButtonInput::dialogChar(char32_t typed, const std::string& caption, bool canFocus) {
    if (!isAccelerator(typed, caption) || !canFocus) {
        return false;
    }
    host_.click();
    return true;
}

void ButtonInput::focusChanged(bool buttonFocused, bool thisFocused) {
    bool now = buttonFocused ? thisFocused : default_;
    if (now != active_) {
        active_ = now;
        host_.activeChanged();
    }
}

void ButtonInput::windowCreated() {
    active_ = default_;
}

void ButtonInput::completePress() {
    if (groupIndex_ != 0) {
        setDown(!down_);
    } else {
        host_.PressStateChanged();
    }
    struct ClearClicking {
        bool& flag;
        ~ClearClicking() { flag = false; }
    } guard{clicking_};
    clicking_ = true;
    host_.click();
}

const KindInfo& kindInfo(TBitBtnKind kind) {
    static const std::array<KindInfo, kKindCount> table{{
        {false, false, 0, ""},
        {true, false, 1, "OK"},
        {false, true, 2, "Cancel"},
        {false, false, 0, "&Help"},
        {true, false, 6, "&Yes"},
        {false, true, 7, "&No"},
        {false, false, 0, "&Close"},
        {false, false, 3, "Abort"},
        {false, false, 4, "&Retry"},
        {false, false, 5, "&Ignore"},
        {false, false, 8, "&All"},
    }};
    int i = static_cast<int>(kind);
    return table[static_cast<std::size_t>(i >= 0 && i < kKindCount ? i : 0)];
}

TBitBtnKind readKind(TBitBtnKind stored, bool isDefault, bool cancel, int modalResult,
                     bool modifiedGlyph) {
    if (stored == bkCustom) {
        return bkCustom;
    }
    const KindInfo& k = kindInfo(stored);
    if (isDefault != k.isDefault || cancel != k.cancel || modalResult != k.modalResult ||
        modifiedGlyph) {
        return bkCustom;
    }
    return stored;
}

bool isStored(StoredProperty property, TBitBtnKind kind, const std::string& caption) {
    if (property == StoredProperty::caption) {
        return caption != kindInfo(kind).caption;
    }
    return kind == bkCustom;
}

} // namespace sc::controls
