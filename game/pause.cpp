// c_MyApp, the pause menu: over a paused puzzle the screen darkens as a panel moves in, "PAUSED" stands beside a
// drawing toy (two turning arms with a rainbow trail, steered with the controls), and three icons slide in from
// the left: quit to the menu, resume, and the options box.
// Depends on the draw list, p_Text and p_Button, the backdrop, the control actions, the sound cues and the
// finishing panel (quitting is giving up).
#include <algorithm>
#include <cmath>
#include <numbers>

#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kIconSlot = 97, kQuitFrame = 1, kResumeFrame = 3, kMarkerFrame = 6;
constexpr int kMoveCue = 99, kConfirmCue = 98;
// The entries by highlight: -1 quit at y 96, 0 resume at 196, 1 options at 296.
constexpr float kEntryY[3] = {96, 196, 296};
// How far the options cog (a 64-unit cell at twice its size) reaches below its centre.
constexpr float kCogReach = 64;
constexpr int kTrailPoints = 102;

float SinDegrees(float degrees) { return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0)); }
float CosDegrees(float degrees) { return static_cast<float>(std::cos(degrees * std::numbers::pi / 180.0)); }
float Channel(float value) { return std::clamp(std::trunc(value), 0.0f, 255.0f); }
// Where the toy and "PAUSED" are centred across: 96 units right of the middle, or on an upright screen (too narrow
// for that) the middle of the room right of the icons' 96 units, the room the toy's reach is measured by.
float ToyCentreX(float w, int landscape) { return landscape == 1 ? w * 0.5f + 96 : (w + 96) * 0.5f; }
// Where an entry stands down the screen of height h.
// NOTE: a screen shorter than the cog's reach below its place (a phone on its side, a very wide window) draws the
// entries closer together, in the same proportions, so the cog ends inside it; every taller screen has them where
// they always were.
float EntryY(int entry, float h) { return kEntryY[entry] * std::min(1.0f, (h - kCogReach) / kEntryY[2]); }

}  // namespace

int c_MyApp::p_PauseMenu() {
    p_DoBG(-123, -123, -123, -123);
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    p_SetCol(0, 0, 0, std::fabs(static_cast<float>(m_pausePanelY)) / (h * 0.8f));
    p_Rect(0, 0, w, h);
    p_MovePausePanel();
    p_PlayWithToy();
    // NOTE: the draw state is reset first: "PAUSED" would otherwise take the colour of the trail's last segment.
    // On an upright screen it is shrunk to end inside the screen.
    p_ResetDraw();
    const String paused("PAUSED");
    const float x = ToyCentreX(w, m_landscape);
    p_SetSize(p_FitUpright(paused, 4, 2 * (w - x) - 8), -3717);
    p_Text(x, h * 0.5f, paused, 1, 1, 0);
    p_ResetDraw();
    p_DrawPauseEntries();
    // NOTE: the menu acts while it slides in and while it is in, never while it slides out: a press then must not
    // open the options box over a puzzle that is already running again.
    if (p_PlayKeyAll(99, 1) > 0 && m_keyLatch == 0 && m_pauseChoice == 1) {
        m_keyLatch = 1;
        p_ResumeFromPause();
    }
    return 0;
}

void c_MyApp::p_MovePausePanel() {
    const int half = static_cast<int>(kp_Search_jscrh / 2);
    if (m_pauseChoice == 1) {
        m_pausePanelY = std::min(m_pausePanelY + 24, std::max(m_pausePanelY, half));
    } else if (m_pauseChoice == -1) {
        if (m_pausePanelY < -63) {
            m_paused = 0;
        } else {
            m_pausePanelY -= 24;
            // Play resumes as the panel leaves.
            if (m_pausePanelY < -32) m_paused = 0;
        }
    }
}

void c_MyApp::p_PlayWithToy() {
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    m_toyAngle1 = std::fmod(m_toyAngle1 + 1, 360.0f);
    m_toyAngle2 = std::fmod(m_toyAngle2 + m_toySpeed, 360.0f);
    m_toyHue = std::fmod(m_toyHue + 1.5f, 360.0f);
    const float reach = std::min(h * 0.45f, (w - 96) * 0.45f);
    // Up and down shorten and lengthen the second arm, left and right slow and speed its turn.
    // NOTE: not under the options box: the arrows that walk its rows belong to it alone.
    if (m_optionsOpen == 0) {
        if (p_PlayKeyAll(0, 1) > 0) m_toyArm -= 1;
        if (p_PlayKeyAll(8, 1) > 0) m_toyArm += 1;
        if (p_PlayKeyAll(3, 1) > 0) m_toySpeed -= 0.25f;
        if (p_PlayKeyAll(5, 1) > 0) m_toySpeed += 0.25f;
    }
    m_toyArm = std::clamp(m_toyArm, 0.0f, reach);
    m_toySpeed = std::clamp(m_toySpeed, 0.0f, 128.0f);
    const float cx = ToyCentreX(w, m_landscape), cy = h / 2;
    const float x1 = cx + (reach - m_toyArm) * SinDegrees(m_toyAngle1);
    const float y1 = cy - (reach - m_toyArm) * CosDegrees(m_toyAngle1);
    const float penX = x1 + m_toyArm * SinDegrees(m_toyAngle2), penY = y1 - m_toyArm * CosDegrees(m_toyAngle2);

    p_ResetDraw();
    p_SetCol(100, 255, 100, 0.8f);
    p_Text(w - 8, h - 8, String(static_cast<int>(m_toySpeed)) + String(":") + String(static_cast<int>(m_toyArm)), 2,
           2, 0);

    // The trail fades in from black along its length, in colours that cycle with the hue; drawn twice, half a
    // unit apart, so the lines look thicker.
    float* trail = m_toyTrail.Data();
    // NOTE: a trail never drawn starts wholly at the pen; left at (0, 0) it would draw a line from the screen's
    // corner to the toy for the 102 frames it takes to scroll out. So does a trail drawn around another centre
    // (the screen changed shape while paused, a phone turned): its old points may lie beyond the new screen.
    if (!m_toyTrailSeeded || m_toyTrailCentre[0] != cx || m_toyTrailCentre[1] != cy) {
        for (int i = 0; i < kTrailPoints; ++i) {
            trail[2 * i] = penX;
            trail[2 * i + 1] = penY;
        }
        m_toyTrailSeeded = true;
        m_toyTrailCentre[0] = cx;
        m_toyTrailCentre[1] = cy;
    }
    trail[2 * (kTrailPoints - 1)] = penX;
    trail[2 * (kTrailPoints - 1) + 1] = penY;
    for (int i = 0; i < kTrailPoints - 1; ++i) {
        const float k = static_cast<float>(i);
        const float turn = m_toyHue + 2 * k;
        p_SetCol(Channel(k + k * SinDegrees(turn)), Channel(k + k * CosDegrees(turn)), Channel(k - k * CosDegrees(turn)),
                 1);
        const float* a = &trail[2 * i];
        p_Line(a[0], a[1], a[2], a[3]);
        p_Line(a[0] - 0.5f, a[1] - 0.5f, a[2] - 0.5f, a[3] - 0.5f);
        trail[2 * i] = a[2];
        trail[2 * i + 1] = a[3];
    }
}

void c_MyApp::p_DrawPauseEntries() {
    const float x = std::trunc(64 - (kp_Search_jscrh / 2 - static_cast<float>(m_pausePanelY)));
    const bool ready = m_pauseChoice == 1;
    p_ResetDraw();
    p_SetSize(2, -3717);
    const float h = kp_Search_jscrh;
    const bool quit = p_Button(kIconSlot, x, EntryY(0, h), kQuitFrame) != 0;
    const bool resume = p_Button(kIconSlot, x, EntryY(1, h), kResumeFrame) != 0;
    if (m_optionsOpen == 0) m_cogAngle = std::fmod(m_cogAngle + 0.2f, 360.0f);
    const bool options = p_DrawCog(x, EntryY(2, h), 2) != 0;
    p_ResetDraw();
    p_SetSize(2.5f, -3717);
    p_SetCol(255, 255, 100, 1);
    const int cursor = std::clamp(m_pauseCursor, -1, 1);
    p_DrawImg(kIconSlot, x, EntryY(cursor + 1, h), kMarkerFrame);
    p_ResetDraw();
    if (!ready) return;

    if (m_pointerLatch == 0 && (quit || resume || options)) {
        m_pointerLatch = 1;
        if (resume) p_ResumeFromPause();
        else if (quit) p_QuitFromPause();
        else {
            m_optionsOpen = 1;
            p_PlaySFX(kMoveCue, 1, 1, 0);
        }
        return;
    }
    if (m_keyLatch != 0) return;
    if (p_PlayKeyAll(10, 1) > 0) {
        m_keyLatch = 1;
        if (cursor == 0) p_ResumeFromPause();
        else if (cursor == -1) p_QuitFromPause();
        else {
            m_optionsOpen = 1;
            p_PlaySFX(kConfirmCue, 1, 0.5f, 0);
        }
    } else if (p_PlayKeyAll(0, 1) > 0 && cursor > -1) {
        m_keyLatch = 1;
        m_pauseCursor = cursor - 1;
        p_PlaySFX(kMoveCue, 0.8f, 0.5f, 0);
    } else if (p_PlayKeyAll(8, 1) > 0 && cursor < 1) {
        m_keyLatch = 1;
        m_pauseCursor = cursor + 1;
        p_PlaySFX(kMoveCue, cursor == 0 ? 1.2f : 0.8f, 0.5f, 0);
    }
}

void c_MyApp::p_ResumeFromPause() {
    // The panel slides out; play goes on once it has left (p_MovePausePanel).
    m_pauseChoice = -1;
    p_PlaySFX(kConfirmCue, 1, 0.5f, 0);
}

void c_MyApp::p_QuitFromPause() {
    // Giving up: the finishing panel takes the puzzle back to the menu with the words found so far.
    m_paused = 0;
    m_pauseChoice = -1;
    m_pausePanelY = -64;
    m_puzzleDone = 1;
    m_gaveUp = -1;
    m_pointerLatch = 1;
    p_PlaySFX(kConfirmCue, 0.5f, 0.5f, 0);
}
