// The desktop host's side of input, driven through FakeGlfw: key translation, the key, character and mouse
// callbacks reaching the input device, pad polling (rediscovery, layouts A and B, the hat counted from the
// end) and what the device sees of a key held while the window is re-opened.
#include <gtest/gtest.h>

#include <algorithm>
#include <utility>
#include <vector>

#include "framework/app/app.h"
#include "framework/input/input.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"

namespace {

// Runs the collector step the host would run after a callback, so released objects are really freed.
struct CollectAtEnd {
    ~CollectAtEnd() { gc_collect(); }
};

// Records every key event the host delivers, and passes it on to the input device.
class RecordingDelegate : public KpGameDelegate {
public:
    void KeyEvent(int event, int data) override {
        keys.emplace_back(event, data);
        device->p_KeyEvent(event, data);
    }
    void MouseEvent(int event, int data, float x, float y) override { device->p_MouseEvent(event, data, x, y); }

    std::vector<std::pair<int, int>> keys;
    StrongRef<c_InputDevice> device = MakeRef<c_InputDevice>();
};

class InputHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        host.SetDelegate(&delegate);
        host.StartGame();
        host.SetGlfwWindow(640, 480, 8, 8, 8, 0, 0, 0, false);
    }

    // Polls one unit into fresh arrays.
    bool Poll(int unit) {
        joyx = Array<float>(2), joyy = Array<float>(2), joyz = Array<float>(2), buttons = Array<bool>(32);
        return host.PollJoystick(unit, joyx, joyy, joyz, buttons);
    }
    FakePad& Pad(int joy, int axes, int buttonCount) {
        FakePad& pad = fake->pads[joy];
        pad.present = true;
        pad.axes.assign(size_t(axes), 0.0f);
        pad.buttons.assign(size_t(buttonCount), glfw2::RELEASE);
        return pad;
    }

    CollectAtEnd collect;  // first member, so it goes last
    ScopedFakeGlfw fake;
    KpGlfwGame host;
    RecordingDelegate delegate;
    Array<float> joyx, joyy, joyz;
    Array<bool> buttons;
};

TEST(TransKeyTest, KeysOutsideTheTableTranslateToNothing) {
    EXPECT_EQ(KpGlfwGame::TransKey(34), 222);
    EXPECT_EQ(KpGlfwGame::TransKey(glfw2::KEY_KP_DIVIDE), 111);
    const int dropped[] = {31, 'a', glfw2::KEY_F12 + 1, glfw2::KEY_LALT, glfw2::KEY_KP_EQUAL, glfw2::KEY_KP_ENTER, 400};
    for (int key : dropped) EXPECT_EQ(KpGlfwGame::TransKey(key), 0) << key;
    EXPECT_EQ(KpGlfwGame::KeyToChar(45), 45 | 0x10000);
    EXPECT_EQ(KpGlfwGame::KeyToChar(46), 127);
}

TEST_F(InputHostTest, HeldArrowKeyIsOneKeyDownAndAStreamOfCharacters) {
    for (int press = 0; press < 3; ++press) fake->PressKey(glfw2::KEY_LEFT);  // key repeat
    fake->charFun('q', glfw2::PRESS);
    fake->charFun('r', glfw2::RELEASE);
    c_InputDevice& device = *delegate.device;
    EXPECT_EQ(device.p_KeyHit(37), 1);
    for (int n = 0; n < 3; ++n) EXPECT_EQ(device.p_GetChar(), 37 | 0x10000);
    EXPECT_EQ(device.p_GetChar(), 'q');
    EXPECT_EQ(device.p_GetChar(), 0);
    fake->ReleaseKey(glfw2::KEY_LEFT);
    EXPECT_FALSE(device.p_KeyDown(37));
    fake->PressKey(glfw2::KEY_LALT);
    EXPECT_EQ(delegate.keys.back(), std::make_pair(int(KpEventKeyUp), 37));
}

TEST_F(InputHostTest, MouseButtonsCarryThePointerAndExtraButtonsAreIgnored) {
    fake->mouseX = 30, fake->mouseY = 40;
    fake->mouseButtonFun(3, glfw2::PRESS);
    fake->mouseButtonFun(2, glfw2::PRESS);
    c_InputDevice& device = *delegate.device;
    EXPECT_EQ(device.m_keyHitPut, 1);
    EXPECT_TRUE(device.p_KeyDown(3));
    EXPECT_FLOAT_EQ(device.p_MouseX(), 30.0f);
    fake->mousePosFun(70, 80);
    EXPECT_FLOAT_EQ(device.p_TouchY(0), 80.0f);
}

// The host's release reaches the device; the still-held key's repeat is then a fresh press.
TEST_F(InputHostTest, KeyHeldAcrossReopeningIsReleasedThenPressedAgainByRepeat) {
    fake->keysHeld[glfw2::KEY_UP] = true;
    fake->PressKey(glfw2::KEY_UP);
    host.SetGlfwWindow(1280, 1024, 8, 8, 8, 0, 0, 0, true);
    EXPECT_FALSE(delegate.device->p_KeyDown(38));
    fake->PressKey(glfw2::KEY_UP);
    EXPECT_TRUE(delegate.device->p_KeyDown(38));
    EXPECT_EQ(delegate.device->p_KeyHit(38), 2);
}

TEST_F(InputHostTest, UnitsAreRediscoveredOnUnitZeroOnly) {
    EXPECT_FALSE(Poll(0));  // no pad attached
    Pad(3, 6, 16);
    Pad(7, 6, 16);
    EXPECT_TRUE(Poll(0));
    EXPECT_TRUE(Poll(1));
    EXPECT_FALSE(Poll(2));
    fake->pads[3].present = false;
    fake->pads[7].buttons[1] = glfw2::PRESS;
    EXPECT_TRUE(Poll(1));  // unit 1 keeps joystick 7 until unit 0 is polled again
    EXPECT_TRUE(buttons[0]);
    EXPECT_TRUE(Poll(0));  // rediscovery: joystick 7 is now unit 0
    EXPECT_TRUE(buttons[0]);
    EXPECT_FALSE(Poll(1));
}

TEST_F(InputHostTest, FourteenButtonFiveAxisPadUsesLayoutA) {
    FakePad& pad = Pad(0, 5, 14);
    pad.axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f};
    pad.buttons[7] = pad.buttons[9] = glfw2::PRESS;
    pad.buttons[13] = glfw2::PRESS;  // the hat's last button: down
    ASSERT_TRUE(Poll(0));
    EXPECT_FLOAT_EQ(joyx[0], 0.1f);
    EXPECT_FLOAT_EQ(joyy[0], 0.2f);
    EXPECT_FLOAT_EQ(joyz[0], 0.3f);
    EXPECT_FLOAT_EQ(joyx[1], 0.5f);
    EXPECT_FLOAT_EQ(joyy[1], -0.4f);
    EXPECT_FLOAT_EQ(joyz[1], -0.3f);
    const std::vector<int> on{7, 11, 13};
    for (int slot = 0; slot < 32; ++slot) {
        EXPECT_EQ(buttons[slot], std::find(on.begin(), on.end(), slot) != on.end()) << slot;
    }
}

TEST_F(InputHostTest, OtherPadsUseLayoutBWithTheHatCountedFromTheEnd) {
    FakePad& pad = Pad(0, 6, 20);
    pad.axes = {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.6f};
    pad.buttons[0] = pad.buttons[6] = glfw2::PRESS;
    pad.buttons[17] = glfw2::PRESS;  // hat up
    pad.buttons[11] = 2;             // only exactly 1 counts as pressed
    ASSERT_TRUE(Poll(0));
    EXPECT_FLOAT_EQ(joyz[0], 1.0f);  // button 6
    EXPECT_FLOAT_EQ(joyz[1], 0.0f);  // button 7
    EXPECT_FLOAT_EQ(joyx[1], 0.3f);
    EXPECT_FLOAT_EQ(joyy[1], -0.4f);
    EXPECT_TRUE(buttons[2]);  // button 0
    EXPECT_TRUE(buttons[9]);  // hat up
    EXPECT_FALSE(buttons[13]);
    EXPECT_FALSE(buttons[0]);

    // Too few buttons for a hat: sources before the first button leave their slots off.
    Pad(0, 2, 2).buttons = {glfw2::PRESS, glfw2::PRESS};
    ASSERT_TRUE(Poll(0));
    EXPECT_FALSE(buttons[8]);
    EXPECT_FALSE(buttons[9]);
    EXPECT_TRUE(buttons[10]);
    EXPECT_TRUE(buttons[11]);
    EXPECT_TRUE(buttons[0]);
    EXPECT_FLOAT_EQ(joyx[1], 0.0f);  // unread axes read 0
}

}  // namespace
