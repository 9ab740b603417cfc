// c_MyApp, the main menu: the update as its nine steps (background, entry slide, Back to quit, the logo and the
// strip, the wheel, the keys, the group played, activation, the side panel), and filing a finished puzzle's result.
// Depends on the draw list, the control actions, the sound cues, the backdrop, the progress record and the app
// module (quitting). The wheel is drawn in menu_wheel.cpp, the strip and the side panel in menu_panel.cpp.
// NOTE: the latches make every press act once: a step acts only while the latches it names are clear, and sets
// them when it acts.
#include <algorithm>

#include "framework/app/app.h"
#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"
#include "host/errors.h"

namespace {

constexpr int kLastGroup = 55;
constexpr int kUp = 0, kLeft = 3, kRight = 5, kDown = 8, kSelect = 10, kCancel = 11, kThird = 12, kBack = 99;
constexpr int kMoveCue = 99, kConfirmCue = 98;
// The wheel turns 32 degrees per group.
constexpr float kGroupAngle = 32.0f;
// Held up or down steps again after 31, 19 and 7 updates, then every 4: each step lowers the delay by 12.
constexpr int kFirstRepeatDelay = 30, kRepeatDelayStep = 12, kShortestRepeatDelay = 3;

}  // namespace

int c_MyApp::p_Menu() {
    m_menuActivate = false;
    p_BeginMenuFrame();
    p_SlideMenuIn();
    p_QuitOnBack();
    p_DrawLogoAndStrip();
    p_DrawWheel();
    p_DrawMakerLogo();
    p_ReadMenuKeys();
    m_gameNum = std::clamp(m_menuSel + 1, 1, 56);
    if (m_menuActivate) p_ActivateFocus();
    p_DrawSidePanel();
    return 0;
}

void c_MyApp::p_BeginMenuFrame() {
    // NOTE: kept in range from below too: a stored selection outside the groups would leave the wheel empty.
    m_menuSel = std::clamp(m_menuSel, 0, kLastGroup);
    p_DoBG(160, 80, 20, -123.0f);
}

void c_MyApp::p_SlideMenuIn() {
    if (m_menuSlide < 0) m_menuSlide = static_cast<int>(static_cast<float>(m_menuSlide) + 0.25f);
    m_panelWidth = m_sidePanelX + 140;
}

void c_MyApp::p_QuitOnBack() {
    // Back in the menu is the desktop way to quit; progress was saved when the last puzzle ended.
    if (m_keyLatch == 0 && m_pointerLatch == 0 && p_PlayKeyAll(kBack, 1) > 0) kpError(String());
    if (m_pointerLatch == 0) m_wheelTapped = 0;
}

void c_MyApp::p_ReadMenuKeys() {
    if (!p_MenuClear()) return;
    float& countdown = m_player[play::kMenuRepeatCountdown];
    float& delay = m_player[play::kMenuRepeatDelay];
    const bool up = p_PlayKey(kUp, 1, 0) != 0, down = p_PlayKey(kDown, 1, 0) != 0;
    if (up || down) {
        countdown -= 1;
        if (countdown < 0) m_keyLatch = 0;
    } else {
        countdown = 0;
        delay = kFirstRepeatDelay;
    }
    const bool clear = m_keyLatch == 0 && m_pointerLatch == 0;
    if (clear && (up || down) && m_menuFocus == 1) {
        const int step = up ? -1 : 1;
        m_menuSel = std::clamp(m_menuSel + step, 0, kLastGroup);
        p_PlaySFX(kMoveCue, 1, 1, 0);
        m_keyLatch = m_pointerLatch = 1;
        m_wheelTarget = -kGroupAngle * static_cast<float>(m_menuSel);
        countdown = delay;
        delay = std::max(delay - kRepeatDelayStep, static_cast<float>(kShortestRepeatDelay));
        return;
    }
    if (clear && (p_PlayKey(kLeft, 1, 0) || p_PlayKey(kRight, 1, 0))) {
        m_menuFocus = std::clamp(m_menuFocus + (p_PlayKey(kLeft, 1, 0) ? -1 : 1), 0, 2);
        p_PlaySFX(kMoveCue, 1, 1, 0);
        m_keyLatch = m_pointerLatch = 1;
        return;
    }
    if (m_keyLatch == 0 && (p_PlayKey(kSelect, 1, 0) || p_PlayKey(kCancel, 1, 0) || p_PlayKey(kThird, 1, 0))) {
        p_PlaySFX(kConfirmCue, 1, 1, 0);
        m_keyLatch = 1;
        p_RequestActivation();
    }
}

void c_MyApp::p_ActivateFocus() {
    if (!p_MenuClear()) return;
    switch (m_menuFocus) {
        case 0:
            m_optionsOpen = 1;
            p_PlaySFX(kMoveCue, 1, 1, 0);
            m_keyLatch = m_pointerLatch = 1;
            return;
        case 2:
            m_sidePanelOpen = 1;
            p_PlaySFX(kMoveCue, 1, 1, 0);
            m_keyLatch = m_pointerLatch = 1;
            return;
        default: {
            // Play shows the icons of whatever started the puzzle: pad buttons, keycaps, or none for a pointer.
            m_controlMode = m_pointerDown ? 2 : 1;
            if (!m_pointerDown) {
                for (int action = kSelect; action <= 15; ++action) {
                    if (p_PlayKey(action, 0, -1)) m_controlMode = 0;
                }
            }
            m_keyLatch = m_pointerLatch = 1;
            m_wheelTarget = -kGroupAngle * static_cast<float>(m_menuSel);
            m_state = 11;
            return;
        }
    }
}

int c_MyApp::p_LoadMenu() {
    const int group = m_gameNum - 1;
    const int result = m_wordNum;
    m_settings[3] = group;
    // NOTE: only groups the menu can reach have lists; a group number from nowhere files nothing.
    if (group >= 0 && group <= kLastGroup) {
        // Best results, highest first: before the first one below the result (after any equal to it).
        const int best = 10 * group;
        for (int p = 0; p < 10; ++p) {
            if (m_scores[best + p] >= result) continue;
            for (int i = 9; i > p; --i) m_scores[best + i] = m_scores[best + i - 1];
            m_scores[best + p] = result;
            break;
        }
        // Last results, newest first.
        const int last = 5120 + 10 * group;
        for (int i = 9; i > 0; --i) m_scores[last + i] = m_scores[last + i - 1];
        m_scores[last] = result;
    }
    p_Save();
    return 0;
}
