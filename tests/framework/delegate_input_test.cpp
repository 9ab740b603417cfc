// The game delegate's input wiring: key, character and pointer events reach the device, pad slots are merged
// before the application's update sees them, and hits and characters are gone after it.
#include <gtest/gtest.h>

#include "framework/app/app.h"
#include "framework/input/input.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"

namespace {

// Notes what the device shows while the application updates.
class WatchingApp : public c_App {
public:
    int p_OnUpdate() override {
        hitA = kp_input_KeyHit('A');
        padSelect = kp_input_JoyHit(0, 0);
        firstChar = kp_input_GetChar();
        return 0;
    }
    int hitA = -1, padSelect = -1, firstChar = -1;
};

TEST(DelegateInputTest, UpdateSeesThisFramesInputOnceThenItIsCleared) {
    ScopedFakeGlfw fake;
    KpGlfwGame host;
    WatchingApp app;
    c_GameDelegate delegate;
    kp_app_Init(&host);
    kp_app__app = &app;
    delegate.m_input = new c_InputDevice();
    StrongRef<c_InputDevice> keep(delegate.m_input);
    kp_input_SetInputDevice(delegate.m_input);

    fake->pads[0] = FakePad{true, std::vector<float>(6), std::vector<unsigned char>(16)};
    fake->pads[0].buttons[1] = glfw2::PRESS;  // slot 0
    delegate.KeyEvent(KpEventKeyDown, 'A');
    delegate.KeyEvent(KpEventKeyChar, 'a');
    delegate.MouseEvent(KpEventMouseDown, 0, 3.0f, 4.0f);
    delegate.TouchEvent(KpEventTouchMove, 2, 5.0f, 6.0f);
    delegate.UpdateGame();
    EXPECT_EQ(app.hitA, 1);
    EXPECT_EQ(app.padSelect, 1);
    EXPECT_EQ(app.firstChar, 'a');
    EXPECT_EQ(kp_input_KeyHit('A'), 0);
    EXPECT_EQ(kp_input_GetChar(), 0);
    EXPECT_TRUE(kp_input_MouseDown(0));
    EXPECT_FLOAT_EQ(kp_input_TouchX(2), 5.0f);

    delegate.KeyEvent(KpEventKeyUp, 'A');
    delegate.UpdateGame();
    EXPECT_EQ(app.hitA, 0);
    EXPECT_EQ(app.padSelect, 0);
    EXPECT_FALSE(kp_input_KeyDown('A'));

    kp_input_SetInputDevice(nullptr);
    kp_app_Init(nullptr);
    keep = nullptr;
    gc_collect();
}

}  // namespace
