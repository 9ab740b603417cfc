// The input device on its own: the mirror of left button and first touch, hits across the update bracket, the
// bounded queues, range checks, and pad slots merged from a scripted pad source (FakeGlfw behind KpGlfwGame).
#include <gtest/gtest.h>

#include "framework/input/input.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"

namespace {

// Runs the collector step the host would run after a callback, so released objects are really freed.
struct CollectAtEnd {
    ~CollectAtEnd() { gc_collect(); }
};

class InputDeviceTest : public ::testing::Test {
protected:
    void SetUp() override { kp_input_SetInputDevice(device.Get()); }
    void TearDown() override { kp_input_SetInputDevice(nullptr); }

    // A plain 16-button, 6-axis pad (layout B) on GLFW joystick joy with button n held.
    void PlugPad(int joy, int heldButton = -1) {
        FakePad& pad = fake->pads[joy];
        pad.present = true;
        pad.axes.assign(6, 0.0f);
        pad.buttons.assign(16, glfw2::RELEASE);
        if (heldButton >= 0) pad.buttons[size_t(heldButton)] = glfw2::PRESS;
    }

    CollectAtEnd collect;  // first member, so it goes last
    ScopedFakeGlfw fake;
    KpGlfwGame host;
    StrongRef<c_InputDevice> device = MakeRef<c_InputDevice>();
};

TEST_F(InputDeviceTest, LeftButtonAndFirstTouchMirrorEachOther) {
    device->p_MouseEvent(KpEventMouseDown, 0, 12.0f, 34.0f);
    EXPECT_EQ(kp_input_KeyHit(1), 1);
    EXPECT_EQ(kp_input_KeyHit(384), 1);
    EXPECT_TRUE(kp_input_TouchDown(0));
    EXPECT_FLOAT_EQ(kp_input_TouchY(0), 34.0f);
    device->p_MouseEvent(KpEventMouseMove, -1, 50.0f, 60.0f);
    device->p_MouseEvent(KpEventMouseUp, 0, 99.0f, 99.0f);
    EXPECT_FALSE(kp_input_KeyDown(384));
    EXPECT_FLOAT_EQ(kp_input_MouseX(), 50.0f);  // a release does not move the pointer

    device->p_TouchEvent(KpEventTouchDown, 0, 5.0f, 6.0f);
    EXPECT_TRUE(kp_input_MouseDown(0));
    device->p_TouchEvent(KpEventTouchMove, 3, 7.0f, 8.0f);
    EXPECT_FLOAT_EQ(kp_input_MouseX(), 5.0f);  // only touch 0 moves the pointer
}

TEST_F(InputDeviceTest, PressAndReleaseBetweenUpdatesLeavesOneHitForOneUpdate) {
    device->p_KeyEvent(KpEventKeyDown, 65);
    device->p_KeyEvent(KpEventKeyUp, 65);
    device->p_KeyEvent(KpEventKeyDown, 66);
    device->p_KeyEvent(KpEventKeyDown, 66);  // a repeated key-down of a held key is no new hit
    device->p_BeginUpdate();
    EXPECT_FALSE(kp_input_KeyDown(65));
    EXPECT_EQ(kp_input_KeyHit(65), 1);
    EXPECT_EQ(kp_input_KeyHit(66), 1);
    device->p_EndUpdate();
    device->p_BeginUpdate();
    EXPECT_EQ(kp_input_KeyHit(65), 0);
    EXPECT_EQ(kp_input_KeyHit(66), 0);
    EXPECT_TRUE(kp_input_KeyDown(66));
}

TEST_F(InputDeviceTest, QueuesKeepTheFirst32CharactersAnd33Hits) {
    for (int c = 0; c < 40; ++c) device->p_KeyEvent(KpEventKeyChar, 'a' + c);
    for (int c = 0; c < 32; ++c) EXPECT_EQ(kp_input_GetChar(), 'a' + c);
    EXPECT_EQ(kp_input_GetChar(), 0);

    for (int code = 100; code < 134; ++code) device->p_KeyEvent(KpEventKeyDown, code);
    EXPECT_EQ(device->m_keyHitPut, 33);
    EXPECT_EQ(kp_input_KeyHit(132), 1);
    EXPECT_EQ(kp_input_KeyHit(133), 0);  // the 34th hit is lost...
    EXPECT_TRUE(kp_input_KeyDown(133));  // ...but the key is down

    device->p_EndUpdate();
    EXPECT_EQ(kp_input_GetChar(), 0);
    EXPECT_EQ(kp_input_KeyHit(100), 0);
    device->p_KeyEvent(KpEventKeyChar, 'z');
    EXPECT_EQ(kp_input_GetChar(), 'z');
}

TEST_F(InputDeviceTest, CodesAndIndicesOutOfRangeAnswerNothingAndChangeNothing) {
    device->p_KeyEvent(KpEventKeyDown, 600);
    device->p_KeyEvent(KpEventKeyDown, -5);
    device->p_TouchEvent(KpEventTouchDown, 200, 1.0f, 1.0f);
    device->p_TouchEvent(KpEventTouchDown, 40, 1.0f, 1.0f);  // code 424 goes down, but keeps no position
    EXPECT_EQ(device->m_keyHitPut, 1);
    EXPECT_FLOAT_EQ(kp_input_TouchX(40), 0.0f);
    EXPECT_FALSE(kp_input_KeyDown(512));
    EXPECT_FALSE(kp_input_MouseDown(511));
    EXPECT_FLOAT_EQ(kp_input_JoyY(0, 4), 0.0f);
}

TEST_F(InputDeviceTest, PadSlotsGoDownWithOneHitAndUpWhenReleased) {
    device->p_BeginUpdate();  // no pad attached: nothing goes down
    for (int code = 256; code < 384; ++code) EXPECT_FALSE(kp_input_KeyDown(code)) << code;

    PlugPad(0, 1);  // layout B: button 1 is slot 0
    PlugPad(1, 0);  // button 0 is slot 2
    device->p_BeginUpdate();
    EXPECT_EQ(kp_input_JoyHit(0, 0), 1);
    EXPECT_TRUE(kp_input_KeyDown(256 + 32 + 2));
    device->p_EndUpdate();
    device->p_BeginUpdate();
    EXPECT_TRUE(kp_input_JoyDown(0, 0));
    EXPECT_EQ(kp_input_JoyHit(0, 0), 0);
    fake->pads[0].buttons[1] = glfw2::RELEASE;
    device->p_BeginUpdate();
    EXPECT_FALSE(kp_input_JoyDown(0, 0));
}

// A pad unplugged with a button held and its stick pushed must not hold that code or direction for good.
TEST_F(InputDeviceTest, UnpluggedPadReleasesItsButtonsAndCentresItsSticks) {
    PlugPad(0);
    PlugPad(1, 1);
    fake->pads[1].axes[0] = -1.0f;
    device->p_BeginUpdate();
    device->p_EndUpdate();
    ASSERT_TRUE(kp_input_JoyDown(0, 1));
    ASSERT_FLOAT_EQ(kp_input_JoyX(0, 1), -1.0f);

    fake->pads[1].present = false;
    device->p_BeginUpdate();
    EXPECT_FALSE(kp_input_JoyDown(0, 1));
    EXPECT_FLOAT_EQ(kp_input_JoyX(0, 1), 0.0f);

    // With the first pad gone the second becomes unit 0; unit 1 is released as well.
    fake->pads[1].present = true;
    device->p_BeginUpdate();
    device->p_EndUpdate();
    fake->pads[0].present = false;
    device->p_BeginUpdate();
    EXPECT_TRUE(kp_input_JoyDown(0, 0));
    EXPECT_FALSE(kp_input_JoyDown(0, 1));
}

}  // namespace
