// c_MyApp, play: the play screen's update as its twenty steps, the colour schemes with their label and toggle,
// the star field behind the grid, and the pause control that runs after it.
// Depends on the draw list and p_Text, the control actions (pad 0 for play, every pad for pausing), the sound
// cues, the stars and the random module. The grid pass is in play_grid.cpp, the selection in play_selection.cpp,
// the word in play and the word list in play_words.cpp.
// NOTE: one update is one frame; every duration in play counts updates.
#include <cmath>
#include <numbers>

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"

namespace {

constexpr int kDarkLetters = 10, kLightLetters = 11;
constexpr int kIconSlot = 97, kPauseIcon = 0;
constexpr int kSchemeAction = 12, kBackAction = 99;
constexpr int kPauseCue = 98;

float SinDegrees(float degrees) { return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0)); }

}  // namespace

int c_MyApp::p_Game() {
    // NOTE: entries past the grid's edge are never written by the selection; clearing them keeps a selection
    // that runs off the grid from matching letters of an earlier one.
    m_selCodes.Fill(0);
    p_EnterWordInList();
    p_BeginPlayFrame();
    p_DrawSchemeLabel();
    p_ToggleScheme();
    p_DriftStars();
    p_MeasureGrid();
    p_DropStartOnRelease();
    const bool hint = p_HintShown();
    p_DrawSelection();
    p_DrawGridPass(hint);
    p_LayOutNextWord();
    p_MoveCursor();
    p_CancelOrSelect();
    p_MatchSelection();
    p_GrowSelection();
    p_DrawWordInPlay();
    p_CueLanding();
    p_ResetDraw();
    p_DrawWordList();
    return 0;
}

void c_MyApp::p_BeginPlayFrame() {
    // The background pulses slowly through the colours: a full turn every 21.6 seconds.
    const float t = static_cast<float>((kp_app_Millisecs() / 60) % 360);
    float base, swing;
    if (m_settings[1] == 1) {
        base = 60, swing = 40;
        m_letterSlot = kDarkLetters;
    } else {
        // A toggle past dark comes back to light here.
        m_settings[1] = 0;
        base = 230, swing = 20;
        m_letterSlot = kLightLetters;
    }
    p_CLS2D(base + swing * SinDegrees(t), base + swing * SinDegrees(t + 120), base + swing * SinDegrees(t + 240), 1);
    p_ResetDraw();
}

void c_MyApp::p_DrawSchemeLabel() {
    if (m_debugFlag2 != 0) return;
    const float w = kp_Search_jscrw;
    // The label names the scheme a toggle switches to.
    p_Text(w - 32, 16, String(m_settings[1] == 1 ? "Light" : "Dark"), 1, 1, 0);
    if (m_controlMode < 2) p_Text(w - 32, 32, String("\xAC" "L"), 1, 1, 0);
}

void c_MyApp::p_ToggleScheme() {
    if (p_MouseIn(kp_Search_jscrw - 48, 0, 64, 48) && m_pointerLatch == 0) {
        m_pointerLatch = 1;
        m_settings[1] += 1;
    }
    if (p_PlayKey(kSchemeAction, 1, 0)) {
        if (m_player[play::kSchemeLatch] == 0) {
            m_player[play::kSchemeLatch] = 1;
            m_settings[1] += 1;
        }
    } else {
        m_player[play::kSchemeLatch] = 0;
    }
}

void c_MyApp::p_DriftStars() {
    const float easeX = (m_starScrollX - m_starScrollToX) / 8;
    m_starScrollX -= easeX;
    const float easeY = (m_starScrollY - m_starScrollToY) / 8;
    m_starScrollY -= easeY;
    p_DoStars(easeX, easeY + 0.25f);
}

bool c_MyApp::p_HintShown() const {
    // The tutorial marks the first letter of every word, the training group of its first three.
    return m_gameNum == 1 || (m_gameNum == 2 && m_player[play::kWordCounter] < 3);
}

void c_MyApp::p_CueLanding() {
    if (m_letterLanded) p_PlayTick(2);
}

void c_MyApp::p_PlayTick(int cue) { p_PlaySFX(cue, 0.7f + 0.6f * kp_random_Rnd(), 1, 0); }

int c_MyApp::p_InGame() {
    p_ResetDraw();
    m_menuSlide = -32;
    // NOTE: a finished puzzle offers no pause: its panel is already on the way back to the menu.
    const bool pausable = m_paused == 0 && m_puzzleDone == 0;
    for (int pad = 0; pad < 4; ++pad) {
        if (p_PlayKey(kBackAction, 1, pad) && pausable && m_keyLatch == 0) {
            m_keyLatch = 1;
            m_paused = 1;
            m_pauseChoice = 1;
            m_pauseCursor = 0;
            p_PlaySFX(kPauseCue, 1, 0.5f, 0);
            break;
        }
    }
    if (m_debugFlag2 == 0) {
        p_Alpha(m_controlMode == 2 ? 1.0f : 0.2f);
        p_DrawImg(kIconSlot, 16, 16, kPauseIcon);
        const float halfW = static_cast<float>(m_imageInfo[kIconSlot * 3]) * m_imageScale * m_drawScaleX / 2;
        const float halfH = static_cast<float>(m_imageInfo[kIconSlot * 3 + 1]) * m_imageScale * m_drawScaleY / 2;
        if (p_MouseIn_Centered(16, 16, halfW * 2, halfH * 2) && m_pointerDown > 0 && m_paused == 0 &&
            m_puzzleDone == 0 && m_pointerLatch == 0) {
            m_paused = 1;
            m_pauseChoice = 1;
            m_pointerLatch = 1;
            m_pauseCursor = 0;
            p_PlaySFX(kPauseCue, 1, 0.5f, 0);
        }
        p_Alpha(1);
    }
    if (m_paused == 1) p_PauseMenu();
    return 0;
}
