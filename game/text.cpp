// c_MyApp, text, buttons and hit tests: bitmap text recorded glyph by glyph into the draw list, with kerning,
// alignment, rotation, line breaks and inline pad or keyboard icons; a few text helpers; and the pointer tests
// screens use on the touch slots that each update prepares in virtual units.
// Depends on the draw list (p_DrawImg, p_Rect, the draw state), the font slots' info from the loader and the app
// module's millisecond clock (the icons' blink).
// NOTE: a glyph is one image record, so text takes the current colour, alpha, scale and rotation like any image.
#include <cmath>
#include <numbers>

#include "framework/app/app.h"
#include "game/myapp.h"

namespace {

constexpr int kImageSlots = 100;
constexpr int kTouchSlots = 10;
// The escape that puts an icon in text ("¬" and a letter).
constexpr int kIconEscape = 0xAC;
// Keyboard keycaps sit this many frames after the pad icons.
constexpr int kKeyboardIcons = 16;
// The side of a font's glyph cell, in virtual units.
constexpr float kFontCell = 16;
// The pressed forms blink: shown for the first 200 ms of every 500 ms.
constexpr int kBlinkPeriodMs = 500, kBlinkShownMs = 200;

// The kerning of a character code: what is added to the font's advance. Characters the table does not name
// keep the given adjust (0 for letters; an icon keeps its own).
int Kerning(int code, int otherwise) {
    switch (code) {
        case 'w': case 'm': return 2;
        case 'W': case 'M': return 1;
        case 'i': case 'f': case 'l': return -3;
        case 'j': case 's': case 'k': case 'r': case 'z': case 't': case 'n': return -1;
        default: return otherwise;
    }
}

struct Icon {
    int frame;    // the pad icon's frame
    int pressed;  // the frame of its pressed form, or -1 for none
    int adjust;   // added to the advance
};

// The icon a letter after "¬" names; any other character names the frame of its own code.
Icon IconFor(int letter) {
    switch (letter) {
        case 'J': return {96, 109, 4};
        case 'K': return {97, 109, 4};
        case 'L': return {98, 109, 4};
        case 'I': return {99, 109, 4};
        case 'U': return {100, 110, 6};
        case 'O': return {101, 110, 6};
        case 'Q': return {102, -1, 4};
        case 'E': return {103, -1, 4};
        case 'F': return {104, -1, 4};
        case 'W': return {105, 104, 4};
        case 'S': return {106, 104, 4};
        case 'A': return {107, 104, 4};
        case 'D': return {108, 104, 4};
        default: return {letter, -1, 4};
    }
}

double Sin(double degrees) { return std::sin(degrees * std::numbers::pi / 180.0); }
double Cos(double degrees) { return std::cos(degrees * std::numbers::pi / 180.0); }

// Whether the blinking pressed form of an icon shows now.
bool BlinkShown() {
    int phase = kp_app_Millisecs() % kBlinkPeriodMs;
    if (phase < 0) phase += kBlinkPeriodMs;
    return phase < kBlinkShownMs;
}

}  // namespace

float c_MyApp::p_TextWidth(const String& text, float advance, float scale) const {
    // The text is drawn with one space in front, which counts; every character but the last does, truncated to
    // whole units after each one; an icon counts as 2.
    const int length = text.Length() + 1;
    auto at = [&](int i) { return i == 0 ? int{' '} : text[i - 1]; };
    float width = 0;
    for (int i = 0; i < length - 1; ++i) {
        int adjust = Kerning(at(i), 0);
        if (at(i) == kIconEscape) {
            adjust = 2;
            ++i;
        }
        width = std::trunc(width + (static_cast<float>(adjust) + advance) * scale);
    }
    return width;
}

float c_MyApp::p_FitUpright(const String& text, float scale, float room) const {
    if (m_landscape == 1) return scale;
    // NOTE: glyphs are drawn centred on the pen, so the text's cells reach half a cell before its first pen
    // position and half a cell past its last, which lies the measured width on.
    const float advance = static_cast<float>(m_imageInfo[m_font * 3]);
    const float reach = p_TextWidth(text, advance, scale) + kFontCell * scale;
    return reach > room && reach > 0 ? scale * room / reach : scale;
}

int c_MyApp::p_Text(float x, float y, const String& text, float alignX, float alignY, int fontOffset) {
    const int slot = m_font + fontOffset;
    // NOTE: a slot outside the 100 image slots has no font info to measure with; it records nothing.
    if (slot < 0 || slot >= kImageSlots) return 0;
    const float advance = static_cast<float>(m_imageInfo[slot * 3]);
    const float lineHeight = static_cast<float>(m_imageInfo[slot * 3 + 1]);

    // The text is drawn with one space in front; index 0 stands for that space so nothing is allocated.
    const int length = text.Length() + 1;
    auto at = [&](int i) { return i == 0 ? int{' '} : text[i - 1]; };
    const float width = p_TextWidth(text, advance, m_drawScaleX);

    const double theta = -m_drawRotation;
    const double lineStep = lineHeight * m_drawScaleY;
    const double a = theta - 90.0, b = theta;
    const float startX = static_cast<float>(x + Sin(a) * width * alignX * 0.5 + Sin(b) * lineStep * (alignY - 1) * 0.5);
    const float startY = static_cast<float>(y - alignX * 0.5 * Cos(a) * width - (alignY - 1) * 0.5 * lineStep * Cos(b));
    // The pen's step per unit of advance and per line, along and across the text's direction.
    const float alongX = static_cast<float>(Sin(90.0 + theta)), alongY = static_cast<float>(-Cos(90.0 + theta));
    const float acrossX = static_cast<float>(Sin(180.0 + theta)), acrossY = static_cast<float>(-Cos(180.0 + theta));

    float penX = startX, penY = startY;
    int line = 0;
    for (int i = 0; i < length; ++i) {
        int code = at(i);
        int adjust = Kerning(code, 0);
        if (code == kIconEscape && i + 1 < length) {
            const Icon icon = IconFor(at(++i));
            const bool pressed = m_controlMode == 1 && icon.pressed >= 0 && BlinkShown();
            int frame = pressed ? icon.pressed : icon.frame;
            if (!pressed && m_controlMode == 0) frame += kKeyboardIcons;
            // The icon is placed as the glyph of its frame: frame f shows character f + 32.
            code = frame + 32;
            adjust = Kerning(code, icon.adjust);
        } else if (code == '\\' && i + 1 < length && at(i + 1) == 'n') {
            ++i;
            ++line;
            const float across = static_cast<float>(line) * lineHeight * m_drawScaleY;
            penX = startX + acrossX * across + alongX * advance * m_drawScaleX;
            penY = startY + acrossY * across;
            continue;
        }
        const int frame = code - 32;
        if (frame >= 1 && frame <= 127) p_DrawImg(slot, penX, penY, static_cast<float>(frame));
        if (frame != -32) {
            const float step = (static_cast<float>(adjust) + advance) * m_drawScaleX;
            penX += alongX * step;
            penY += alongY * step;
        }
    }
    return 0;
}

String c_MyApp::p_rstr(int value, int width, const String& pad) {
    if (width <= 0) return String();
    String padded;
    for (int i = 0; i < width; ++i) padded += pad;
    padded += String(value);
    return padded.Slice(padded.Length() > width ? padded.Length() - width : 0);
}

int c_MyApp::p_Button(int slot, float x, float y, int frame) {
    p_DrawImg(slot, x, y, static_cast<float>(frame));
    m_buttonHit = 0;
    // NOTE: a slot outside the 100 image slots has no size: nothing is inside it.
    if (slot < 0 || slot >= kImageSlots || m_pointerDown < 1) return 0;
    const float halfW = static_cast<float>(m_imageInfo[slot * 3]) * m_imageScale * m_drawScaleX * 0.5f;
    const float halfH = static_cast<float>(m_imageInfo[slot * 3 + 1]) * m_imageScale * m_drawScaleY * 0.5f;
    m_buttonHit = p_MouseIn_Centered(x, y, halfW * 2, halfH * 2);
    return m_buttonHit;
}

int c_MyApp::p_MouseIn(float x, float y, float w, float h) {
    for (int i = 0; i < kTouchSlots; ++i) {
        if (!m_touchDown[i]) continue;
        const float tx = static_cast<float>(m_touchX[i]), ty = static_cast<float>(m_touchY[i]);
        if (x < tx && tx < x + w && y < ty && ty < y + h) return 1;
    }
    return 0;
}

int c_MyApp::p_MouseIn_Centered(float cx, float cy, float w, float h) {
    for (int i = 0; i < kTouchSlots; ++i) {
        if (!m_touchDown[i]) continue;
        const float tx = static_cast<float>(m_touchX[i]), ty = static_cast<float>(m_touchY[i]);
        if (cx - w / 2 < tx && tx < cx + w / 2 && cy - h / 2 < ty && ty < cy + h / 2) return 1;
    }
    return 0;
}

int c_MyApp::p_MouseIn_Radius(float cx, float cy, float w, float h) {
    const float reach = (w / 2) * (w / 2) + (h / 2) * (h / 2);
    for (int i = 0; i < kTouchSlots; ++i) {
        if (!m_touchDown[i]) continue;
        const float dx = static_cast<float>(m_touchX[i]) - cx, dy = static_cast<float>(m_touchY[i]) - cy;
        if (dx * dx + dy * dy <= reach) return 1;
    }
    return 0;
}

int c_MyApp::p_Touch(float x, float y, float w, float h) {
    p_Rect(x, y, w, h);
    // NOTE: the margin is 6 before the rectangle and 12 after it, so a finger just below or right still counts.
    for (int i = 0; i < kTouchSlots; ++i) {
        if (!m_touchDown[i]) continue;
        const float tx = static_cast<float>(m_touchX[i]), ty = static_cast<float>(m_touchY[i]);
        if (x - 6 < tx && tx < x + w + 12 && y - 6 < ty && ty < y + h + 12) return 1;
    }
    return 0;
}
