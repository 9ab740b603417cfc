// The input module: c_InputDevice, the one per-update picture of keys, pointer, touches and pads that the game
// polls, c_JoyState (one pad's sticks and button slots), and the kp_input_* functions over kp_input_device.
// Depends on the host (KpGame for pad polling and the keyboard flag) and the runtime.
// Everything is a key code in one space of 512, so mouse buttons, pad buttons and touches read like keys:
//   1..3 mouse buttons, 8..222 keyboard keys, 256 + 32 * unit + slot pad slots, 384 + index touches,
//   416 back and 432 close (routing only). Code 1 and code 384 mirror each other.
#pragma once

#include "runtime/array.h"
#include "runtime/object.h"

// One pad unit: element 0 of each stick array is the first stick, element 1 the second.
class c_JoyState : public Object {
public:
    c_JoyState();

    Array<float> m_joyx, m_joyy, m_joyz;  // m_joyz is filled but nothing reads it
    Array<bool> m_buttons;                // 32 button slots
};

class c_InputDevice : public Object {
public:
    static constexpr int kKeyCount = 512;
    static constexpr int kHitQueueLength = 33;
    static constexpr int kCharQueueLength = 32;
    static constexpr int kTouchCount = 32;
    static constexpr int kPadUnits = 4;
    static constexpr int kPadSlots = 32;
    static constexpr int kKeyLeftButton = 1;
    static constexpr int kKeyPadBase = 256;
    static constexpr int kKeyTouchBase = 384;

    // Creates the four pad states.
    c_InputDevice();

    // Records one hit of code, unless the hit queue is full.
    void p_PutKeyHit(int code);
    // Polls the pads and merges their button slots into the key codes (start of an application update).
    void p_BeginUpdate();
    // Clears this update's hits and typed characters (end of an application update).
    void p_EndUpdate();

    // Event intake; event kinds as KpEvent.
    void p_KeyEvent(int event, int code);
    void p_MouseEvent(int event, int button, float x, float y);
    void p_TouchEvent(int event, int index, float x, float y);
    void p_MotionEvent(int event, int data, float x, float y, float z);
    // Passes the flag to the host game; answers 1.
    int p_SetKeyboardEnabled(bool enabled);

    // Queries: codes outside 1..511 and indices out of range answer 0.
    int p_KeyDown(int code) const;
    int p_KeyHit(int code) const;
    // The next typed character of this update; 0 once they are read out.
    int p_GetChar();
    float p_MouseX() const { return m_rawMouseX; }
    float p_MouseY() const { return m_rawMouseY; }
    float p_TouchX(int index) const;
    float p_TouchY(int index) const;
    float p_JoyX(int index, int unit) const;
    float p_JoyY(int index, int unit) const;
    float p_AccelX() const { return m_accelX; }
    float p_AccelY() const { return m_accelY; }

    Array<StrongRef<c_JoyState>> m_joyStates;
    Array<bool> m_keyDown;
    int m_keyHitPut = 0;
    Array<int> m_keyHitQueue;
    Array<int> m_keyHit;
    int m_charGet = 0, m_charPut = 0;
    Array<int> m_charQueue;
    float m_rawMouseX = 0, m_rawMouseY = 0;
    Array<float> m_rawTouchX, m_rawTouchY;
    float m_accelX = 0, m_accelY = 0, m_accelZ = 0;

private:
    // Sets the pointer and touch 0 to (x, y).
    void SetPointer(float x, float y);
    // Sets touch index to (x, y); touch 0 moves the pointer too.
    void SetTouch(int index, float x, float y);
    // Marks every slot code of units from..3 up and centres their sticks.
    void ReleasePadsFrom(int firstUnit);
};

extern c_InputDevice* kp_input_device;

// Publishes the device the functions below work on.
void kp_input_SetInputDevice(c_InputDevice* device);

int kp_input_KeyDown(int code);
int kp_input_KeyHit(int code);
// The state of code button + 1.
int kp_input_MouseDown(int button);
int kp_input_MouseHit(int button);
float kp_input_MouseX();
float kp_input_MouseY();
// The state of code 384 + index, for index -383..127.
int kp_input_TouchDown(int index);
float kp_input_TouchX(int index);
float kp_input_TouchY(int index);
// The state of code (button | 256 | unit * 32).
int kp_input_JoyDown(int button, int unit);
int kp_input_JoyHit(int button, int unit);
float kp_input_JoyX(int index, int unit);
float kp_input_JoyY(int index, int unit);
float kp_input_AccelX();
float kp_input_AccelY();
int kp_input_GetChar();
int kp_input_EnableKeyboard();
int kp_input_DisableKeyboard();
