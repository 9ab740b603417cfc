// c_MyApp, the options box: a panel that slides up over the menu or the pause menu with a turning back cog and
// four rows of settings (sound level, fullscreen or windowed, the vertical sense of each thumbstick), reached by
// touch, click and the controls. While it is open it holds both of the application's latches, so nothing
// underneath reacts, and keeps latches of its own; closing it saves the settings.
// Depends on the draw list, p_Text, p_Touch and p_Button, the control actions, the sound cues, the window
// (p_FullscreenFlip) and the progress record.
#include <cmath>

#include "game/myapp.h"
#include "game/search.h"

namespace {

constexpr int kButtonSlot = 95, kCogFrames[3] = {8, 9, 10};
constexpr int kMoveCue = 99;
constexpr int kRows = 4;
// The actions whose hold keeps the box's key latch set.
constexpr int kHeldActions[] = {0, 3, 5, 8, 10, 11, 12, 13, 14, 15, 16, 17, 99};

const char* const kSoundLabels[4] = {"Sound : [-  -  - Loud]", "Sound : [-  - Normal-]", "Sound : [- Quiet -  -]",
                                     "Sound : [OFF  -  -  -]"};

}  // namespace

int c_MyApp::p_OptionBox() {
    p_ResetDraw();
    m_keyLatch = m_pointerLatch = 1;
    // Nothing in the box reacts while it slides.
    if (m_optionsSlide != 30) m_boxKeyLatch = m_boxPointerLatch = 1;
    p_DrawOptionsPanel();
    p_DrawBackCog();
    m_settings[5] = 1;
    p_DrawOptionRows();
    p_ReadOptionControls();
    p_ReleaseBoxLatches();
    p_ResetDraw();
    return 0;
}

void c_MyApp::p_DrawOptionsPanel() {
    p_SetCol(150, 75, 0, 0.85f);
    p_Rect(50, static_cast<float>(30 - m_optionsSlide) * 24, kp_Search_jscrw - 100, kp_Search_jscrh);
}

int c_MyApp::p_DrawCog(float x, float y, float scale) {
    p_SetSize(scale, -3717);
    // NOTE: the cog is always white and opaque: as the options box's back button it would otherwise take the
    // panel's brown at 0.85 drawn just before it.
    p_SetCol(255, 255, 255, 1);
    const float turns[3] = {-0.66f, 0.33f, 1.0f};
    for (int layer = 0; layer < 2; ++layer) {
        p_SetRot(m_cogAngle * turns[layer]);
        p_DrawImg(kButtonSlot, x, y, static_cast<float>(kCogFrames[layer]));
    }
    p_SetRot(m_cogAngle * turns[2]);
    const int hit = p_Button(kButtonSlot, x, y, kCogFrames[2]);
    p_SetRot(0);
    p_SetSize(1, -3717);
    return hit;
}

void c_MyApp::p_DrawBackCog() {
    m_cogAngle = std::fmod(m_cogAngle + 0.2f, 360.0f);
    const float x = static_cast<float>((m_optionsSlide * 3 - 90) * 4 + 100);
    const int hit = p_DrawCog(x, 60, m_optionCursor == 0 ? 2.0f : 1.5f);
    if ((hit || p_PlayKeyAll(99, 1) > 0) && m_boxKeyLatch == 0 && m_boxPointerLatch == 0) {
        p_CloseOptions();
        m_keyLatch = m_pointerLatch = 1;
    }
    p_SetSize(2, -3717);
    p_SetCol(255, 255, 255, 1);
    p_Text(x + 76, 60, String("<[BACK]"), 0, 1, 0);
    p_SetSize(1, -3717);
}

void c_MyApp::p_CloseOptions() {
    m_optionsOpen = 0;
    p_PlaySFX(kMoveCue, 1, 1, 0);
    p_Save();
    // NOTE: the rows below still run in this update; with the box's latches set, nothing changes after the save.
    m_boxKeyLatch = m_boxPointerLatch = 1;
}

void c_MyApp::p_DrawOptionRows() {
    bool controlHeld = false;
    for (int action = 10; action <= 15; ++action) controlHeld = controlHeld || p_PlayKeyAll(action, 1) > 0;
    float y = static_cast<float>(30 - m_optionsSlide) * 24 + 130;
    for (int row = 1; row <= kRows; ++row, y += 40) {
        if (row == m_optionCursor) p_SetCol(0, 180, 255, 0.5f);
        else p_SetCol(0, 0, 160, 0.5f);
        const bool touched = p_Touch(84, y - 2, kp_Search_jscrw - 168, 24) != 0;
        if (touched) m_optionCursor = row;
        const bool activated = touched || (m_optionCursor == row && controlHeld);
        // NOTE: every row acts on a fresh press only, the window row too: a held button would otherwise flip the
        // window again after every reload.
        const bool act = activated && m_boxKeyLatch == 0 && m_boxPointerLatch == 0;

        String label;
        switch (row) {
            case 1: {
                // NOTE: a stored level outside 0..3 is shown and treated as loud.
                int& level = m_settings[6];
                if (level < 0 || level > 3) level = 0;
                if (act) {
                    level = (level + 1) % 4;
                    p_PlaySFX(kMoveCue, 1, 1, 0);
                }
                label = String(kSoundLabels[level]);
                break;
            }
            case 2:
                if (act) {
                    p_PlaySFX(kMoveCue, 1, 1, 0);
                    p_FullscreenFlip();
                }
                label = String(m_fullscreen == 1 ? "Windowed" : "Fullscreen");
                break;
            default: {
                // A stick reads its vertical value as given for any setting but 0, which flips it.
                int& sense = m_settings[row == 3 ? 15 : 16];
                if (act) {
                    sense = sense == 0 ? 1 : 0;
                    p_PlaySFX(kMoveCue, 1, 1, 0);
                }
                label = String(row == 3 ? "Left" : "Right") + String(sense == 0 ? " Thumbstick Y Flipped"
                                                                                : " Thumbstick Y Normal");
                break;
            }
        }
        if (act) m_boxKeyLatch = m_boxPointerLatch = 1;
        // NOTE: an upright screen is narrower than the longest labels at scale 2: they are shrunk to end inside
        // the panel rather than run off its edge.
        p_SetSize(p_FitUpright(label, 2, kp_Search_jscrw - 50 - 4 - 100), -3717);
        p_SetCol(255, 255, 255, 1);
        p_Text(100, y, label, 0, 0, 0);
        p_SetSize(1, -3717);
    }
}

void c_MyApp::p_ReadOptionControls() {
    if (m_boxKeyLatch != 0) return;
    if (m_optionCursor == 0 && (p_PlayKeyAll(15, 1) > 0 || p_PlayKeyAll(10, 1) > 0 || p_PlayKeyAll(11, 1) > 0)) {
        p_CloseOptions();
        return;
    }
    const bool up = p_PlayKeyAll(0, 1) > 0 || p_PlayKeyAll(3, 1) > 0;
    const bool down = p_PlayKeyAll(8, 1) > 0 || p_PlayKeyAll(5, 1) > 0;
    // The cursor stops at the cog above and at the last row below. A way that cannot move it gives the other a
    // turn: a stick held down-left on the cog still walks down.
    if (up && m_optionCursor > 0) {
        --m_optionCursor;
    } else if (down && m_optionCursor < kRows) {
        ++m_optionCursor;
    } else {
        return;
    }
    m_boxKeyLatch = 1;
    p_PlaySFX(kMoveCue, 1, 1, 0);
}

void c_MyApp::p_ReleaseBoxLatches() {
    if (m_pointerDown == 0) m_boxPointerLatch = 0;
    for (int action : kHeldActions) {
        if (p_PlayKeyAll(action, 1) > 0) return;
    }
    m_boxKeyLatch = 0;
}
