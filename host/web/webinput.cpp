// The page's input for the web host: keys by their place on the keyboard, the mouse and touches on the canvas in
// its pixels, the page's activity (host/web/webhost.js), and the pads of the browser's gamepad interface in the game's pad slots.
// Depends on the toolchain's HTML5 layer, the host game's guarded event calls, the page's calls (webhost.h: a
// point of the page in the canvas's pixels), and the shared input mapping (the tables themselves live there;
// this file is the glue with the toolchain's event structs).
// NOTE: keys are told apart by their place (the event's code), as the desktop's window layer names them, so the
// game's keys sit where they do on the desktop whatever the keyboard's layout.
#include <emscripten/html5.h>

#include "host/input_map.h"  // key, touch and pad tables
#include "host/web/webgame.h"
#include "host/web/webhost.h"  // quorlix_canvas_point

namespace {

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    KpGame* game = KpGame::_game;
    const int key = kpGameKeyOfCode(event->code);
    const bool keptByBrowser = kpBrowserKeepsKey(key, event->ctrlKey || event->altKey || event->metaKey);
    if (eventType == EMSCRIPTEN_EVENT_KEYUP) {
        if (key != 0) game->KeyEvent(KpEventKeyUp, key);
        return !keptByBrowser;
    }
    // NOTE: a held key's repeats come as further presses, as the desktop's key repeat gives them: the key is
    // already down, and each repeats its character.
    if (key != 0) {
        game->KeyEvent(KpEventKeyDown, key);
        if (const int character = kpKeyToChar(key)) game->KeyEvent(KpEventKeyChar, character);
    }
    if (!event->ctrlKey && !event->metaKey) {
        if (const int character = kpTypedCharacter(event->key)) game->KeyEvent(KpEventKeyChar, character);
    }
    return !keptByBrowser;
}

EM_BOOL OnMouse(int eventType, const EmscriptenMouseEvent* event, void*) {
    KpGame* game = KpGame::_game;
    float at[2];
    quorlix_canvas_point(static_cast<double>(event->clientX), static_cast<double>(event->clientY), at);
    switch (eventType) {
        case EMSCRIPTEN_EVENT_MOUSEDOWN:
            if (event->button > 2) return EM_FALSE;
            game->MouseEvent(KpEventMouseDown, kpGameMouseButton(event->button), at[0], at[1]);
            return EM_TRUE;
        case EMSCRIPTEN_EVENT_MOUSEUP:
            if (event->button > 2) return EM_FALSE;
            game->MouseEvent(KpEventMouseUp, kpGameMouseButton(event->button), at[0], at[1]);
            return EM_FALSE;
        default:
            game->MouseEvent(KpEventMouseMove, -1, at[0], at[1]);
            return EM_FALSE;
    }
}

// The page's touches in the game's touch slots.
KpTouchSlots touches;

EM_BOOL OnTouch(int eventType, const EmscriptenTouchEvent* event, void*) {
    KpGame* game = KpGame::_game;
    for (int t = 0; t < event->numTouches; ++t) {
        const EmscriptenTouchPoint& touch = event->touches[t];
        if (!touch.isChanged) continue;
        float at[2];
        quorlix_canvas_point(static_cast<double>(touch.clientX), static_cast<double>(touch.clientY), at);
        if (eventType == EMSCRIPTEN_EVENT_TOUCHSTART) {
            const int slot = touches.Take(touch.identifier);
            if (slot >= 0) game->TouchEvent(KpEventTouchDown, slot, at[0], at[1]);
        } else if (eventType == EMSCRIPTEN_EVENT_TOUCHMOVE) {
            const int slot = touches.Find(touch.identifier);
            if (slot >= 0) game->TouchEvent(KpEventTouchMove, slot, at[0], at[1]);
        } else {
            const int slot = touches.Release(touch.identifier);
            if (slot >= 0) game->TouchEvent(KpEventTouchUp, slot, at[0], at[1]);
        }
    }
    // NOTE: taken from the page: no scrolling, no zoom, and no mouse events made up after the touch.
    return EM_TRUE;
}

}  // namespace

void kpListenToPage() {
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    emscripten_set_keydown_callback(window, nullptr, EM_TRUE, OnKey);
    emscripten_set_keyup_callback(window, nullptr, EM_TRUE, OnKey);
    // NOTE: presses on the canvas only, but moves and releases anywhere: a drag that leaves the canvas goes on,
    // and its release is never lost.
    emscripten_set_mousedown_callback("#canvas", nullptr, EM_TRUE, OnMouse);
    emscripten_set_mousemove_callback(window, nullptr, EM_TRUE, OnMouse);
    emscripten_set_mouseup_callback(window, nullptr, EM_TRUE, OnMouse);
    emscripten_set_touchstart_callback("#canvas", nullptr, EM_TRUE, OnTouch);
    emscripten_set_touchmove_callback("#canvas", nullptr, EM_TRUE, OnTouch);
    emscripten_set_touchend_callback("#canvas", nullptr, EM_TRUE, OnTouch);
    emscripten_set_touchcancel_callback("#canvas", nullptr, EM_TRUE, OnTouch);
    quorlix_follow_page_activity();
}

// ---- Pads ----

namespace {

// Browser gamepad indices of the four pad units, found again at each poll of unit 0; -1 for none.
int padIndex[4] = {-1, -1, -1, -1};

// The raw tables of the browser's standard gamepad.
constexpr KpPadTables kStandardPad = kpPadTables(kBrowserStandardPad);

}  // namespace

bool kpPollBrowserPad(int port, Array<float> joyx, Array<float> joyy, Array<float> joyz, Array<bool> buttons) {
    if (port < 0 || port > 3) return false;
    if (port == 0) {
        int unit = 0;
        if (emscripten_sample_gamepad_data() == EMSCRIPTEN_RESULT_SUCCESS) {
            const int count = emscripten_get_num_gamepads();
            for (int index = 0; index < count && unit < 4; ++index) {
                EmscriptenGamepadEvent pad;
                if (emscripten_get_gamepad_status(index, &pad) == EMSCRIPTEN_RESULT_SUCCESS && pad.connected) {
                    padIndex[unit++] = index;
                }
            }
        }
        for (; unit < 4; ++unit) padIndex[unit] = -1;
    }
    if (padIndex[port] < 0) return false;
    EmscriptenGamepadEvent pad;
    if (emscripten_get_gamepad_status(padIndex[port], &pad) != EMSCRIPTEN_RESULT_SUCCESS || !pad.connected) {
        return false;
    }
    constexpr int kMost = 64;  // the toolchain's event holds at most this many axes and buttons
    float axes[kMost];
    bool pressed[kMost];
    const int axisCount = pad.numAxes < kMost ? pad.numAxes : kMost;
    const int buttonCount = pad.numButtons < kMost ? pad.numButtons : kMost;
    for (int i = 0; i < axisCount; ++i) axes[i] = static_cast<float>(pad.axis[i]);
    for (int i = 0; i < buttonCount; ++i) pressed[i] = pad.digitalButton[i];
    kpReadPad(kStandardPad, {axes, axisCount, pressed, buttonCount}, joyx, joyy, joyz, buttons);
    return true;
}
