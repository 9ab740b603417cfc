// c_MyApp, the selection in play: dropping a start the pointer let go of, the highlight of the cells beyond the
// start, the keyboard and pad cursor with its key repeat, cancel and select, matching the selected letters
// against the word, and the growth of the selection one cell a frame up to the word's length.
// Depends on the draw list, the control actions (pad 0), the sound cues and the grid (play_grid.cpp sets the
// geometry and the start cell's letter).
// NOTE: the player chooses only a start and a direction; the end is always the word's length away.
#include "game/myapp.h"
#include "game/play_slots.h"

namespace {

using play::kGridSide;

constexpr int kLeft = 3, kRight = 5, kUp = 0, kDown = 8, kSelect = 10, kCancel = 11;
constexpr int kFoundCue = 1, kWrongCue = 4;
// A wrong selection plays its cue in its fourth frame and is cleared after 31.
constexpr int kWrongCueFrame = 4, kWrongShownFrames = 30;

// The column and row steps of selection directions 1 right, 2 down, 3 left, 4 up (0: none).
constexpr int kStepX[5] = {0, 1, 0, -1, 0};
constexpr int kStepY[5] = {0, 0, 1, 0, -1};

bool InGrid(int x, int y) { return x >= 0 && x < kGridSide && y >= 0 && y < kGridSide; }

}  // namespace

void c_MyApp::p_DropStartOnRelease() {
    if (m_pointerDown == 0 && m_player[play::kPointerPressed] == 1 && m_player[play::kState] < play::kWordFound &&
        m_player[play::kWrongTimer] == 0 && m_player[play::kLength] == 0) {
        m_player[play::kState] = play::kNoSelection;
        m_player[play::kDirection] = 0;
        m_player[play::kStartX] = m_player[play::kStartY] = -1;
    }
}

void c_MyApp::p_DrawSelection() {
    const int length = static_cast<int>(m_player[play::kLength]);
    if (length <= 0) return;
    const int direction = static_cast<int>(m_player[play::kDirection]);
    if (direction < 1 || direction > 4) return;
    const int startX = static_cast<int>(m_player[play::kStartX]), startY = static_cast<int>(m_player[play::kStartY]);
    const float cs = m_cellSize;
    // Cells are drawn in the grid's own order (by column, then row): away from the start when the selection
    // runs right or down, towards it when it runs left or up.
    const bool away = direction <= 2;
    const int cells = length < 12 ? length : 12;
    for (int n = 0; n < cells; ++n) {
        const int k = away ? n + 1 : cells - n;
        const int x = startX + kStepX[direction] * k, y = startY + kStepY[direction] * k;
        if (!InGrid(x, y)) continue;
        m_selCodes[k] = static_cast<int>(m_grid[kGridLetters + play::Cell(x, y)]);
        const float X = m_gridLeft + static_cast<float>(x) * cs;
        const float Y = m_gridTop + static_cast<float>(y) * cs + m_grid[kGridOffsets + play::Cell(x, y)];
        p_SetCol(250, 160, 0, 0.5f);
        p_SetSize(1, -3717);
        p_Oval(X - cs / 4, Y, cs / 2, cs / 2);
    }
}

void c_MyApp::p_MoveCursor() {
    float& countdown = m_player[play::kRepeatCountdown];
    float& delay = m_player[play::kRepeatDelay];
    if (m_offsetMax == 0) {
        if (countdown > 0) countdown -= 1;
        // The first held direction moves at once, then after 25 frames, 15 more, 5 more, and every 4 after that.
        const int actions[4] = {kLeft, kRight, kUp, kDown};
        const int stepX[4] = {-1, 1, 0, 0}, stepY[4] = {0, 0, -1, 1};
        bool held = false;
        for (int i = 0; i < 4 && !held; ++i) {
            if (!p_PlayKey(actions[i], 1, 0)) continue;
            held = true;
            if (countdown != 0) break;
            m_player[play::kCursorX] += static_cast<float>(stepX[i]);
            m_player[play::kCursorY] += static_cast<float>(stepY[i]);
            countdown = delay;
            delay -= 10;
            p_PlayTick(2);
        }
        if (!held) {
            countdown = 0;
            delay = 25;
        }
    }
    if (delay < 4) delay = 4;
    for (int slot : {play::kCursorX, play::kCursorY}) {
        if (m_player[slot] < 0) m_player[slot] = 0;
        if (m_player[slot] > kGridSide - 1) m_player[slot] = kGridSide - 1;
    }
}

void c_MyApp::p_CancelOrSelect() {
    float& state = m_player[play::kState];
    // NOTE: cancel leaves a found word (state 3) alone: its letters are falling away and the next word is laid
    // out from that state only.
    if (p_PlayKey(kCancel, 1, 0) && (state == play::kStartChosen || state == play::kExtending) &&
        m_player[play::kWrongTimer] == 0) {
        state = play::kNoSelection;
        m_player[play::kDirection] = 0;
        m_player[play::kPointerPressed] = 0;
        m_player[play::kStartX] = m_player[play::kStartY] = -1;
    }
    if (!p_PlayKey(kSelect, 1, 0) || m_offsetMax != 0 || p_GridFrozen()) return;
    m_player[play::kPointerPressed] = 0;
    if (state == play::kNoSelection) {
        m_player[play::kStartX] = m_player[play::kCursorX];
        m_player[play::kStartY] = m_player[play::kCursorY];
        state = play::kStartChosen;
    }
    if (state != play::kStartChosen) return;
    const float dx = m_player[play::kCursorX] - m_player[play::kStartX];
    const float dy = m_player[play::kCursorY] - m_player[play::kStartY];
    if (dx == 0 && dy == 0) return;
    // The cursor beside the start aims the selection; anywhere else drops the start.
    int direction = 0;
    for (int d = 1; d <= 4; ++d) {
        if (dx == static_cast<float>(kStepX[d]) && dy == static_cast<float>(kStepY[d])) direction = d;
    }
    if (direction != 0) {
        m_player[play::kDirection] = static_cast<float>(direction);
        state = play::kExtending;
    } else {
        state = play::kNoSelection;
        m_player[play::kStartX] = m_player[play::kStartY] = -1;
    }
}

void c_MyApp::p_MatchSelection() {
    // NOTE: only a selection still extending is compared: a cancelled one must not play the wrong cue, nor its
    // reset wipe a start chosen since.
    const int last = m_wordLast;
    if (m_player[play::kState] != play::kExtending || static_cast<int>(m_player[play::kLength]) != last) return;
    // Letters, not positions, are compared, so any copy of the word in that direction counts; one that would
    // run past the grid's edge never does.
    const int direction = static_cast<int>(m_player[play::kDirection]);
    if (direction < 1 || direction > 4) return;
    const int endX = static_cast<int>(m_player[play::kStartX]) + kStepX[direction] * last;
    const int endY = static_cast<int>(m_player[play::kStartY]) + kStepY[direction] * last;
    bool match = InGrid(endX, endY) && last >= 0 && last < m_selCodes.Length();
    for (int i = 0; match && i <= last; ++i) match = m_selCodes[i] == m_wordCodes[i];
    if (match) {
        m_player[play::kState] = play::kWordFound;
        p_PlaySFX(kFoundCue, 1, 1, 0);
        // Every letter starts falling away; those still dropping in keep their speed.
        for (int x = 0; x < kGridSide; ++x) {
            for (int y = 0; y < kGridSide; ++y) m_grid[kGridOffsets + play::Cell(x, y)] = 0.1f;
        }
        return;
    }
    float& timer = m_player[play::kWrongTimer];
    timer += 1;
    if (timer == kWrongCueFrame) p_PlaySFX(kWrongCue, 1, 1, 0);
    if (timer > kWrongShownFrames) {
        timer = 0;
        m_player[play::kState] = play::kNoSelection;
        m_player[play::kStartX] = m_player[play::kStartY] = -1;
        m_player[play::kLength] = 0;
    }
}

void c_MyApp::p_GrowSelection() {
    if (m_player[play::kState] != play::kExtending) return;
    float& length = m_player[play::kLength];
    length += 1;
    if (length < static_cast<float>(m_wordLast)) p_PlayTick(5);
    if (length > static_cast<float>(m_wordLast)) length = static_cast<float>(m_wordLast);
}
