// c_MyApp, the menu's logo, strip and side panel: the game's logo, the dark strip at the right edge with the play
// button and the maker's logo, and the strip opened across the screen as the side panel, with the credits
// scrolling through a fade, a block of engine figures, a ring of coloured dots and a foot line of ours.
// Depends on the draw list and p_Text, the hit tests, the control actions, the sound cues, the app module's
// device size and the game module's credit lines.
#include <algorithm>
#include <cmath>
#include <numbers>

#include "framework/app/app.h"
#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kLogoSlot = 98, kIconSlot = 97, kPlayFrame = 3, kMakerSlot = 93, kButtonSlot = 95, kCreditsFrame = 12;
constexpr int kMoveCue = 99, kConfirmCue = 98;
constexpr float kLogoWidth = 256;  // the logo's frame, in units at size 1

float SinDegrees(float degrees) { return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0)); }
float CosDegrees(float degrees) { return static_cast<float>(std::cos(degrees * std::numbers::pi / 180.0)); }

}  // namespace

void c_MyApp::p_DrawLogoAndStrip() {
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    p_ResetDraw();
    // NOTE: an upright screen leaves less room left of the closed strip than the logo is wide: there the logo is
    // shrunk to that room, less 4 units each side, so its first letter is not cut off at the screen's edge.
    const float room = w - (m_panelWidth - m_sidePanelX) - 8;
    if (m_landscape == 0 && room < kLogoWidth) p_SetSize(std::max(room, 0.0f) / kLogoWidth, -3717);
    p_DrawImg(kLogoSlot, (w - m_panelWidth) * 0.5f, static_cast<float>(m_menuSlide) * 12 + 72, 0);

    p_ResetDraw();
    const float left = w - m_panelWidth - static_cast<float>(m_menuSlide) * 8;
    const bool focused = m_menuFocus == 2;
    p_SetCol(255, 255, 255, focused ? 1.0f : 0.2f);
    p_Rect(left - 2, -128, 3, h + 128);
    p_SetCol(0, 0, 0, focused ? 0.75f : 0.45f);
    p_Rect(left, -128, m_panelWidth + 32, h + 128);

    // The play button shows only while the wheel has the focus, but answers a press whatever has it.
    p_ResetDraw();
    const float playX = w - m_panelWidth * 0.5f, playY = h - 48;
    p_SetSize(3, -3717);
    p_SetCol(100, 255, 100, m_menuFocus == 1 ? 0.5f : 0.0f);
    p_DrawImg(kIconSlot, playX, playY, kPlayFrame);
    const bool clear = m_keyLatch == 0 && m_pointerLatch == 0;
    // NOTE: the button is asked before the strip, but the two never take the same press: the strip's hit area
    // ends 128 units above the screen's foot and the button's square begins 112 above it.
    if (clear && p_MenuClear() && p_MouseIn_Centered(playX, playY, 128, 128)) {
        m_menuFocus = 1;
        m_pointerLatch = 1;
        p_PlaySFX(kConfirmCue, 1, 1, 0);
        p_RequestActivation();
    } else if (clear && m_sidePanelOpen == 0 && p_MouseIn(left, -128, m_panelWidth + 32, h)) {
        // A first press on the strip gives it the focus, a second opens it.
        if (!focused) {
            m_menuFocus = 2;
            p_PlaySFX(kMoveCue, 1, 1, 0);
        } else if (p_MenuClear()) {
            p_RequestActivation();
        }
        m_keyLatch = m_pointerLatch = 1;
    }
    p_ResetDraw();
}

void c_MyApp::p_DrawMakerLogo() {
    p_ResetDraw();
    p_SetSize(m_menuFocus == 2 ? 0.35f : 0.25f, -3717);
    p_DrawImg(kMakerSlot, kp_Search_jscrw - m_panelWidth * 0.5f, 32, 0);
    p_ResetDraw();
}

void c_MyApp::p_DrawSidePanel() {
    if (m_sidePanelOpen != 1) return;
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    // Everything in the panel rides in with it: shifted right by the part not yet open.
    const float shift = w - m_panelWidth;
    p_ResetDraw();

    // Credits drift up, faster while up or down is held, and fade out towards the top and bottom.
    m_creditScroll -= 0.3f;
    if (p_PlayKeyAll(0, 1) > 0 || p_PlayKeyAll(8, 1) > 0) m_creditScroll -= 1.5f;
    if (m_creditScroll < -16) {
        m_creditScroll += 16;
        ++m_creditLine;
    }
    // NOTE: lines are taken modulo one less than their number, so the closing line never scrolls into view.
    const int cycle = kp_Search_CreditText.Length() - 1;
    p_SetSize(0.8f, -3717);
    for (int k = -3; cycle > 0 && k <= 4; ++k) {
        int line = (m_creditLine + k) % cycle;
        if (line < 0) line += cycle;
        const float distance = std::fabs(16 * static_cast<float>(k) + m_creditScroll) / 40 - 0.3f;
        float alpha = 1, sink = 0;
        if (distance > 1) {
            alpha = 0, sink = 24;
        } else if (distance >= 0) {
            alpha = 1 - distance, sink = 24 * distance;
        }
        p_Alpha(alpha);
        p_Text((w - 160) + shift, 16 * static_cast<float>(k) + h / 2 + 24 - sink + m_creditScroll,
               kp_Search_CreditText[line], 1, 1, 0);
    }

    // NOTE: the draw state is reset before the figures: they would otherwise take the alpha of the last credit
    // line, which is 0 at the fade's far end.
    p_ResetDraw();
    const float statsX = (w - 20) + shift;
    auto stat = [&](float y, const String& text) { p_Text(statsX, y, text, 2, 1, 0); };
    stat(16, String("Debug Stats"));
    stat(32, String("Engine"));
    stat(44, String(static_cast<int>(w)) + String("x") + String(static_cast<int>(h)));
    stat(60, String("Screen"));
    stat(72, String(kp_app_DeviceWidth()) + String("x") + String(kp_app_DeviceHeight()));
    stat(88, String("FPS"));
    stat(100, String(m_updateFpsAvg) + String(" : ") + String(m_renderFpsAvg));

    // A ring of eleven dots in the palette's colours, turning with the credits.
    const float ringX = (w - 150) + shift, ringY = h / 2;
    for (int i = 0; i <= 10; ++i) {
        p_Ink(i, 1);
        p_Alpha(0.3f);
        const float angle = (6 * static_cast<float>(i) - m_creditScroll / 16 + static_cast<float>(m_creditLine)) * 4;
        p_Oval(ringX + SinDegrees(angle) * 100, ringY - CosDegrees(angle) * 100, 32, 32);
    }

    bool close = m_pointerDown != 0;
    for (int action = 10; action <= 13; ++action) close = close || p_PlayKeyAll(action, 1) > 0;
    if (close && m_keyLatch == 0 && m_pointerLatch == 0) {
        m_sidePanelOpen = 0;
        p_PlaySFX(kMoveCue, 1, 1, 0);
        m_keyLatch = m_pointerLatch = 1;
    }

    // NOTE: the draw state is reset before the foot: the icon and its lines would otherwise be drawn in the last
    // dot's colour at alpha 0.3.
    p_ResetDraw();
    const float footX = shift + w * 0.3f, footY = h - 64;
    p_DrawImg(kButtonSlot, footX, footY, kCreditsFrame);
    const String foot[2] = {String("Quorlix, a word search by Wren Studio"), String("Our own engine, with GLFW and OpenAL")};
    // On an upright screen the lines are shrunk to end inside the open panel.
    const float room = w - (w * 0.3f + 32) - 4;
    for (int i = 0; i < 2; ++i) {
        p_SetSize(p_FitUpright(foot[i], 1, room), -3717);
        p_Text(footX + 32, footY + 16 + 12 * static_cast<float>(i), foot[i], 0, 0, 0);
    }
}
