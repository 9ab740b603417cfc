// The shared input mapping: page key names against the desktop's keys, typed characters, touch slots, and pads
// read per physical control through the desktop's two layouts and the browser's standard gamepad.
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

#include "host/desktop/glfwgame.h"  // TransKey: the desktop's game key of the same place
#include "host/input_map.h"

namespace {

// Every key the game reads, and some it does not, by the page's name and the desktop's, give one game key code.
TEST(InputMapTest, PageKeysGiveTheDesktopsGameKeyCodes) {
    struct Row { std::string code; int glfwKey, key; };
    std::vector<Row> rows = {
        {"Space", 32, 32}, {"Quote", 39, 222}, {"Comma", 44, 188}, {"Minus", 45, 189}, {"Period", 46, 190},
        {"Slash", 47, 191}, {"Semicolon", 59, 186}, {"Equal", 61, 187}, {"BracketLeft", 91, 219},
        {"Backslash", 92, 220}, {"BracketRight", 93, 221}, {"Backquote", 96, 192}, {"Escape", glfw2::KEY_ESC, 27},
        {"ArrowUp", glfw2::KEY_UP, 38}, {"ArrowDown", glfw2::KEY_DOWN, 40}, {"ArrowLeft", glfw2::KEY_LEFT, 37},
        {"ArrowRight", glfw2::KEY_RIGHT, 39}, {"ShiftLeft", glfw2::KEY_LSHIFT, 16},
        {"ShiftRight", glfw2::KEY_RSHIFT, 16}, {"ControlLeft", glfw2::KEY_LCTRL, 17},
        {"ControlRight", glfw2::KEY_RCTRL, 17}, {"Tab", glfw2::KEY_TAB, 9}, {"Enter", glfw2::KEY_ENTER, 13},
        {"Backspace", glfw2::KEY_BACKSPACE, 8}, {"Insert", glfw2::KEY_INSERT, 45}, {"Delete", glfw2::KEY_DEL, 46},
        {"PageUp", glfw2::KEY_PAGEUP, 33}, {"PageDown", glfw2::KEY_PAGEDOWN, 34}, {"Home", glfw2::KEY_HOME, 36},
        {"End", glfw2::KEY_END, 35}, {"NumpadMultiply", glfw2::KEY_KP_MULTIPLY, 106},
        {"NumpadAdd", glfw2::KEY_KP_ADD, 107}, {"NumpadSubtract", glfw2::KEY_KP_SUBTRACT, 109},
        {"NumpadDecimal", glfw2::KEY_KP_DECIMAL, 110}, {"NumpadDivide", glfw2::KEY_KP_DIVIDE, 111},
        // Keys the game leaves alone, on both hosts.
        {"AltLeft", glfw2::KEY_LALT, 0}, {"F13", glfw2::KEY_F1 + 12, 0}, {"NumpadEnter", glfw2::KEY_KP_ENTER, 0},
        {"NumpadEqual", glfw2::KEY_KP_EQUAL, 0}, {"CapsLock", glfw2::KEY_CAPS_LOCK, 0},
        {"Pause", glfw2::KEY_PAUSE, 0}, {"MetaLeft", glfw2::KEY_LSUPER, 0}, {"ContextMenu", glfw2::KEY_MENU, 0},
    };
    for (char c = 'A'; c <= 'Z'; ++c) rows.push_back({std::string("Key") + c, c, c});
    for (int d = 0; d <= 9; ++d) {
        rows.push_back({"Digit" + std::to_string(d), '0' + d, '0' + d});
        rows.push_back({"Numpad" + std::to_string(d), glfw2::KEY_KP_0 + d, 96 + d});
    }
    for (int f = 1; f <= 12; ++f) rows.push_back({"F" + std::to_string(f), glfw2::KEY_F1 + f - 1, 111 + f});
    for (const Row& row : rows) {
        EXPECT_EQ(kpGameKeyOfCode(row.code.c_str()), row.key) << row.code;
        EXPECT_EQ(KpGlfwGame::TransKey(row.glfwKey), row.key) << row.code;
    }
    for (const char* none : {"", "F", "F0", "F+1", "Key", "Keya", "KeyAB", "Digit", "Numpad", "IntlBackslash"}) {
        EXPECT_EQ(kpGameKeyOfCode(none), 0) << none;
    }
}

TEST(InputMapTest, BrowserKeepsItsKeysAndThePagesMouseButtonsAreTheDesktops) {
    EXPECT_TRUE(kpBrowserKeepsKey('R', true));
    for (int key : {0, 9, 114, 116, 117, 118, 119, 120, 121, 123}) EXPECT_TRUE(kpBrowserKeepsKey(key, false)) << key;
    for (int key : {int{'R'}, 13, 27, 38, 112, 113, 115, 122}) EXPECT_FALSE(kpBrowserKeepsKey(key, false)) << key;
    EXPECT_EQ(kpGameMouseButton(0), 0);
    EXPECT_EQ(kpGameMouseButton(1), 2);  // the page's middle button
    EXPECT_EQ(kpGameMouseButton(2), 1);
}

TEST(InputMapTest, TypedCharacterIsOneWellFormedCharacterOfUpToThreeBytes) {
    EXPECT_EQ(kpTypedCharacter("a"), 'a');
    EXPECT_EQ(kpTypedCharacter(" "), ' ');
    EXPECT_EQ(kpTypedCharacter("\xC3\xA9"), 0xE9);        // e acute
    EXPECT_EQ(kpTypedCharacter("\xE2\x82\xAC"), 0x20AC);  // euro sign
    for (const char* none : {"", "Enter", "ArrowUp", "ab", "\xF0\x9F\x98\x80", "\xC3", "\xC3(", "\xE2\x82",
                             "\xE2(\xAC", "\xC3\xA9x", "\x82"}) {
        EXPECT_EQ(kpTypedCharacter(none), 0) << none;
    }
}

TEST(InputMapTest, TouchesTakeTheLowestFreeOfThirtyTwoSlots) {
    KpTouchSlots slots;
    EXPECT_EQ(slots.Find(7), -1);  // a move of a touch never seen
    for (int i = 0; i < KpTouchSlots::kCount; ++i) ASSERT_EQ(slots.Take(1000 + i), i);
    EXPECT_EQ(slots.Take(5000), -1);  // a 33rd touch is refused
    EXPECT_EQ(slots.Take(1003), 3);   // a touch already held keeps its slot
    EXPECT_EQ(slots.Release(1003), 3);
    EXPECT_EQ(slots.Find(1003), -1);
    EXPECT_EQ(slots.Release(1003), -1);
    EXPECT_EQ(slots.Take(5000), 3);
    EXPECT_EQ(slots.Find(1031), 31);
}

// The raw tables the desktop's window layer has always been read through, and the browser's standard pad's.
TEST(InputMapTest, PadLayoutsGiveTheirRawTables) {
    using Buttons = std::array<int, kPadMappedSlots>;
    using Axes = std::array<int, kPadStickOutputs>;
    EXPECT_EQ(kpPadTables(kDesktopPadLayoutA).buttons, (Buttons{0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 8, 9}));
    EXPECT_EQ(kpPadTables(kDesktopPadLayoutB).buttons, (Buttons{1, 2, 0, 3, 4, 5, 8, 9, -4, -3, -2, -1, 10, 11}));
    EXPECT_EQ(kpPadTables(kDesktopPadLayoutA).axes, (Axes{0, 1, 2, 4, 67, 66}));
    EXPECT_EQ(kpPadTables(kDesktopPadLayoutB).axes, (Axes{0, 1, 134, 2, 67, 135}));
    EXPECT_EQ(kpPadTables(kBrowserStandardPad).buttons, (Buttons{0, 1, 2, 3, 4, 5, 8, 9, 14, 12, 15, 13, 10, 11}));
    EXPECT_EQ(kpPadTables(kBrowserStandardPad).axes, (Axes{0, 65, 134, 2, 3, 135}));
}

// A pad's state as the game reads it.
struct Reading {
    Array<float> joyx = Array<float>(2), joyy = Array<float>(2), joyz = Array<float>(2);
    Array<bool> buttons = Array<bool>(16);
    std::vector<int> Pressed() const {
        std::vector<int> on;
        for (int slot = 0; slot < buttons.Length(); ++slot) if (buttons[slot]) on.push_back(slot);
        return on;
    }
};

Reading Read(const KpPadLayout& layout, std::vector<float> axes, std::vector<int> down, int buttonCount) {
    bool pressed[32] = {};
    for (int b : down) pressed[b] = true;
    Reading r;
    kpReadPad(kpPadTables(layout), {axes.data(), int(axes.size()), pressed, buttonCount}, r.joyx, r.joyy, r.joyz,
              r.buttons);
    return r;
}

// Each physical action, made on each interface in its own numbering, does the same in the game.
TEST(InputMapTest, ThePhysicalControlDoesTheSameOnEveryInterface) {
    struct Action { const char* what; std::vector<float> a, b, web; std::vector<int> downA, downB, downWeb;
                    std::vector<int> slots; float out[6]; bool bothTriggersOnOneAxisOfA = false; };
    const std::vector<Action> actions = {
        {"bottom face button (select)", {}, {}, {}, {0}, {1}, {0}, {0}, {}},
        {"right face button (cancel)", {}, {}, {}, {1}, {2}, {1}, {1}, {}},
        {"left and top face buttons", {}, {}, {}, {2, 3}, {0, 3}, {2, 3}, {2, 3}, {}},
        {"shoulders, back, start", {}, {}, {}, {4, 5, 6, 7}, {4, 5, 8, 9}, {4, 5, 8, 9}, {4, 5, 6, 7}, {}},
        {"d-pad left and down", {}, {}, {}, {10, 13}, {12, 15}, {14, 13}, {8, 11}, {}},
        {"d-pad up and right", {}, {}, {}, {11, 12}, {13, 14}, {12, 15}, {9, 10}, {}},
        {"stick presses", {}, {}, {}, {8, 9}, {10, 11}, {10, 11}, {12, 13}, {}},
        {"left stick right and away", {0.5f, 0.7f}, {0.5f, 0.7f}, {0.5f, -0.7f}, {}, {}, {}, {},
         {0.5f, 0.7f, 0, 0, 0, 0}},
        {"right stick left and away", {0, 0, 0, 0.7f, -0.5f}, {0, 0, -0.5f, 0.7f}, {0, 0, -0.5f, -0.7f}, {}, {}, {},
         {}, {0, 0, 0, -0.5f, -0.7f, 0}},
        {"left trigger pulled", {}, {}, {}, {}, {6}, {6}, {}, {0, 0, 1, 0, 0, 0}, true},
        {"right trigger pulled", {}, {}, {}, {}, {7}, {7}, {}, {0, 0, 0, 0, 0, 1}, true},
    };
    for (const Action& act : actions) {
        // Layout A pads have 10 buttons and the hat; the others 12 and the hat, the browser's 17.
        std::vector<Reading> readings = {Read(kDesktopPadLayoutB, act.b, act.downB, 16),
                                         Read(kBrowserStandardPad, act.web, act.downWeb, 17)};
        if (!act.bothTriggersOnOneAxisOfA) readings.push_back(Read(kDesktopPadLayoutA, act.a, act.downA, 14));
        for (const Reading& r : readings) {
            EXPECT_EQ(r.Pressed(), act.slots) << act.what;
            const float out[6] = {r.joyx[0], r.joyy[0], r.joyz[0], r.joyx[1], r.joyy[1], r.joyz[1]};
            for (int i = 0; i < 6; ++i) EXPECT_FLOAT_EQ(out[i], act.out[i]) << act.what << ", output " << i;
        }
    }
    // Layout A's triggers share an axis, the left positive: each output reads its own trigger pulled as positive.
    EXPECT_FLOAT_EQ(Read(kDesktopPadLayoutA, {0, 0, 0.8f}, {}, 14).joyz[0], 0.8f);
    EXPECT_FLOAT_EQ(Read(kDesktopPadLayoutA, {0, 0, -0.8f}, {}, 14).joyz[1], 0.8f);
}

TEST(InputMapTest, ReadingPadsOutsideTheirReportedRange) {
    // The half-range codes, and axes and buttons past what the pad reports (even a raw array holding more).
    const KpPadTables tables = {{0, 1, 2, 3, 4, 5, 6, 7, -4, -3, -2, -1, 20, -20},
                                {16, 32, 16 + 3, 3, 64 + 3, 128 + 3}};
    const float axes[4] = {0.5f, 0.5f, 0, 0.9f};
    const bool pressed[32] = {true, true, true, true};
    Reading r;
    r.buttons.Fill(true);  // slots past the fourteenth too
    kpReadPad(tables, {axes, 3, pressed, 3}, r.joyx, r.joyy, r.joyz, r.buttons);
    EXPECT_EQ((std::vector<float>{r.joyx[0], r.joyy[0], r.joyz[0], r.joyx[1], r.joyy[1], r.joyz[1]}),
              (std::vector<float>{0.75f, 0.25f, 0.5f, 0.0f, 0.0f, 0.0f}));
    EXPECT_EQ(r.Pressed(), (std::vector<int>{0, 1, 2, 9, 10, 11}));  // 3 is past the count; 9..11 from its end
}

}  // namespace
