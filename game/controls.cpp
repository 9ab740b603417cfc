// c_MyApp: the control actions every menu and play screen asks for instead of raw keys or pad buttons.
// Depends on the input module (held keys, pad slots as key codes, sticks) and the stick settings of the
// progress record (m_settings entries 15 and 16). Bindings are fixed; only each stick's vertical sense is a
// setting. Held state only: acting once per press is the caller's business (the latches).
#include "framework/input/input.h"
#include "game/myapp.h"

namespace {

// Which way of the first stick, if any, also holds an action.
enum class Stick { None, Up, Left, Right, Down };

struct Binding {
    int action;
    int keys[4];   // game key codes, 0 for none
    int slots[3];  // pad button slots, -1 for none
    Stick stick;
};

constexpr Binding kBindings[] = {
    {0, {38, 87, 0, 0}, {9, -1, -1}, Stick::Up},              // up: Up arrow, W; hat up
    {3, {37, 65, 0, 0}, {8, -1, -1}, Stick::Left},            // left: Left arrow, A; hat left
    {5, {39, 68, 0, 0}, {10, -1, -1}, Stick::Right},          // right: Right arrow, D; hat right
    {8, {40, 83, 0, 0}, {11, -1, -1}, Stick::Down},           // down: Down arrow, S; hat down
    {10, {90, 74, 32, 13}, {0, -1, -1}, Stick::None},         // select: Z, J, Space, Enter
    {11, {88, 75, 17, 0}, {1, -1, -1}, Stick::None},          // cancel: X, K, Control
    {12, {67, 76, 16, 0}, {2, -1, -1}, Stick::None},          // C, L, Shift
    {13, {86, 73, 0, 0}, {3, -1, -1}, Stick::None},           // V, I
    {14, {66, 85, 0, 0}, {4, -1, -1}, Stick::None},           // B, U
    {15, {78, 79, 0, 0}, {5, -1, -1}, Stick::None},           // N, O
    {99, {27, 192, 46, 8}, {6, 7, 14}, Stick::None},          // back: Escape, grave, Delete, Backspace
    {98, {27, 192, 46, 8}, {6, 7, 14}, Stick::None},          // back, asked of pads only
};

// The stick must pass this magnitude, strictly, on its own axis.
constexpr float kDeadZone = 0.4f;

const Binding* FindBinding(int action) {
    for (const Binding& binding : kBindings) {
        if (binding.action == action) return &binding;
    }
    return nullptr;
}

}  // namespace

int c_MyApp::p_PlayKey(int action, int useStick, int pad) {
    const Binding* binding = FindBinding(action);
    if (!binding || pad < -1 || pad > 3) return 0;
    // Keyboard-only questions have no "pads only" back.
    if (pad == -1 && action == 98) return 0;
    for (int key : binding->keys) {
        if (key != 0 && kp_input_KeyDown(key)) return 1;
    }
    if (pad == -1) return 0;
    for (int slot : binding->slots) {
        if (slot >= 0 && kp_input_KeyDown(c_InputDevice::kKeyPadBase + c_InputDevice::kPadSlots * pad + slot)) {
            return 1;
        }
    }
    if (useStick != 1) return 0;
    switch (binding->stick) {
        case Stick::Up: return p_StickY(0, pad) < -kDeadZone ? 1 : 0;
        case Stick::Down: return p_StickY(0, pad) > kDeadZone ? 1 : 0;
        case Stick::Left: return p_StickX(0, pad) < -kDeadZone ? 1 : 0;
        case Stick::Right: return p_StickX(0, pad) > kDeadZone ? 1 : 0;
        case Stick::None: return 0;
    }
    return 0;
}

int c_MyApp::p_PlayKeyAll(int action, int useStick) {
    int held = 0;
    for (int pad = 0; pad < 4; ++pad) held += p_PlayKey(action, useStick, pad);
    return held;
}

float c_MyApp::p_StickX(int index, int pad) {
    if (pad < 0) return 0.0f;
    return kp_input_JoyX(index, pad);
}

float c_MyApp::p_StickY(int index, int pad) {
    if (pad < 0 || index < 0 || index > 1) return 0.0f;
    const float y = kp_input_JoyY(index, pad);
    // NOTE: the start value 0 ("Flipped") negates, so a stick pushed away from the player (positive) means up.
    return m_settings[15 + index] == 0 ? -y : y;
}
