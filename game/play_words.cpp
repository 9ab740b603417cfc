// c_MyApp, the words in play: the word list beside the grid (the group's name, the words found so far, the one
// in play, and "???" for those still to come), and the word in play shown large, turning into place as the
// letters land.
// Depends on the draw list and p_Text, and the game module's virtual screen size.
#include <algorithm>
#include <cmath>

#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"

void c_MyApp::p_EnterWordInList() {
    // The entry of the word in play shows the word itself: the player is always told what to find.
    const int entry = static_cast<int>(m_player[play::kWordCounter] + 1);
    // NOTE: written only inside the list; once the puzzle is over the entry is the unseen 7th.
    if (entry >= 0 && entry < m_wordList.Length()) m_wordList[entry] = m_word;
}

void c_MyApp::p_DrawWordInPlay() {
    if (m_puzzleDone != 0) return;
    const float w = kp_Search_jscrw, h = kp_Search_jscrh;
    p_SetSize(4, -3717);
    p_SetCol(255, 255, 255, 1);
    if (m_landscape == 1) {
        // Level in the middle while the letters drop in; over the last stretch of their fall it turns upright
        // and moves to the right edge.
        const int turn = static_cast<int>(std::trunc(static_cast<float>(m_offsetMax) / 2)) + 90;
        const float angle = static_cast<float>(std::clamp(turn, 0, 90));
        p_SetRot(angle);
        p_Text(w / 2 + 3 * angle, h / 2, m_word, 1, 1, 0);
    } else {
        // Upright screens: the word rises into place below the grid, shrunk where it is wider than the screen.
        p_SetSize(p_FitUpright(m_word, 4, w - 16), -3717);
        const float rise = std::clamp(static_cast<float>(m_offsetMax) / 2, -h / 2, 0.0f);
        p_Text(w / 2, h - 32 + rise, m_word, 1, 1, 0);
    }
}

void c_MyApp::p_DrawWordList() {
    if (m_landscape != 1 || m_debugFlag2 != 0) return;
    const float top = std::trunc(kp_Search_jscrh / 2 - 64);
    for (int i = 0; i <= 6; ++i) p_Text(16, top + 16 * static_cast<float>(i), m_wordList[i], 0, 0, 0);
}
