// c_MyApp, the finishing panel: over a finished puzzle the screen dims, two bands grow in from the sides and the
// verdict slides in ("Group" / "Complete!", or "Given" / "Up" after giving up); at its 90th frame the game goes
// back to the menu, where the panel fades out over 37 frames.
// Depends on the draw list and p_Text, and the game module's virtual screen size and overscan.
// NOTE: the result is m_wordNum; the menu files it when it is rebuilt.
#include <algorithm>
#include <cmath>

#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"

namespace {
constexpr int kHandOverFrame = 90, kFadeFrom = 73;
}  // namespace

int c_MyApp::p_GameOver() {
    if (m_finishTimer > 0) {
        const float T = static_cast<float>(m_finishTimer);
        const float w = kp_Search_jscrw, h = kp_Search_jscrh, m = 1 + kp_Search_overscan;
        // Every press during the panel counts as handled, and the menu's key repeat waits for it.
        m_player[play::kMenuRepeatCountdown] = 240;
        m_keyLatch = 1;
        m_pointerLatch = 1;

        p_SetCol(0, 0, 0, std::min(T / 40, 0.7f));
        p_Rect(-m, -m, w + 2 * m, h + 2 * m);

        const float band = std::min(12 * T, std::trunc(0.45f * h));
        p_SetSize(1, -3717);
        p_SetRot(0);
        m_drawBlend = 1;
        p_Alpha(0.5f);
        p_SetCol(255, 255, 0, -3717);
        p_Rect(-1, 0.45f * h - 8, 2 * band, 16);
        p_SetCol(255, 128, 0, -3717);
        p_Rect(w - 2 * band, 0.55f * h - 8, 2 * band + 1, 16);

        const bool gaveUp = m_gaveUp == -1;
        const String first(gaveUp ? "Given" : "Group"), second(gaveUp ? "Up" : "Complete!");
        // NOTE: both words are shrunk alike where an upright screen would cut the longer one off.
        const float room = 0.7f * w - 8;
        p_SetSize(std::min(p_FitUpright(first, 4, room), p_FitUpright(second, 4, room)), -3717);
        p_SetCol(255, 180, 180, 1);
        p_Text(0.35f * w, band, first, 1, 1, 0);
        p_Text(0.65f * w, h - band, second, 1, 1, 0);
    }
    if (m_state == 10) {
        if (++m_finishTimer == kHandOverFrame) {
            m_state = 2;
            m_finishTimer = kFadeFrom;
        }
    } else if (m_state < 10) {
        m_finishTimer = std::max(m_finishTimer - 2, 0);
    }
    return 0;
}
