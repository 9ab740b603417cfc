// c_MyApp, grid generation: seeding and drawing from the one random generator, laying each word of a group into
// the 13 by 13 grid over a filling made of its own letters, and the clearing that starts a puzzle.
// Depends on the random module, the catalogue (the words and the group's name), the stars (reset at puzzle start)
// and the sound cues (the tune operations, off in this build).
// NOTE: every word is laid out from a fresh clock seed, so no two plays of a group give the same grids.
#include <algorithm>
#include <cmath>

#include "framework/app/app.h"
#include "framework/random/random.h"
#include "game/catalogue/getaword.h"
#include "game/myapp.h"
#include "game/play_slots.h"
#include "game/search.h"

namespace {

// The seed that asks p_SeedRnd for the clock instead.
constexpr int kClockSeed = -37171650;
constexpr int kWarmUpSteps = 21;
// The four ways a word runs: across, downwards, backwards, upwards.
constexpr int kStepX[4] = {1, 0, -1, 0};
constexpr int kStepY[4] = {0, 1, 0, -1};
constexpr int kLastCell = play::kGridSide - 1;

// The tutorial teaches one direction per word: its first two words across, then down, backwards and upwards.
int TutorialDirection(int counter, int drawn) {
    switch (counter) {
        case 0: case 1: return 0;
        case 2: return 1;
        case 3: return 2;
        case 4: return 3;
        default: return drawn;
    }
}

bool Fits(int x, int y, int direction, int last) {
    switch (direction) {
        case 0: return x + last <= kLastCell;
        case 1: return y + last <= kLastCell;
        case 2: return x - last >= 0;
        default: return y - last >= 0;
    }
}

}  // namespace

int c_MyApp::p_SeedRnd(int seed) {
    kp_random_Seed = seed;
    if (seed == kClockSeed) seed = kp_app_Millisecs();
    for (int i = 0; i < kWarmUpSteps; ++i) seed = kp_random_Step(seed);
    kp_random_Seed = seed;
    return 0;
}

int c_MyApp::p_Rand(float low, float high) {
    const float r = kp_random_Rnd();
    // NOTE: the 0.99 makes high itself reachable while the result stays at most high.
    return static_cast<int>(std::floor(low + (high + 0.99f - low) * r));
}

int c_MyApp::p_Jumble(int group) {
    p_SeedRnd(kClockSeed);
    m_player[play::kStartX] = m_player[play::kStartY] = -1;
    m_player[play::kState] = play::kNoSelection;
    m_player[play::kLength] = 0;
    m_player[play::kWrongTimer] = 0;
    m_player[play::kWordCounter] += 1;
    const float counter = m_player[play::kWordCounter];
    m_wordNum = static_cast<int>(counter);
    m_word = kp_GetAWordFunc_GetAWord(group, m_wordNum);
    // Past the last word the puzzle is over; a grid is still laid (word 0 again) but never played.
    if (counter > static_cast<float>(kp_GetAWordFunc_GroupSize - 1)) m_puzzleDone = 1;

    const int last = m_word.Length() - 1;
    const float dropFrom = -2.0f * kp_Search_jscrh;
    for (int x = 0; x < play::kGridSide; ++x) {
        for (int y = 0; y < play::kGridSide; ++y) {
            const int index = static_cast<int>(std::floor(kp_random_Rnd() * (static_cast<float>(last) + 0.99f)));
            // NOTE: a group outside the catalogue gives no word; its cells stay empty instead of reading before it.
            m_grid[kGridLetters + play::Cell(x, y)] = last >= 0 ? static_cast<float>(m_word[index]) : 0.0f;
            m_grid[kGridOffsets + play::Cell(x, y)] = dropFrom;
            m_grid[kGridSpeeds + play::Cell(x, y)] = 8.0f + kp_random_Rnd() * 8.0f;
        }
    }
    m_wordLast = last;
    if (last < 0) return 0;

    // Every try draws its column, row and direction, in that order, even where the tutorial then overrides the
    // direction: the sequence of draws is the same for every group.
    int x, y, direction;
    do {
        x = static_cast<int>(std::floor(kp_random_Rnd() * 12.99f));
        y = static_cast<int>(std::floor(kp_random_Rnd() * 12.99f));
        direction = static_cast<int>(std::floor(kp_random_Rnd() * 3.99f));
        if (group == 0) direction = TutorialDirection(static_cast<int>(counter), direction);
    } while (!Fits(x, y, direction, last));

    m_player[play::kFirstLetterX] = static_cast<float>(x);
    m_player[play::kFirstLetterY] = static_cast<float>(y);
    for (int i = 0; i <= last; ++i) {
        m_wordCodes[i] = m_word[i];
        m_grid[kGridLetters + play::Cell(x + kStepX[direction] * i, y + kStepY[direction] * i)] =
            static_cast<float>(m_word[i]);
    }
    return 0;
}

static_assert(c_MyApp::kGridSpeeds + play::Cell(play::kGridSide - 1, play::kGridSide - 1) <
                  c_MyApp::kGridPlanesEnd,
              "every plane lies below the end of the planes");

int c_MyApp::p_ResetGrid() {
    // NOTE: the rest of the array is zero from its making and never written, so clearing the planes leaves all
    // of it zero, without writing (and so making resident) its twenty megabytes at every puzzle.
    std::fill_n(m_grid.Data(), kGridPlanesEnd, 0.0f);
    return 0;
}

int c_MyApp::p_ResetPlayers() {
    // NOTE: the last twelve slots are not play values and outlive a puzzle.
    for (int i = 0; i < 500; ++i) m_player[i] = 0.0f;
    return 0;
}

int c_MyApp::p_FlushGame() {
    p_ResetGrid();
    p_ResetStars(100);
    p_ResetPlayers();
    m_paused = 0;
    m_wordNum = 0;
    m_puzzleDone = 0;
    m_finishTimer = 0;
    m_gaveUp = 0;
    m_starScrollX = m_starScrollToX = m_starScrollY = m_starScrollToY = 0.0f;
    return 0;
}

int c_MyApp::p_LoadGame() {
    m_state = 10;
    p_PlayTune(String("fish"), 1);
    p_FlushGame();
    m_player[play::kWordCounter] = -1;
    p_Jumble(m_gameNum - 1);
    m_player[play::kStartX] = m_player[play::kStartY] = -1;
    m_player[play::kCursorX] = m_player[play::kCursorY] = 6;
    // NOTE: the colour-scheme button may still be held from the menu that started the puzzle (the third button
    // starts a group there too): it counts only once it is pressed afresh. The cursor's key-repeat delay starts
    // at 0 and is raised to 4 while the letters drop in, so a direction held as the first letter lands moves the
    // cursor at once and then every 4 frames.
    m_player[play::kSchemeLatch] = 1;
    m_wordList[0] = kp_GetAWordFunc_GroupName;
    for (int i = 1; i <= 6; ++i) m_wordList[i] = String("???");
    return 0;
}
