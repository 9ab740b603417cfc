// c_MyApp, the menu's wheel of groups: its flick and easing, the hub with the options cog and the turning ring,
// dragging it round, and the seven group entries about the selection with their medals and names, the pointer
// line that selects, the end stops and the taps that select or start a group.
// Depends on the draw list and p_Text, the hit tests, the catalogue (group names), the sound cues and the result
// lists of the progress record (the medals).
// NOTE: angles are degrees clockwise from straight up; the selected group rests at 48 degrees, on the pointer
// line between 30 and 60.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kLastGroup = 55;
constexpr int kCircleSlot = 85, kHubFrame = 1, kRingFrame = 3;
constexpr int kButtonSlot = 95, kCogFrames[3] = {8, 9, 10};
constexpr int kMoveCue = 99, kConfirmCue = 98;
constexpr float kGroupAngle = 32.0f;

float SinDegrees(float degrees) { return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0)); }
float CosDegrees(float degrees) { return static_cast<float>(std::cos(degrees * std::numbers::pi / 180.0)); }

}  // namespace

void c_MyApp::p_DrawWheel() {
    if (!p_MenuClear()) return;
    m_wheelX = static_cast<int>(static_cast<float>(m_menuSlide) * 12 + 38);
    m_wheelY = static_cast<int>(kp_Search_jscrh - 64 - static_cast<float>(m_menuSlide) * 8);
    p_SpinWheel();
    p_DrawHubAndCog();
    p_DragWheel();
    p_DrawGroups();
}

void c_MyApp::p_SpinWheel() {
    if (m_wheelSpin != 0) {
        m_wheelTarget += m_wheelSpin;
        m_wheelSpin *= 0.75f;
        if (std::fabs(m_wheelSpin) < 1) m_wheelSpin = 0;
    }
    m_wheelAngle += (m_wheelTarget - m_wheelAngle) / 8;
    if (std::fabs(m_wheelTarget - m_wheelAngle) < 0.5f) m_wheelAngle = m_wheelTarget;
}

void c_MyApp::p_DrawHubAndCog() {
    const float x = static_cast<float>(m_wheelX), y = static_cast<float>(m_wheelY);
    p_ResetDraw();
    p_SetSize(0.5f, -3717);
    p_Alpha(m_menuFocus == 0 ? 0.8f : 0.25f);
    p_DrawImg(kCircleSlot, x, y, kHubFrame);
    // The cog's three layers turn at different speeds while it has the focus.
    if (m_menuFocus == 0) m_cogAngle = std::fmod(m_cogAngle + 0.3f, 360.0f);
    p_SetSize(1.5f, -3717);
    const float turns[3] = {1, -2, 4};
    for (int layer = 0; layer < 3; ++layer) {
        p_SetRot(m_cogAngle * turns[layer]);
        p_DrawImg(kButtonSlot, x, y, static_cast<float>(kCogFrames[layer]));
    }
    if (p_MouseIn_Centered(x, y, 64, 64) && m_keyLatch == 0 && m_pointerLatch == 0) {
        m_optionsOpen = 1;
        m_pointerLatch = 1;
        p_PlaySFX(kMoveCue, 1, 1, 0);
        m_menuFocus = 0;
    }
    p_SetSize(1.5625f, -3717);
    p_SetRot(m_wheelAngle);
    p_Alpha(m_menuFocus == 1 ? 0.8f : 0.25f);
    p_DrawImg(kCircleSlot, x, y, kRingFrame);
    p_ResetDraw();
}

void c_MyApp::p_DragWheel() {
    if (m_pointerDown == 0) m_dragX = -1;
    const float x = static_cast<float>(m_wheelX), y = static_cast<float>(m_wheelY);
    if (!p_MouseIn_Centered(x, y, 500, 500) || p_MouseIn_Centered(x, y, 64, 64) || m_pointerLatch > 0) return;
    if (m_dragX != -1) {
        // Dragging right or down turns the wheel on, left or up turns it back.
        const float d = static_cast<float>((m_dragX - m_mouseX) - m_mouseY + m_dragY);
        m_wheelSpin = std::clamp(m_wheelSpin - d * 0.25f, -40.0f, 40.0f);
        // A real drag is not a tap: the press is spent, without keeping a later press from dragging.
        if (std::fabs(d * 0.25f) > 1) m_keyLatch = m_pointerLatch = -1;
        m_menuFocus = 1;
    }
    m_dragX = m_mouseX;
    m_dragY = m_mouseY;
}

void c_MyApp::p_DrawGroups() {
    const int first = std::max(m_menuSel - 3, 0), last = std::min(m_menuSel + 3, kLastGroup);
    const bool settled = std::fabs(m_wheelAngle - m_wheelTarget) < 2;
    for (int e = first; e <= last; ++e) {
        const float angle = static_cast<float>(e) * kGroupAngle + 48 + m_wheelAngle;
        // Entries bulge outwards as they pass the top right, where the pointer line is.
        const float off = std::fabs(angle - 45);
        const float reach = 116 + (off <= 45 ? (45 - off) * 1.5f : 0.0f);
        const float x = static_cast<float>(m_wheelX) + SinDegrees(angle) * reach;
        const float y = static_cast<float>(m_wheelY) - CosDegrees(angle) * reach;
        if (std::fabs(m_wheelSpin) > 0.05f) {
            // End stops: the last group cannot be flicked past the line, nor the first one back over it.
            if (e == kLastGroup && (angle < 30 || angle > 200)) m_wheelSpin = 4;
            if (e == 0 && angle > 60 && angle < 200) m_wheelSpin = -4;
            // A pending tap keeps the wheel from taking the groups beside the one it chose.
            if (angle > 30 && angle < 60 && e != m_menuSel && !(m_wheelTapped && std::abs(e - m_menuSel) <= 1)) {
                m_menuSel = e;
                p_PlaySFX(kMoveCue, 1, 1, 0);
            }
        }
        const bool selected = e == m_menuSel;
        const float scale = selected ? 2.25f : 1.7f;
        p_SetSize(scale, -3717);
        p_SetRot((angle - 55) * 0.5f);
        p_SetCol(255, 255, 255, m_menuFocus == 1 ? 1.0f : 0.3f);
        p_DrawImg(kButtonSlot, x, y, static_cast<float>(std::clamp(m_scores[10 * e], 0, 6)));
        kp_GetAWordFunc_GetAWord(e, 0);
        // The trailing space makes the centring measure the whole name.
        p_SetSize(scale / 2, -3717);
        p_Text(x, y, kp_GetAWordFunc_GroupName + String(" "), 1, 1, 0);

        if (m_pointerLatch != 0 || m_wheelTapped != 0 || !settled) continue;
        if (selected && p_MouseIn_Radius(x, y, 64, 64)) {
            m_menuFocus = 1;
            m_pointerLatch = 1;
            p_PlaySFX(kConfirmCue, 1, 1, 0);
            p_RequestActivation();
        } else if (!selected && p_MouseIn_Radius(x, y, 52, 52)) {
            m_menuSel = e;
            m_wheelTarget = -kGroupAngle * static_cast<float>(e);
            m_menuFocus = 1;
            m_pointerLatch = -1;
            m_wheelTapped = 1;
            p_PlaySFX(kMoveCue, 1, 1, 0);
        }
    }
    p_ResetDraw();
}
