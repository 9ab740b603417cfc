// Input mapping shared by the hosts: key names to game key codes, typed characters, mouse buttons, touch slots
// and the reading of a pad through an interface's raw tables.
// Depends on the C library's string functions and the runtime's Array.
#include "host/input_map.h"

#include <cstdlib>  // atoi
#include <cstring>  // strcmp, strlen, strncmp

namespace {

struct NamedKey {
    const char* code;
    int key;
};

// The named keys the game knows, by the page's name for their place, with their game key codes; every other key
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

// Whether a byte continues a UTF-8 character.
bool Continues(unsigned char byte) { return (byte & 0xC0) == 0x80; }

}  // namespace

int kpGameKeyOfCode(const char* code) {
    const size_t length = std::strlen(code);
    if (length == 4 && std::strncmp(code, "Key", 3) == 0 && code[3] >= 'A' && code[3] <= 'Z') return code[3];
    if (length == 6 && std::strncmp(code, "Digit", 5) == 0 && code[5] >= '0' && code[5] <= '9') return code[5];
    if (length == 7 && std::strncmp(code, "Numpad", 6) == 0 && code[6] >= '0' && code[6] <= '9') {
        return 96 + (code[6] - '0');
    }
    if (code[0] == 'F' && length >= 2 && length <= 3 && code[1] >= '1' && code[1] <= '9') {
        const int n = std::atoi(code + 1);
        if (n >= 1 && n <= 12) return 111 + n;
    }
    for (const NamedKey& named : kNamedKeys) {
        if (std::strcmp(named.code, code) == 0) return named.key;
    }
    return 0;
}

bool kpBrowserKeepsKey(int key, bool commandHeld) {
    if (commandHeld) return true;
    if (key >= 112 && key <= 123) return key != 112 && key != 113 && key != 115 && key != 122;
    return key == 0 || key == 9;
}

int kpTypedCharacter(const char* name) {
    const auto* s = reinterpret_cast<const unsigned char*>(name);
    if (s[0] == 0) return 0;
    if (s[0] < 0x80) return s[1] == 0 ? s[0] : 0;
    if ((s[0] & 0xE0) == 0xC0 && Continues(s[1]) && s[2] == 0) return ((s[0] & 0x1F) << 6) | (s[1] & 0x3F);
    if ((s[0] & 0xF0) == 0xE0 && Continues(s[1]) && Continues(s[2]) && s[3] == 0) {
        return ((s[0] & 0x0F) << 12) | ((s[1] & 0x3F) << 6) | (s[2] & 0x3F);
    }
    return 0;
}

int kpGameMouseButton(int pageButton) { return pageButton == 1 ? 2 : pageButton == 2 ? 1 : pageButton; }

// ---- Touches ----

int KpTouchSlots::Take(long identifier) {
    const int held = Find(identifier);
    if (held >= 0) return held;
    for (int i = 0; i < kCount; ++i) {
        if (!used_[i]) {
            used_[i] = true;
            ids_[i] = identifier;
            return i;
        }
    }
    return -1;
}

int KpTouchSlots::Find(long identifier) const {
    for (int i = 0; i < kCount; ++i) {
        if (used_[i] && ids_[i] == identifier) return i;
    }
    return -1;
}

int KpTouchSlots::Release(long identifier) {
    const int slot = Find(identifier);
    if (slot >= 0) used_[slot] = false;
    return slot;
}

// ---- Pads ----

void kpReadPad(const KpPadTables& tables, const KpRawPad& pad, Array<float> joyx, Array<float> joyy,
               Array<float> joyz, Array<bool> buttons) {
    auto axis = [&](int i) { return i < pad.axisCount ? pad.axes[i] : 0.0f; };
    auto pressed = [&](int i) { return i >= 0 && i < pad.buttonCount && pad.pressed[i]; };
    float out[kPadStickOutputs];
    for (int i = 0; i < kPadStickOutputs; ++i) {
        const int code = tables.axes[i];
        if (code < 16) out[i] = axis(code);
        else if (code < 32) out[i] = (1 + axis(code - 16)) * 0.5f;
        else if (code < 64) out[i] = (1 - axis(code - 32)) * 0.5f;
        else if (code < 128) out[i] = -axis(code - 64);
        else out[i] = pressed(code - 128) ? 1.0f : 0.0f;
    }
    joyx[0] = out[0];
    joyy[0] = out[1];
    joyz[0] = out[2];
    joyx[1] = out[3];
    joyy[1] = out[4];
    joyz[1] = out[5];
    buttons.Fill(false);
    for (int slot = 0; slot < kPadMappedSlots && slot < buttons.Length(); ++slot) {
        const int source = tables.buttons[slot];
        buttons[slot] = pressed(source >= 0 ? source : pad.buttonCount + source);
    }
}
