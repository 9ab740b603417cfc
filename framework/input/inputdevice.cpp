// c_InputDevice: event intake, hit and character queues, the update bracket with pad polling, and queries.
// Depends on the host game (PollJoystick, SetKeyboardEnabled). Keys go down and hits accumulate during the
// event phase; pad slots merge in at the start of each update; hits and characters clear at its end.
#include "framework/input/input.h"

#include "host/kpgame.h"

namespace {
bool ValidCode(int code) { return code >= 0 && code < c_InputDevice::kKeyCount; }
}  // namespace

c_JoyState::c_JoyState() : m_joyx(2), m_joyy(2), m_joyz(2), m_buttons(c_InputDevice::kPadSlots) {}

c_InputDevice::c_InputDevice()
    : m_joyStates(kPadUnits),
      m_keyDown(kKeyCount),
      m_keyHitQueue(kHitQueueLength),
      m_keyHit(kKeyCount),
      m_charQueue(kCharQueueLength),
      m_rawTouchX(kTouchCount),
      m_rawTouchY(kTouchCount) {
    for (int unit = 0; unit < kPadUnits; ++unit) m_joyStates[unit] = MakeRef<c_JoyState>();
}

void c_InputDevice::p_PutKeyHit(int code) {
    // NOTE: a full queue loses the hit, but the key still goes down: held state never depends on the queue.
    if (m_keyHitPut == kHitQueueLength) return;
    m_keyHit[code] += 1;
    m_keyHitQueue[m_keyHitPut++] = code;
}

void c_InputDevice::p_BeginUpdate() {
    KpGame* host = KpGame::_game;
    for (int unit = 0; unit < kPadUnits; ++unit) {
        c_JoyState& joy = *m_joyStates[unit];
        if (!host || !host->PollJoystick(unit, joy.m_joyx, joy.m_joyy, joy.m_joyz, joy.m_buttons)) {
            // WARNING: a pad unplugged with a button held must not leave that code down (the game's key latch
            // would never clear). Units are assigned without gaps, so no later unit has a pad either.
            ReleasePadsFrom(unit);
            return;
        }
        for (int slot = 0; slot < kPadSlots; ++slot) {
            const int code = kKeyPadBase + kPadSlots * unit + slot;
            if (!joy.m_buttons[slot]) {
                m_keyDown[code] = false;
            } else if (!m_keyDown[code]) {
                m_keyDown[code] = true;
                p_PutKeyHit(code);
            }
        }
    }
}

void c_InputDevice::ReleasePadsFrom(int firstUnit) {
    for (int unit = firstUnit; unit < kPadUnits; ++unit) {
        c_JoyState& joy = *m_joyStates[unit];
        for (int slot = 0; slot < kPadSlots; ++slot) {
            m_keyDown[kKeyPadBase + kPadSlots * unit + slot] = false;
            joy.m_buttons[slot] = false;
        }
        // NOTE: a stick left pushed by a vanished pad would hold a direction just as a button would.
        joy.m_joyx.Fill(0.0f);
        joy.m_joyy.Fill(0.0f);
        joy.m_joyz.Fill(0.0f);
    }
}

void c_InputDevice::p_EndUpdate() {
    for (int i = 0; i < m_keyHitPut; ++i) m_keyHit[m_keyHitQueue[i]] = 0;
    m_keyHitPut = 0;
    m_charGet = 0;
    m_charPut = 0;
}

void c_InputDevice::p_KeyEvent(int event, int code) {
    switch (event) {
        case KpEventKeyDown:
            if (!ValidCode(code) || m_keyDown[code]) return;
            m_keyDown[code] = true;
            p_PutKeyHit(code);
            // The left button is the first touch and the first touch the left button.
            if (code == kKeyLeftButton || code == kKeyTouchBase) {
                const int mirror = code == kKeyLeftButton ? kKeyTouchBase : kKeyLeftButton;
                m_keyDown[mirror] = true;
                p_PutKeyHit(mirror);
            }
            return;
        case KpEventKeyUp:
            if (!ValidCode(code) || !m_keyDown[code]) return;
            m_keyDown[code] = false;
            if (code == kKeyLeftButton) m_keyDown[kKeyTouchBase] = false;
            if (code == kKeyTouchBase) m_keyDown[kKeyLeftButton] = false;
            return;
        case KpEventKeyChar:
            if (m_charPut < kCharQueueLength) m_charQueue[m_charPut++] = code;
            return;
        default:
            return;
    }
}

void c_InputDevice::SetPointer(float x, float y) {
    m_rawMouseX = x;
    m_rawMouseY = y;
    m_rawTouchX[0] = x;
    m_rawTouchY[0] = y;
}

void c_InputDevice::SetTouch(int index, float x, float y) {
    if (index < 0 || index >= kTouchCount) return;
    m_rawTouchX[index] = x;
    m_rawTouchY[index] = y;
    if (index == 0) {
        m_rawMouseX = x;
        m_rawMouseY = y;
    }
}

void c_InputDevice::p_MouseEvent(int event, int button, float x, float y) {
    switch (event) {
        case KpEventMouseDown:
            p_KeyEvent(KpEventKeyDown, button + 1);
            SetPointer(x, y);
            return;
        case KpEventMouseUp:
            p_KeyEvent(KpEventKeyUp, button + 1);
            return;
        case KpEventMouseMove:
            SetPointer(x, y);
            return;
        default:
            return;
    }
}

void c_InputDevice::p_TouchEvent(int event, int index, float x, float y) {
    switch (event) {
        case KpEventTouchDown:
            p_KeyEvent(KpEventKeyDown, kKeyTouchBase + index);
            SetTouch(index, x, y);
            return;
        case KpEventTouchUp:
            p_KeyEvent(KpEventKeyUp, kKeyTouchBase + index);
            return;
        case KpEventTouchMove:
            SetTouch(index, x, y);
            return;
        default:
            return;
    }
}

void c_InputDevice::p_MotionEvent(int event, int, float x, float y, float z) {
    if (event != KpEventMotionAccel) return;
    m_accelX = x;
    m_accelY = y;
    m_accelZ = z;
}

int c_InputDevice::p_SetKeyboardEnabled(bool enabled) {
    if (KpGame::_game) KpGame::_game->SetKeyboardEnabled(enabled);
    return 1;
}

int c_InputDevice::p_KeyDown(int code) const {
    return code > 0 && code < kKeyCount && m_keyDown[code] ? 1 : 0;
}

int c_InputDevice::p_KeyHit(int code) const { return code > 0 && code < kKeyCount ? m_keyHit[code] : 0; }

int c_InputDevice::p_GetChar() {
    if (m_charGet == m_charPut) return 0;
    return m_charQueue[m_charGet++];
}

float c_InputDevice::p_TouchX(int index) const {
    return index >= 0 && index < kTouchCount ? m_rawTouchX[index] : 0.0f;
}

float c_InputDevice::p_TouchY(int index) const {
    return index >= 0 && index < kTouchCount ? m_rawTouchY[index] : 0.0f;
}

float c_InputDevice::p_JoyX(int index, int unit) const {
    if (unit < 0 || unit >= kPadUnits || index < 0 || index > 1) return 0.0f;
    return m_joyStates[unit]->m_joyx[index];
}

float c_InputDevice::p_JoyY(int index, int unit) const {
    if (unit < 0 || unit >= kPadUnits || index < 0 || index > 1) return 0.0f;
    return m_joyStates[unit]->m_joyy[index];
}
