// c_MyApp: construction, the five hooks the host calls, screen dispatch and the virtual screen.
// Depends on the app and input modules and the game module's globals. Updates do all the work and record what
// is to be shown; renders only clear, fit the virtual screen to the window and replay the record.
#include "game/myapp.h"

#include <algorithm>
#include <cmath>

#include "framework/input/input.h"
#include "game/search.h"
#include "host/errors.h"

namespace {

// Key codes of the system keys.
constexpr int kKeyF1 = 112, kKeyF2 = 113, kKeyF4 = 115, kKeyF11 = 122;
// Marks a free touch slot.
constexpr int kFreeSlot = -3717;
// The control actions whose hold keeps the key latch set, in the order they are tried.
constexpr int kLatchActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

// A window position in device pixels as whole virtual units. A scale not yet known (no fitting has happened)
// gives 0, and values beyond the integer range are kept inside it instead of overflowing.
int ToVirtual(float position, float offset, float scale) {
    if (!(scale > 0.0f)) return 0;
    const float units = (position - offset) / scale;
    return static_cast<int>(std::clamp(units, -2.0e9f, 2.0e9f));
}

// Frames per second from a millisecond clock: the previous figure stays when the clock has not advanced.
void CountFrame(int& lastMs, int& fps, int& average) {
    const int elapsed = kp_app_Millisecs() - lastMs;
    if (elapsed > 0) fps = 1000 / elapsed;
    average = (fps + 9 * average) / 10;
    lastMs = kp_app_Millisecs();
}

// The vertical overscan: the horizontal margin scaled to the window's shape.
float VerticalOverscan(int devWidth, int devHeight) {
    return devWidth > 0 ? kp_Search_overscan * static_cast<float>(devHeight) / static_cast<float>(devWidth) : 0.0f;
}

}  // namespace

c_MyApp::c_MyApp()
    : m_touchDown(10),
      m_touchX(10),
      m_touchY(10),
      m_images(100),
      m_imageInfo(300),
      m_sharpImages(100),
      m_sharpInfo(300),
      m_sounds(100),
      m_sfxChannels(33),
      m_settings(25),
      m_badges(256),
      m_scores(25600),
      m_player(512) {}

int c_MyApp::p_OnCreate() {
    m_fullscreen = 0;
    m_jinglePlayed = 0;
    m_menuSel = 1;
    m_wheelTarget = -32.0f;
    m_state = 1;
    kp_app__updateRate = 60;
    kp_app_SetUpdateRate(60);
    m_lastDevWidth = kp_app_DeviceWidth();
    m_lastDevHeight = kp_app_DeviceHeight();
    p_Reload();
    m_gameNum = 2;
    m_menuSlide = -32;
    m_paused = 0;
    m_pauseChoice = -1;
    m_pausePanelY = -64;
    m_settings.Fill(0);
    m_settings[5] = 1;
    for (int i = 0; i <= 5120; ++i) m_scores[i] = 0;
    p_Load();
    p_InitSfxChannels();
    return 0;
}

int c_MyApp::p_OnUpdate() {
    if (kp_input_KeyHit(kKeyF1)) kp_Search_DebugMode = 1 - kp_Search_DebugMode;
    if (kp_input_KeyHit(kKeyF2)) m_debugFlag2 = 1 - m_debugFlag2;
    if (kp_input_KeyHit(kKeyF11)) p_FullscreenFlip();
    // NOTE: F4 and the close box quit at once without saving: progress was saved when it changed.
    if (kp_input_KeyHit(kKeyF4) || kp_input_KeyHit(KpKeyClose)) kpError(String());

    CountFrame(m_updateLastMs, m_updateFps, m_updateFpsAvg);
    p_ReadPointer();
    p_UpdateLatches();

    if (m_loadStep == 0) {
        switch (m_state) {
            case 1: p_Menu(); break;
            case 2:
                p_LoadMenu();
                p_PlaySFX(96, 1, 1, 0);
                m_state = 1;
                p_Menu();
                break;
            case 10:
                if (!m_paused) p_Game();
                p_InGame();
                break;
            case 11: p_LoadGame(); break;
            default: break;
        }
        // The state is read again: a screen that just handed over gets the finishing panel in the same update.
        if (m_state == 1 || m_state == 2 || (m_state == 10 && m_puzzleDone > 0)) p_GameOver();

        if (m_optionsOpen == 1 || m_optionsSlide > 0) p_OptionBox();
        if (m_optionsOpen == 0) {
            if (m_optionsSlide > 0) --m_optionsSlide;
        } else if (m_optionsSlide < 30) {
            ++m_optionsSlide;
        }

        if (m_sidePanelOpen == 0) {
            if (m_sidePanelX > 0) {
                m_sidePanelX -= m_sidePanelX * 0.125f;
                if (m_sidePanelX < 8) m_sidePanelX = 0;
            }
        } else {
            // NOTE: the panel eases towards its width from either side: after a switch to a smaller window it
            // would otherwise stay wider than the screen.
            const float target = kp_Search_jscrw - 140;
            if (m_sidePanelX != target) {
                m_sidePanelX += (target - m_sidePanelX) * 0.125f;
                if (std::fabs(target - m_sidePanelX) < 8) m_sidePanelX = target;
            }
        }
    }

    if (m_loadStep > 0) p_Loader();
    p_SharpenArt();

    if (kp_Search_DebugMode == 1) {
        p_ResetDraw();
        const String line = String(p_DrawRecordCount()) + String(" - ") + String(m_scaleY) + String(",") +
                            String(m_scaleX) + String(":") + String(m_renderFpsAvg);
        p_Text(16, kp_Search_jscrh - 16, line, 0, 0, 0);
    }
    return 0;
}

void c_MyApp::p_ReadPointer() {
    const int devWidth = kp_app_DeviceWidth(), devHeight = kp_app_DeviceHeight();
    const float ox = kp_Search_overscan, oy = VerticalOverscan(devWidth, devHeight);
    m_mouseX = ToVirtual(kp_input_MouseX(), ox, m_scaleX);
    m_mouseY = ToVirtual(kp_input_MouseY(), oy, m_scaleY);
    m_pointerDown = kp_input_MouseDown(0) ? 1 : 0;
    for (int i = 0; i < 10; ++i) {
        m_touchDown[i] = 0;
        m_touchX[i] = m_touchY[i] = kFreeSlot;
        if (kp_input_TouchDown(i)) {
            m_touchDown[i] = 1;
            m_touchX[i] = ToVirtual(kp_input_TouchX(i), ox, m_scaleX);
            m_touchY[i] = ToVirtual(kp_input_TouchY(i), oy, m_scaleY);
            m_pointerDown = 1;
        }
    }
    if (m_pointerDown == 0) m_pointerLatch = 0;
}

void c_MyApp::p_UpdateLatches() {
    bool held = false;
    for (int action : kLatchActions) {
        int sum = 0;
        for (int pad = 0; pad < 4; ++pad) sum += p_PlayKey(action, 1, pad);
        if (sum > 0) {
            held = true;
            break;
        }
    }
    if (!held) m_keyLatch = 0;
    if (m_keyLatch == 0 && m_pointerLatch == 0 && p_PlayKeyAll(99, 1) > 0 && m_state == 1 &&
        (m_optionsOpen || m_sidePanelOpen)) {
        m_sidePanelOpen = 0;
        m_keyLatch = m_pointerLatch = 1;
    }
    if (m_optionsOpen) m_keyLatch = m_pointerLatch = 1;
}

int c_MyApp::p_OnRender() {
    CountFrame(m_renderLastMs, m_renderFps, m_renderFpsAvg);
    p_ClearScreen();
    const int devWidth = kp_app_DeviceWidth(), devHeight = kp_app_DeviceHeight();
    if (devWidth != m_lastDevWidth || devHeight != m_lastDevHeight) {
        m_lastDevWidth = devWidth;
        m_lastDevHeight = devHeight;
        m_loadStep = 1;
        p_LookForArt();
        p_DecodeAhead(1, p_ArtLevelFor(devWidth, devHeight));
    }
    p_FitScreen(devWidth, devHeight);
    p_ReplayDrawList(kp_Search_overscan, VerticalOverscan(devWidth, devHeight));
    p_EndRenderState();
    return 0;
}

void c_MyApp::p_FitScreen(int devWidth, int devHeight) {
    // NOTE: a window with a zero side (minimised on some window systems) has nothing to fit: the last scales
    // stay, so neither this nor the next update's pointer conversion divides by zero.
    if (devWidth <= 0 || devHeight <= 0) return;
    const float w = static_cast<float>(devWidth), h = static_cast<float>(devHeight);
    const float f = devWidth >= devHeight ? 1.0f : 1.5f;
    const float sx = (w - 2 * kp_Search_overscan) / (kp_Search_rawscrw * f);
    const float sy = (h - 2 * kp_Search_overscan) / (kp_Search_rawscrh * f);
    float k;
    if (sy > sx) {
        m_scaleX = m_scaleY = sy;
        k = h / (kp_Search_rawscrh * f);
    } else {
        m_scaleX = m_scaleY = sx;
        k = w / (kp_Search_rawscrw * f);
    }
    kp_Search_jscrw = w / k;
    kp_Search_jscrh = h / k;
    m_landscape = kp_Search_jscrh <= kp_Search_jscrw ? 1 : 0;
}

// Pausing follows the screen: a game in progress comes back paused with its panel half-way down.
void c_MyApp::p_ApplySuspendPause() {
    if (m_state < 10) {
        m_paused = 0;
        m_pauseChoice = 0;
        m_pausePanelY = 0;
    } else {
        m_paused = 1;
        m_pauseChoice = 1;
        m_pausePanelY = static_cast<int>(kp_Search_jscrh * 0.5f);
    }
}

int c_MyApp::p_OnSuspend() {
    kp_app__game->SetKeyboardEnabled(false);
    p_ApplySuspendPause();
    kp_app__updateRate = 5;
    kp_app_SetUpdateRate(5);
    p_Save();
    return 0;
}

int c_MyApp::p_OnResume() {
    p_ApplySuspendPause();
    kp_app__updateRate = 60;
    kp_app_SetUpdateRate(60);
    kp_app__game->SetKeyboardEnabled(false);
    return 0;
}
