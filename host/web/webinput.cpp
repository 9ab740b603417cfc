// The page's input for the web host: keys by their place on the keyboard, the mouse and touches on the canvas in
// its pixels, the page's visibility, and the pads of the browser's gamepad interface in the game's pad slots.
// Depends on the toolchain's HTML5 layer and the host game's guarded event calls.
// NOTE: keys are told apart by their place (the event's code), as the desktop's window layer names them, so the
// game's keys sit where they do on the desktop whatever the keyboard's layout.
#include <emscripten/emscripten.h>
#include <emscripten/html5.h>

#include <cstdlib>  // atoi
#include <cstring>

#include "host/web/webgame.h"

namespace {

struct NamedKey {
    const char* code;
    int key;
};

// The keys the game knows, by the browser's name for their place, with their game key codes; every other key
// (Alt, F13 and above, keypad Enter and equals, the lock keys, Pause, the system and menu keys) is none.
constexpr NamedKey kNamedKeys[] = {
    {"Space", 32},        {"Quote", 222},          {"Comma", 188},         {"Minus", 189},
    {"Period", 190},      {"Slash", 191},          {"Semicolon", 186},     {"Equal", 187},
    {"BracketLeft", 219}, {"Backslash", 220},      {"BracketRight", 221},  {"Backquote", 192},
    {"Escape", 27},       {"ArrowUp", 38},         {"ArrowDown", 40},      {"ArrowLeft", 37},
    {"ArrowRight", 39},   {"ShiftLeft", 16},       {"ShiftRight", 16},     {"ControlLeft", 17},
    {"ControlRight", 17}, {"Tab", 9},              {"Enter", 13},          {"Backspace", 8},
    {"Insert", 45},       {"Delete", 46},          {"PageUp", 33},         {"PageDown", 34},
    {"Home", 36},         {"End", 35},             {"NumpadMultiply", 106}, {"NumpadAdd", 107},
    {"NumpadSubtract", 109}, {"NumpadDecimal", 110}, {"NumpadDivide", 111},
};

// The game key code of a key by its place; 0 for keys the game does not know.
int GameKey(const char* code) {
    const size_t length = std::strlen(code);
    if (length == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') return code[3];
    if (length == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') return code[5];
    if (length == 7 && std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9') {
        return 96 + (code[6] - '0');
    }
    if (code[0] == 'F' && length >= 2 && length <= 3) {
        const int n = std::atoi(code + 1);
        if (n >= 1 && n <= 12) return 111 + n;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (std::strcmp(named.code, code) == 0) return named.key;
    }
    return 0;
}

// Whether the browser keeps a key's own meaning: with Control, Alt or the system key held (reload, close, new
// tab...), and the function keys the game does not use (F5 reloads, F12 opens the developer tools).
bool BrowserKeeps(const EmscriptenKeyboardEvent& event, int key) {
    if (event.ctrlKey || event.altKey || event.metaKey) return true;
    if (key >= 112 && key <= 123) return key != 112 && key != 113 && key != 115 && key != 122;
    return key == 0 || key == 9;
}

// The one character a key typed, as its UTF-8 name gives it; 0 for a named key ("Enter", "ArrowUp").
int TypedCharacter(const char* name) {
    const auto* s = reinterpret_cast<const unsigned char*>(name);
    if (s[0] == 0) return 0;
    if (s[0] < 0x80) return s[1] == 0 ? s[0] : 0;
    if ((s[0] & 0xE0) == 0xC0 && s[1] && s[2] == 0) return ((s[0] & 0x1F) << 6) | (s[1] & 0x3F);
    if ((s[0] & 0xF0) == 0xE0 && s[1] && s[2] && s[3] == 0) {
        return ((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
    }
    return 0;
}

EM_BOOL OnKey(int eventType, const EmscriptenKeyboardEvent* event, void*) {
    KpGame* game = KpGame::_game;
    const int key = GameKey(event->code);
    if (eventType == EMSCRIPTEN_EVENT_KEYUP) {
        if (key != 0) game->KeyEvent(KpEventKeyUp, key);
        return !BrowserKeeps(*event, key);
    }
    // NOTE: a held key's repeats come as further presses, as the desktop's key repeat gives them: the key is
    // already down, and each repeats its character.
    if (key != 0) {
        game->KeyEvent(KpEventKeyDown, key);
        if (const int character = kpKeyToChar(key)) game->KeyEvent(KpEventKeyChar, character);
    }
    if (!event->ctrlKey && !event->metaKey) {
        if (const int character = TypedCharacter(event->key)) game->KeyEvent(KpEventKeyChar, character);
    }
    return !BrowserKeeps(*event, key);
}

// A point of the page in the canvas's pixels.
EM_JS(void, quorlix_canvas_point, (double clientX, double clientY, float* out), {
    var canvas = Module['canvas'];
    var box = canvas.getBoundingClientRect();
    HEAPF32[out >> 2] = box.width > 0 ? (clientX - box.left) * canvas.width / box.width : 0;
    HEAPF32[(out >> 2) + 1] = box.height > 0 ? (clientY - box.top) * canvas.height / box.height : 0;
});

// The desktop's button numbers: 0 left, 1 right, 2 middle (the page numbers the middle 1 and the right 2).
int GameButton(int pageButton) { return pageButton == 1 ? 2 : pageButton == 2 ? 1 : pageButton; }

EM_BOOL OnMouse(int eventType, const EmscriptenMouseEvent* event, void*) {
    KpGame* game = KpGame::_game;
    float at[2];
    quorlix_canvas_point(static_cast<double>(event->clientX), static_cast<double>(event->clientY), at);
    switch (eventType) {
        case EMSCRIPTEN_EVENT_MOUSEDOWN:
            if (event->button > 2) return EM_FALSE;
            game->MouseEvent(KpEventMouseDown, GameButton(event->button), at[0], at[1]);
            return EM_TRUE;
        case EMSCRIPTEN_EVENT_MOUSEUP:
            if (event->button > 2) return EM_FALSE;
            game->MouseEvent(KpEventMouseUp, GameButton(event->button), at[0], at[1]);
            return EM_FALSE;
        default:
            game->MouseEvent(KpEventMouseMove, -1, at[0], at[1]);
            return EM_FALSE;
    }
}

// Touches by the page's identifier, in the game's touch indices 0..31: a new touch takes the lowest free index,
// so one finger alone is always touch 0, which the game also reads as the pointer.
constexpr int kTouchSlots = 32;
long touchIds[kTouchSlots];
bool touchUsed[kTouchSlots];

int TouchSlot(long identifier, bool take) {
    for (int i = 0; i < kTouchSlots; ++i) {
        if (touchUsed[i] && touchIds[i] == identifier) return i;
    }
    if (!take) return -1;
    for (int i = 0; i < kTouchSlots; ++i) {
        if (!touchUsed[i]) {
            touchUsed[i] = true;
            touchIds[i] = identifier;
            return i;
        }
    }
    return -1;
}

EM_BOOL OnTouch(int eventType, const EmscriptenTouchEvent* event, void*) {
    KpGame* game = KpGame::_game;
    for (int t = 0; t < event->numTouches; ++t) {
        const EmscriptenTouchPoint& touch = event->touches[t];
        if (!touch.isChanged) continue;
        float at[2];
        quorlix_canvas_point(static_cast<double>(touch.clientX), static_cast<double>(touch.clientY), at);
        if (eventType == EMSCRIPTEN_EVENT_TOUCHSTART) {
            const int slot = TouchSlot(touch.identifier, true);
            if (slot >= 0) game->TouchEvent(KpEventTouchDown, slot, at[0], at[1]);
        } else if (eventType == EMSCRIPTEN_EVENT_TOUCHMOVE) {
            const int slot = TouchSlot(touch.identifier, false);
            if (slot >= 0) game->TouchEvent(KpEventTouchMove, slot, at[0], at[1]);
        } else {
            const int slot = TouchSlot(touch.identifier, false);
            if (slot < 0) continue;
            touchUsed[slot] = false;
            game->TouchEvent(KpEventTouchUp, slot, at[0], at[1]);
        }
    }
    // NOTE: taken from the page: no scrolling, no zoom, and no mouse events made up after the touch.
    return EM_TRUE;
}

EM_BOOL OnVisibility(int, const EmscriptenVisibilityChangeEvent* event, void*) {
    if (KpWebGame::_webGame) KpWebGame::_webGame->SetPageVisible(!event->hidden);
    return EM_FALSE;
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
    emscripten_set_visibilitychange_callback(nullptr, EM_TRUE, OnVisibility);
}

// ---- Pads ----

namespace {

// Browser gamepad indices of the four pad units, found again at each poll of unit 0; -1 for none.
int padIndex[4] = {-1, -1, -1, -1};

// A gamepad in the browser's standard layout: face buttons 0 bottom, 1 right, 2 left, 3 top; 4 and 5 the
// shoulders, 6 and 7 the triggers, 8 back, 9 start, 10 and 11 the sticks' presses, 12 to 15 the direction pad
// up, down, left, right; axes 0 and 1 the left stick, 2 and 3 the right, down and right positive.
// The pad slots, in the game's order: 0 to 5 its buttons (select, cancel, then four more), 6 and 7 back, 8 to
// 11 the direction pad left, up, right, down, 12 and 13 two the game does not read.
constexpr int kStandardSlots[14] = {0, 1, 2, 3, 4, 5, 8, 9, 14, 12, 15, 13, 10, 11};

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
    auto axis = [&](int i) { return i < pad.numAxes ? static_cast<float>(pad.axis[i]) : 0.0f; };
    auto pressed = [&](int i) { return i < pad.numButtons && pad.digitalButton[i]; };
    auto analog = [&](int i) { return i < pad.numButtons ? static_cast<float>(pad.analogButton[i]) : 0.0f; };
    // NOTE: the game reads a stick pushed away from the player as a positive vertical value; browsers report it
    // negative.
    joyx[0] = axis(0);
    joyy[0] = -axis(1);
    joyz[0] = analog(6);
    joyx[1] = axis(2);
    joyy[1] = -axis(3);
    joyz[1] = analog(7);
    for (int slot = 0; slot < buttons.Length(); ++slot) buttons[slot] = false;
    for (int slot = 0; slot < 14 && slot < buttons.Length(); ++slot) buttons[slot] = pressed(kStandardSlots[slot]);
    return true;
}
