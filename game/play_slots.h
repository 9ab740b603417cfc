// The slots of c_MyApp::m_player that puzzle set-up and play keep their values in, and the grid's shape.
// Depends on nothing. Shared by grid generation, play, the finishing panel and the menu's key repeat.
// NOTE: the values are floats, as the array is; whole-number slots are read back truncated.
#pragma once

namespace play {

constexpr int kCursorX = 1, kCursorY = 2;      // keyboard cursor, column and row 0..12
constexpr int kState = 5;                      // selection: 0 none, 1 start chosen, 2 extending, 3 word found
constexpr int kDirection = 6;                  // 0 none, 1 right, 2 down, 3 left, 4 up
constexpr int kPointerPressed = 7;             // 1 once the pointer has pressed a cell; 0 after select or cancel
constexpr int kLength = 8;                     // cells beyond the start cell
constexpr int kStartX = 11, kStartY = 12;      // selection start; -1, -1 when none
constexpr int kRepeatCountdown = 15;           // the cursor's key repeat
constexpr int kWrongTimer = 18;                // frames a wrong selection has been shown
constexpr int kMenuRepeatCountdown = 21, kMenuRepeatDelay = 22;  // the main menu's key repeat
constexpr int kWordCounter = 25;               // words completed in this puzzle; -1 before the first
constexpr int kLastWord = 5;                   // the counter of a group's sixth word; above it the puzzle is complete
constexpr int kRepeatDelay = 35;               // 25 when no direction is held, then 15, 5, never below 4
constexpr int kFirstLetterX = 51, kFirstLetterY = 52;  // where the word in play begins (the hint marker)
constexpr int kSchemeLatch = 57;               // the colour-scheme action acts once per press

// Selection states.
constexpr int kNoSelection = 0, kStartChosen = 1, kExtending = 2, kWordFound = 3;

// The grid: 13 by 13 cells, rows 16 entries apart within each plane.
constexpr int kGridSide = 13;
constexpr int kRowStride = 16;
constexpr int Cell(int x, int y) { return y * kRowStride + x; }

}  // namespace play
