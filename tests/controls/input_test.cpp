// The glyph button's input state machine, its group rules and the button kinds.
#include "controls/button_input.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace sc::controls {
namespace {

struct RecordingHost : ButtonHost {
    bool focusGranted = true;
    bool failClick = false;
    int pressChanges = 0, activeChanges = 0, invalidations = 0, notices = 0, clicks = 0;
    bool clickingDuringClick = false;
    ButtonInput* input = nullptr;
    bool takeFocus() override { return focusGranted; }
    void PressStateChanged() override { ++pressChanges; }
    void activeChanged() override { ++activeChanges; }
    void invalidate() override { ++invalidations; }
    void broadcastGroupNotice() override { ++notices; }
    void pressed() override { input->completePress(); }
    void click() override {
        ++clicks;
        clickingDuringClick = input && input->clicking();
        if (failClick) {
            throw std::runtime_error("handler failed");
        }
    }
};

struct ButtonInputTest : ::testing::Test {
    RecordingHost host;
    ButtonInput input{host};
    void SetUp() override { host.input = &input; }
};

TEST_F(ButtonInputTest, MousePressDragOffAndBackAndRelease) {
    input.leftButtonDown(true);
    EXPECT_TRUE(input.showPressed());
    EXPECT_TRUE(input.mouseTracking());
    input.pointerMoved(81, 10, 81, 42); // off to the right
    EXPECT_FALSE(input.showPressed());
    input.pointerMoved(80, 41, 81, 42); // back on the last pixel
    EXPECT_TRUE(input.showPressed());
    input.buttonUp(40, 20, 81, 42);
    EXPECT_FALSE(input.showPressed());
    EXPECT_FALSE(input.mouseTracking());
    EXPECT_EQ(host.clicks, 1);
    EXPECT_TRUE(host.clickingDuringClick);
    EXPECT_FALSE(input.clicking());

    // The row just below the last client row is outside.
    input.leftButtonDown(true);
    input.buttonUp(40, 42, 81, 42);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(input.showPressed());
    // A release without a press, a disabled press and a refused focus click nothing.
    input.buttonUp(40, 20, 81, 42);
    input.leftButtonDown(false);
    host.focusGranted = false;
    input.leftButtonDown(true);
    EXPECT_FALSE(input.mouseTracking());
    input.buttonUp(40, 20, 81, 42);
    EXPECT_EQ(host.clicks, 1);
}

TEST_F(ButtonInputTest, SpaceArmsAndClicksOnRelease) {
    input.keyDown(kKeySpace, true); // Alt+Space is the system menu's
    EXPECT_FALSE(input.showPressed());
    input.keyUp(kKeySpace);
    EXPECT_EQ(host.clicks, 0);
    input.keyDown(kKeySpace, false);
    EXPECT_TRUE(input.showPressed());
    EXPECT_TRUE(input.spaceArmed());
    input.keyUp(kKeySpace);
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(input.showPressed());
    // Losing the focus disarms.
    input.focusLost();
    input.keyUp(kKeySpace);
    EXPECT_EQ(host.clicks, 1);
}

TEST_F(ButtonInputTest, ClickingIsClearedWhenTheHandlerFails) {
    host.failClick = true;
    input.leftButtonDown(true);
    EXPECT_THROW(input.buttonUp(1, 1, 10, 10), std::runtime_error);
    EXPECT_FALSE(input.clicking());
    EXPECT_FALSE(input.showPressed());
    EXPECT_FALSE(input.mouseTracking());
}

TEST_F(ButtonInputTest, EnterEscAndTheAccelerator) {
    // Enter goes to the active button only, and only without modifiers.
    EXPECT_FALSE(input.dialogKey(kKeyEnter, {}, true));
    input.focusChanged(true, true);
    EXPECT_TRUE(input.active());
    EXPECT_EQ(host.activeChanges, 1);
    EXPECT_FALSE(input.dialogKey(kKeyEnter, {false, true, false}, true));
    EXPECT_FALSE(input.dialogKey(kKeyEnter, {}, false));
    EXPECT_TRUE(input.dialogKey(kKeyEnter, {}, true));
    EXPECT_EQ(host.clicks, 1);
    EXPECT_FALSE(host.clickingDuringClick);
    // Another button focused: not active; a non-button focused: active when Default.
    input.focusChanged(true, false);
    EXPECT_FALSE(input.active());
    input.setDefault(true);
    input.focusChanged(false, false);
    EXPECT_TRUE(input.active());
    EXPECT_EQ(host.activeChanges, 3);
    // Esc for a Cancel button.
    EXPECT_FALSE(input.dialogKey(kKeyEscape, {}, true));
    input.setCancel(true);
    EXPECT_TRUE(input.dialogKey(kKeyEscape, {}, true));
    EXPECT_EQ(host.clicks, 2);

    EXPECT_TRUE(input.dialogChar('o', "&OK", true));
    EXPECT_TRUE(input.dialogChar('O', "&OK", true));
    EXPECT_FALSE(input.dialogChar('K', "&OK", true));
    EXPECT_FALSE(input.dialogChar('O', "&OK", false));
    EXPECT_FALSE(input.dialogChar('a', "R&&D", true));
    EXPECT_EQ(acceleratorOf("R&&D &Go"), 'G');
    EXPECT_EQ(acceleratorOf("Trailing&"), std::nullopt);
    // The character as the wide message loop delivers it, not a byte of it.
    EXPECT_TRUE(input.dialogChar(0xDC,
                                 "&\xC3\x9C"
                                 "ber",
                                 true));
    EXPECT_FALSE(input.dialogChar(0x141, "&All", true)); // its low byte is "A"
    EXPECT_EQ(host.clicks, 5);
}

TEST_F(ButtonInputTest, GroupRules) {
    input.setDown(true); // not grouped: Down stays False
    EXPECT_FALSE(input.down());
    EXPECT_EQ(host.notices, 0);
    input.setGroupIndex(1);
    EXPECT_EQ(host.notices, 1);
    input.setDown(true);
    EXPECT_TRUE(input.down());
    EXPECT_EQ(host.notices, 2);
    input.setDown(false); // the last down button of the group stays down
    EXPECT_TRUE(input.down());
    // A press toggles through the writer and still clicks.
    input.completePress();
    EXPECT_TRUE(input.down());
    EXPECT_EQ(host.clicks, 1);
    // Another member went down: this one goes up without a notice, and copies AllowAllUp.
    input.groupNotice(true, true);
    EXPECT_FALSE(input.down());
    EXPECT_TRUE(input.allowAllUp());
    EXPECT_EQ(host.notices, 2);
    input.setDown(true);
    input.setDown(false); // AllowAllUp lets it go up
    EXPECT_FALSE(input.down());
    input.groupNotice(false, false);
    EXPECT_FALSE(input.allowAllUp());
}

TEST(ButtonKinds, ReaderAndStoredProperties) {
    EXPECT_EQ(readKind(bkOK, true, false, 1, false), bkOK);
    EXPECT_EQ(readKind(bkOK, false, false, 1, false), bkCustom);
    EXPECT_EQ(readKind(bkOK, true, true, 1, false), bkCustom);
    EXPECT_EQ(readKind(bkOK, true, false, 2, false), bkCustom);
    EXPECT_EQ(readKind(bkOK, true, false, 1, true), bkCustom);
    EXPECT_EQ(readKind(bkCancel, false, true, 2, false), bkCancel);

    EXPECT_FALSE(isStored(StoredProperty::modalResult, bkOK, "OK"));
    EXPECT_TRUE(isStored(StoredProperty::glyph, bkCustom, ""));
    EXPECT_FALSE(isStored(StoredProperty::caption, bkOK, "OK"));
    EXPECT_TRUE(isStored(StoredProperty::caption, bkOK, "ok"));
    EXPECT_FALSE(isStored(StoredProperty::caption, bkCustom, ""));
    EXPECT_TRUE(isStored(StoredProperty::caption, bkCustom, "&OK"));
}

} // namespace
} // namespace sc::controls
