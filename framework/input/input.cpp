// The kp_input_* functions: thin forwards to the published input device.
// Depends on c_InputDevice and the host game (keyboard flag). Before the delegate has made the device they
// answer 0, as an idle device would.
#include "framework/input/input.h"

#include "host/kpgame.h"

c_InputDevice* kp_input_device = nullptr;

namespace {
// The host game stores the flag and nothing reads it; answers 1 as the device does.
int SetHostKeyboard(bool enabled) {
    if (KpGame::_game) KpGame::_game->SetKeyboardEnabled(enabled);
    return 1;
}
}  // namespace

void kp_input_SetInputDevice(c_InputDevice* device) { kp_input_device = device; }

int kp_input_KeyDown(int code) { return kp_input_device ? kp_input_device->p_KeyDown(code) : 0; }
int kp_input_KeyHit(int code) { return kp_input_device ? kp_input_device->p_KeyHit(code) : 0; }

int kp_input_MouseDown(int button) { return button > 510 ? 0 : kp_input_KeyDown(button + 1); }
int kp_input_MouseHit(int button) { return button > 510 ? 0 : kp_input_KeyHit(button + 1); }
float kp_input_MouseX() { return kp_input_device ? kp_input_device->p_MouseX() : 0.0f; }
float kp_input_MouseY() { return kp_input_device ? kp_input_device->p_MouseY() : 0.0f; }

int kp_input_TouchDown(int index) {
    if (index < -383 || index > 127) return 0;
    return kp_input_KeyDown(c_InputDevice::kKeyTouchBase + index);
}
float kp_input_TouchX(int index) { return kp_input_device ? kp_input_device->p_TouchX(index) : 0.0f; }
float kp_input_TouchY(int index) { return kp_input_device ? kp_input_device->p_TouchY(index) : 0.0f; }

int kp_input_JoyDown(int button, int unit) {
    const int code = button | c_InputDevice::kKeyPadBase | (unit * c_InputDevice::kPadSlots);
    return code > 511 ? 0 : kp_input_KeyDown(code);
}
int kp_input_JoyHit(int button, int unit) {
    const int code = button | c_InputDevice::kKeyPadBase | (unit * c_InputDevice::kPadSlots);
    return code > 511 ? 0 : kp_input_KeyHit(code);
}
float kp_input_JoyX(int index, int unit) { return kp_input_device ? kp_input_device->p_JoyX(index, unit) : 0.0f; }
float kp_input_JoyY(int index, int unit) { return kp_input_device ? kp_input_device->p_JoyY(index, unit) : 0.0f; }
float kp_input_AccelX() { return kp_input_device ? kp_input_device->p_AccelX() : 0.0f; }
float kp_input_AccelY() { return kp_input_device ? kp_input_device->p_AccelY() : 0.0f; }

int kp_input_GetChar() { return kp_input_device ? kp_input_device->p_GetChar() : 0; }

int kp_input_EnableKeyboard() { return SetHostKeyboard(true); }
int kp_input_DisableKeyboard() { return SetHostKeyboard(false); }
