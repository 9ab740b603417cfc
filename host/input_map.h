// Input mapping shared by the hosts: the game key code of a key by the page's name for its place, the character
// a key's name types, the page's mouse buttons, touches in the game's touch slots, and pads read per physical
// control into the game's pad slots and stick outputs.
// Depends on the runtime's Array only (the pad reading is written into the game's arrays). No toolchain or
// window-system type reaches here, so both builds compile these tables and the desktop's unit tests cover what
// the web would otherwise meet only in a browser.
#pragma once

#include <array>

#include "runtime/array.h"

// ---- Keys and the mouse ----

// The game key code of a key by the page's name for its place (a keyboard event's `code`: "KeyA", "Digit1",
// "Numpad0", "F5", "ArrowUp"...); 0 for a key the game does not know.
int kpGameKeyOfCode(const char* code);

// Whether the page leaves a key to the browser: with Control, Alt or the system key held (reload, close, new
// tab...), an unknown key, Tab, and the function keys the game does not use (F5 reloads, F12 opens the developer
// tools).
bool kpBrowserKeepsKey(int key, bool commandHeld);

// The one character a key typed, from its UTF-8 name (a keyboard event's `key`) of one to three bytes; 0 for a
// named key ("Enter", "ArrowUp") or a name that is not one well-formed character.
int kpTypedCharacter(const char* name);

// The game's mouse button of a page button: 0 left, 1 right, 2 middle (the page numbers the middle 1, the right 2).
int kpGameMouseButton(int pageButton);

// ---- Touches ----

// The page's touches by identifier in the game's touch slots 0..31.
// NOTE: a new touch takes the lowest free slot, so one finger alone is always touch 0, which the game also reads
// as the pointer.
class KpTouchSlots {
public:
    static constexpr int kCount = 32;

    // The slot of a touch going down: its own when it is held already, else the lowest free; -1 when all are held.
    int Take(long identifier);
    // The slot of a held touch; -1 for one not held.
    int Find(long identifier) const;
    // Frees a held touch's slot and answers it; -1 for one not held.
    int Release(long identifier);

private:
    long ids_[kCount] = {};
    bool used_[kCount] = {};
};

// ---- Pads ----

// A pad's buttons by where they sit on it.
enum class KpPadControl {
    FaceBottom, FaceRight, FaceLeft, FaceTop,
    ShoulderLeft, ShoulderRight, TriggerLeft, TriggerRight,
    Back, Start, StickPressLeft, StickPressRight,
    DpadLeft, DpadUp, DpadRight, DpadDown,
};
constexpr int kPadControlCount = 16;

// A pad's analog inputs by where they sit on it. Each reads positive one way: a stick's x pushed right, its y
// pushed away from the player, a trigger pulled.
enum class KpPadAnalog { LeftStickX, LeftStickY, RightStickX, RightStickY, TriggerLeft, TriggerRight };
constexpr int kPadAnalogCount = 6;

constexpr int kPadMappedSlots = 14;  // the pad slots a pad fills; the input device keeps more
constexpr int kPadStickOutputs = 6;

// NOTE: the game's pad is written once, by physical control. Each interface numbers a pad's raw buttons and axes
// its own way (an old joystick interface, a generic pad's order, the browser's standard gamepad), so a table of
// raw numbers per interface would let the same button act differently from one host to another; an interface
// only says where each control sits in its numbering, and its raw tables follow from these two.

// The game's pad slots by the control that fills them: 0 select, 1 cancel, 2 to 5 four more buttons, 6 and 7
// back and start, 8 to 11 the direction pad left, up, right, down, 12 and 13 the stick presses (unread).
inline constexpr std::array<KpPadControl, kPadMappedSlots> kPadSlotControls = {
    KpPadControl::FaceBottom,     KpPadControl::FaceRight,       KpPadControl::FaceLeft,  KpPadControl::FaceTop,
    KpPadControl::ShoulderLeft,   KpPadControl::ShoulderRight,   KpPadControl::Back,      KpPadControl::Start,
    KpPadControl::DpadLeft,       KpPadControl::DpadUp,          KpPadControl::DpadRight, KpPadControl::DpadDown,
    KpPadControl::StickPressLeft, KpPadControl::StickPressRight,
};

// One stick output: the analog input it reads, and its sign against that input's positive way.
struct KpPadOutput {
    KpPadAnalog analog;
    int sign;
};

// The six stick outputs, in the order joyx[0], joyy[0], joyz[0], joyx[1], joyy[1], joyz[1]: the left stick and
// trigger, then the right stick and trigger.
// NOTE: the second stick's y reads positive pulled toward the player, the first's pushed away: so the game has
// always been given them, and every host gives them alike.
inline constexpr std::array<KpPadOutput, kPadStickOutputs> kPadOutputSources = {{
    {KpPadAnalog::LeftStickX, 1},  {KpPadAnalog::LeftStickY, 1},   {KpPadAnalog::TriggerLeft, 1},
    {KpPadAnalog::RightStickX, 1}, {KpPadAnalog::RightStickY, -1}, {KpPadAnalog::TriggerRight, 1},
}};

// Where an interface has an analog input: one of its axes, with the axis's sign against the input's positive
// way, or one of its buttons (a trigger read as pulled or not).
struct KpPadAnalogSource {
    bool button;
    int index;
    int sign;
};

// Where an interface puts each of a pad's controls (KpPadControl order) and analog inputs (KpPadAnalog order).
// A negative button counts from the end of the button list, where the desktop's window layer puts the hat as four
// buttons; kPadNoButton, a control the interface gives as an axis, is never pressed.
struct KpPadLayout {
    std::array<int, kPadControlCount> buttons;
    std::array<KpPadAnalogSource, kPadAnalogCount> analogs;
};
constexpr int kPadNoButton = -1000;

// An interface's raw tables, in the game's order: the raw button of each slot (negative from the end), and the
// source code of each stick output: below 16 axis n as it is, 16+n (1+axis n)/2, 32+n (1-axis n)/2, 64+n axis n
// negated, 128+n 1.0 while button n is pressed and 0.0 otherwise.
struct KpPadTables {
    std::array<int, kPadMappedSlots> buttons;
    std::array<int, kPadStickOutputs> axes;
};

// The raw tables of an interface, from where it puts each control.
constexpr KpPadTables kpPadTables(const KpPadLayout& layout) {
    KpPadTables tables{};
    for (int slot = 0; slot < kPadMappedSlots; ++slot) {
        tables.buttons[slot] = layout.buttons[static_cast<int>(kPadSlotControls[slot])];
    }
    for (int i = 0; i < kPadStickOutputs; ++i) {
        const KpPadOutput output = kPadOutputSources[i];
        const KpPadAnalogSource source = layout.analogs[static_cast<int>(output.analog)];
        if (source.button) {
            tables.axes[i] = 128 + source.index;
        } else {
            tables.axes[i] = output.sign * source.sign > 0 ? source.index : 64 + source.index;
        }
    }
    return tables;
}

// Desktop layout A: a 360-style pad through the old Windows joystick interface, as the window layer gives it (14
// buttons, the hat last, and 5 axes): buttons 0 bottom, 1 right, 2 left, 3 top, 4 and 5 the shoulders, 6 back,
// 7 start, 8 and 9 the stick presses; axes 0 and 1 the left stick, 2 both triggers on one axis (the left
// positive), 3 the right stick's y, 4 its x. The window layer turns every odd axis so that a stick pushed away
// reads positive.
inline constexpr KpPadLayout kDesktopPadLayoutA = {
    {0, 1, 2, 3, 4, 5, kPadNoButton, kPadNoButton, 6, 7, 8, 9, -4, -3, -2, -1},
    {{{false, 0, 1}, {false, 1, 1}, {false, 4, 1}, {false, 3, 1}, {false, 2, 1}, {false, 2, -1}}},
};

// Desktop layout B, every other pad: the common generic order, buttons 0 left, 1 bottom, 2 right, 3 top, 4 and 5
// the shoulders, 6 and 7 the triggers, 8 back, 9 start, 10 and 11 the stick presses, the hat last; axes 0 and 1
// the left stick, 2 and 3 the right, odd axes turned by the window layer as above.
inline constexpr KpPadLayout kDesktopPadLayoutB = {
    {1, 2, 0, 3, 4, 5, 6, 7, 8, 9, 10, 11, -4, -3, -2, -1},
    {{{false, 0, 1}, {false, 1, 1}, {false, 2, 1}, {false, 3, 1}, {true, 6, 1}, {true, 7, 1}}},
};

// The browser's standard gamepad: buttons 0 bottom, 1 right, 2 left, 3 top, 4 and 5 the shoulders, 6 and 7 the
// triggers, 8 back, 9 start, 10 and 11 the stick presses, 12 to 15 the direction pad up, down, left, right; axes 0
// and 1 the left stick, 2 and 3 the right, each reading positive pushed right or pulled toward the player.
inline constexpr KpPadLayout kBrowserStandardPad = {
    {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 14, 12, 15, 13},
    {{{false, 0, 1}, {false, 1, -1}, {false, 2, 1}, {false, 3, -1}, {true, 6, 1}, {true, 7, 1}}},
};

// A pad's raw state as its interface reports it: axes beyond axisCount read 0, buttons beyond buttonCount are
// never pressed.
struct KpRawPad {
    const float* axes;
    int axisCount;
    const bool* pressed;
    int buttonCount;
};

// Reads a raw pad through an interface's tables into the game's stick outputs (two of each) and pad slots (every
// slot past the fourteenth is left released).
void kpReadPad(const KpPadTables& tables, const KpRawPad& pad, Array<float> joyx, Array<float> joyy,
               Array<float> joyz, Array<bool> buttons);
