// Control actions on a real application object, driven through the input device: every action's keys and pad
// slots, the keyboard-only and pads-only questions, and the first stick's dead zone and vertical sense (the
// stick comes from a scripted pad behind the desktop host).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <vector>

#include "framework/input/input.h"
#include "game/myapp.h"
#include "host/desktop/glfwgame.h"
#include "tests/support/fake_glfw.h"

namespace {

// Runs the collector step the host would run after a callback, so released objects are really freed.
struct CollectAtEnd {
    ~CollectAtEnd() { gc_collect(); }
};

const std::map<int, std::vector<int>> kKeys{
    {0, {38, 87}},       {3, {37, 65}},       {5, {39, 68}},  {8, {40, 83}},  {10, {90, 74, 32, 13}},
    {11, {88, 75, 17}},  {12, {67, 76, 16}},  {13, {86, 73}}, {14, {66, 85}}, {15, {78, 79}},
    {98, {27, 192, 46, 8}}, {99, {27, 192, 46, 8}},
};
const std::map<int, std::vector<int>> kSlots{
    {0, {9}}, {3, {8}}, {5, {10}}, {8, {11}}, {10, {0}}, {11, {1}}, {12, {2}},
    {13, {3}}, {14, {4}}, {15, {5}}, {98, {6, 7, 14}}, {99, {6, 7, 14}},
};
const int kActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 98, 99};

bool Lists(const std::map<int, std::vector<int>>& table, int action, int value) {
    auto it = table.find(action);
    return it != table.end() && std::count(it->second.begin(), it->second.end(), value) > 0;
}

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override { kp_input_SetInputDevice(device.Get()); }
    void TearDown() override { kp_input_SetInputDevice(nullptr); }

    void Hold(int code) { device->p_KeyEvent(KpEventKeyDown, code); }
    void Release(int code) { device->p_KeyEvent(KpEventKeyUp, code); }
    // A 6-axis pad on unit 0 with its first stick at (x, y) as GLFW 2 reports it, polled into the device.
    void Stick(float x, float y) {
        fake->pads[0] = FakePad{true, {x, y, 0, 0, 0, 0}, std::vector<unsigned char>(16)};
        device->p_BeginUpdate();
    }

    CollectAtEnd collect;  // first member, so it goes last
    ScopedFakeGlfw fake;
    KpGlfwGame host;
    StrongRef<c_InputDevice> device = MakeRef<c_InputDevice>();
    c_MyApp app;
};

TEST_F(ControlsTest, EachKeyHoldsExactlyItsActionsForEveryPadAndTheKeyboard) {
    std::vector<int> keys;
    for (const auto& [action, list] : kKeys) keys.insert(keys.end(), list.begin(), list.end());
    keys.push_back(81);  // Q is bound to nothing
    for (int key : keys) {
        Hold(key);
        for (int action : kActions) {
            const int expected = Lists(kKeys, action, key) ? 1 : 0;
            EXPECT_EQ(app.p_PlayKey(action, 1, 2), expected) << "key " << key << " action " << action;
            EXPECT_EQ(app.p_PlayKey(action, 0, -1), action == 98 ? 0 : expected) << "key " << key;
            EXPECT_EQ(app.p_PlayKeyAll(action, 1), 4 * expected);
        }
        EXPECT_EQ(app.p_PlayKey(10, 1, -2), 0);
        Release(key);
    }
}

TEST_F(ControlsTest, EachPadSlotHoldsItsActionsForThatPadOnly) {
    for (int slot = 0; slot < 32; ++slot) {
        const int code = 256 + 32 * 1 + slot;
        Hold(code);
        for (int action : kActions) {
            const int expected = Lists(kSlots, action, slot) ? 1 : 0;
            EXPECT_EQ(app.p_PlayKey(action, 0, 1), expected) << "slot " << slot << " action " << action;
            EXPECT_EQ(app.p_PlayKey(action, 0, 0), 0);
            EXPECT_EQ(app.p_PlayKey(action, 0, -1), 0);
            EXPECT_EQ(app.p_PlayKeyAll(action, 0), expected);
        }
        Release(code);
    }
}

TEST_F(ControlsTest, StickSettingDecidesWhichWayIsUp) {
    Stick(0.0f, 0.5f);  // pushed away from the player
    EXPECT_FLOAT_EQ(app.p_StickY(0, 0), -0.5f);
    EXPECT_EQ(app.p_PlayKey(0, 1, 0), 1);
    EXPECT_EQ(app.p_PlayKey(8, 1, 0), 0);
    EXPECT_EQ(app.p_PlayKey(0, 0, 0), 0);  // the stick counts only when asked for
    EXPECT_EQ(app.p_PlayKey(0, 1, -1), 0);
    EXPECT_EQ(app.p_PlayKey(0, 1, 1), 0);

    app.m_settings[15] = 1;
    EXPECT_FLOAT_EQ(app.p_StickY(0, 0), 0.5f);
    EXPECT_EQ(app.p_PlayKey(8, 1, 0), 1);
    EXPECT_EQ(app.p_PlayKey(0, 1, 0), 0);

    // The second stick follows its own setting (entry 16); on this pad its y is axis 3, negated.
    fake->pads[0].axes[3] = 0.25f;
    device->p_BeginUpdate();
    EXPECT_FLOAT_EQ(app.p_StickY(1, 0), 0.25f);
    app.m_settings[16] = 1;
    EXPECT_FLOAT_EQ(app.p_StickY(1, 0), -0.25f);
    EXPECT_FLOAT_EQ(app.p_StickY(0, -1), 0.0f);
    EXPECT_FLOAT_EQ(app.p_StickX(0, -1), 0.0f);
}

TEST_F(ControlsTest, DeadZoneIsStrictOnEachAxis) {
    for (float edge : {0.4f, -0.4f}) {
        Stick(edge, edge);
        for (int action : {0, 3, 5, 8}) EXPECT_EQ(app.p_PlayKey(action, 1, 0), 0) << edge << " " << action;
    }
    Stick(-0.41f, 0.0f);
    EXPECT_EQ(app.p_PlayKey(3, 1, 0), 1);
    EXPECT_EQ(app.p_PlayKey(5, 1, 0), 0);
    Stick(0.41f, -0.41f);  // pulled towards the player, to the right
    EXPECT_EQ(app.p_PlayKey(5, 1, 0), 1);
    EXPECT_EQ(app.p_PlayKey(8, 1, 0), 1);
    EXPECT_EQ(app.p_PlayKeyAll(8, 1), 1);
    EXPECT_EQ(app.p_PlayKey(10, 1, 0), 0);  // only the directions read the stick
}

// The symptom of a pad unplugged while held: the key latch must clear once the pad is gone.
TEST_F(ControlsTest, KeyLatchClearsWhenAPadIsUnpluggedWithAButtonOrTheStickHeld) {
    Stick(-1.0f, 0.0f);
    fake->pads[0].buttons[1] = glfw2::PRESS;  // select
    device->p_BeginUpdate();
    app.m_keyLatch = 1;
    app.p_UpdateLatches();
    ASSERT_EQ(app.m_keyLatch, 1);
    fake->pads[0].present = false;
    device->p_BeginUpdate();
    app.p_UpdateLatches();
    EXPECT_EQ(app.m_keyLatch, 0);
}

}  // namespace
