// c_MyApp, the grid in play: its geometry on the virtual screen, the pass over its 169 cells that animates and
// draws the letters (dropping in, at rest, falling away) with the markers under them and lets a held pointer pick
// a start and a direction, and the laying out of the next word once a found word has fallen out of sight.
// Depends on the draw list, the hit tests (p_MouseIn_Radius), grid generation and the random module.
#include <cmath>
#include <numbers>

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"

namespace {

using play::kGridSide;

float SinDegrees(float degrees) { return static_cast<float>(std::sin(degrees * std::numbers::pi / 180.0)); }

}  // namespace

void c_MyApp::p_MeasureGrid() {
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    const float cs = std::min((w - 32) / 13, (h - 32) / 13);
    m_cellSize = cs;
    // NOTE: a letter's ink sits a quarter cell left of its image's centre, so the grid is shifted right by as
    // much and the markers are drawn a quarter cell left of X: ink and markers are centred on the screen.
    m_gridLeft = std::trunc(w / 2 - 6 * cs + cs / 4);
    // Upright screens keep a row free below the grid for the word in play.
    m_gridTop = std::trunc(h / 2 - (m_landscape == 1 ? 6 : 7) * cs);
    p_SetSize(cs / 16, -3717);
}

void c_MyApp::p_DrawGridPass(bool hint) {
    const float cs = m_cellSize, h = kp_Search_jscrh;
    const float markScale = cs / 16;
    const int startX = static_cast<int>(m_player[play::kStartX]), startY = static_cast<int>(m_player[play::kStartY]);
    const int cursorX = static_cast<int>(m_player[play::kCursorX]), cursorY = static_cast<int>(m_player[play::kCursorY]);
    const int hintX = static_cast<int>(m_player[play::kFirstLetterX]);
    const int hintY = static_cast<int>(m_player[play::kFirstLetterY]);
    m_offsetMax = -4000;
    m_allBelow = true;
    m_letterLanded = false;
    for (int x = 0; x < kGridSide; ++x) {
        for (int y = 0; y < kGridSide; ++y) {
            float& offset = m_grid[kGridOffsets + play::Cell(x, y)];
            float& speed = m_grid[kGridSpeeds + play::Cell(x, y)];
            // Dropping in (frozen once the puzzle is over, so the grid after the last word never shows).
            if (offset < 0 && m_puzzleDone == 0) {
                offset += speed;
                if (offset > 0) {
                    offset = 0;
                    speed = 0;
                    m_letterLanded = true;
                }
            }
            // Falling away after a find, faster every frame.
            if (offset > 0) {
                offset += speed;
                speed += kp_random_Rnd();
            }
            if (offset > static_cast<float>(m_offsetMax)) m_offsetMax = static_cast<int>(offset);

            const float X = m_gridLeft + static_cast<float>(x) * cs;
            const float Y = m_gridTop + static_cast<float>(y) * cs + offset;
            const int letter = static_cast<int>(m_grid[kGridLetters + play::Cell(x, y)]);
            if (m_pointerDown >= 1 && m_mouseX > X - cs && m_mouseX < X + cs && m_mouseY > Y - cs &&
                m_mouseY < Y + cs && p_MouseIn_Radius(X - cs / 4, Y, cs * 0.65f, cs * 0.65f)) {
                p_PointAtCell(x, y);
            }
            if (x == startX && y == startY) {
                m_selCodes[0] = letter;
                p_SetCol(250, 160, 0, 0.5f);
                p_SetSize(1, -3717);
                p_Oval(X - cs / 4, Y, cs / 2, cs / 2);
            }
            if (x == cursorX && y == cursorY) {
                p_SetCol(0, 180, 0, 0.8f);
                p_SetSize(1, -3717);
                p_Oval(X - cs / 4, Y, cs * 0.4f, cs * 0.4f);
            }
            if (hint && x == hintX && y == hintY) {
                // A warm pulse: red and green swing at slightly different rates.
                const int ms = kp_app_Millisecs();
                p_SetCol(220 + 30 * SinDegrees(static_cast<float>(ms / 4)),
                         170 + 80 * SinDegrees(static_cast<float>(ms / 5)), 0, 0.5f);
                p_SetSize(1, -3717);
                p_Oval(X - cs / 4, Y, cs / 2, cs / 2);
            }
            if (Y < h) m_allBelow = false;
            p_SetSize(markScale, -3717);
            p_SetCol(255, 255, 255, 1);
            p_DrawImg(m_letterSlot, X, Y, static_cast<float>(letter - 32));
        }
    }
}

void c_MyApp::p_PointAtCell(int x, int y) {
    if (p_GridFrozen()) return;
    m_player[play::kPointerPressed] = 1;
    const int state = static_cast<int>(m_player[play::kState]);
    if (state == play::kNoSelection) {
        m_player[play::kCursorX] = m_player[play::kStartX] = static_cast<float>(x);
        m_player[play::kCursorY] = m_player[play::kStartY] = static_cast<float>(y);
        m_player[play::kState] = play::kStartChosen;
        p_PlayTick(2);
    } else if (state == play::kStartChosen) {
        // Any distance along the start's row or column aims the selection; diagonals change nothing.
        const float sx = m_player[play::kStartX], sy = m_player[play::kStartY];
        const float fx = static_cast<float>(x), fy = static_cast<float>(y);
        int direction = 0;
        if (fy == sy && fx > sx) direction = 1;
        else if (fx == sx && fy > sy) direction = 2;
        else if (fy == sy && fx < sx) direction = 3;
        else if (fx == sx && fy < sy) direction = 4;
        if (direction != 0) {
            m_player[play::kDirection] = static_cast<float>(direction);
            m_player[play::kState] = play::kExtending;
        }
    }
}

bool c_MyApp::p_GridFrozen() const {
    // NOTE: only a completed puzzle freezes the grid: the grid after its last word stands two screens up and must
    // never be selected. After a give-up the word in play stays live under the rising panel, and a word found
    // there still counts.
    return m_player[play::kWordCounter] > play::kLastWord;
}

void c_MyApp::p_LayOutNextWord() {
    if (!m_allBelow || m_player[play::kState] != play::kWordFound) return;
    p_Jumble(m_gameNum - 1);
    // A start-less state 1: the next select action (or pointer release) only clears it.
    m_player[play::kState] = play::kStartChosen;
    m_player[play::kStartX] = m_player[play::kStartY] = -1;
}
