// Whole puzzles played through the input device only: the tutorial, the training group and three themes, each
// with the mouse, the keyboard or a scripted pad, ending in the finishing panel and the hand-over to the menu with
// the result; a puzzle given up after two words; and play with no pad, or with a pad pulled out mid-puzzle.
#include "tests/support/play_fixture.h"

namespace {

class Player : public PlayFixture {
protected:
    // Plays group `game` to the end with a device and follows the finishing panel back to the menu.
    void Complete(int game, Device device) {
        StartPuzzle(game);
        ASSERT_TRUE(PlayPuzzle(device));
        EXPECT_EQ(app->m_gaveUp, 0);
        EXPECT_EQ(app->m_wordNum, 6) << "the sixth word's fall ends the puzzle with the result 6";
        for (int i = 1; i <= 6; ++i) {
            EXPECT_EQ(app->m_wordList[i], kp_GetAWordFunc_GetAWord(game - 1, i - 1)) << "every word stays listed";
        }
        // The panel's 90th frame hands over to the menu.
        ASSERT_TRUE(FramesUntil([&] { return app->m_state != 10; }, 95));
        EXPECT_EQ(app->m_state, 2);
        EXPECT_EQ(app->m_wordNum, 6);
    }
};

TEST_F(Player, CompletesTheTutorialWithTheMouse) { Complete(1, Device::Mouse); }
TEST_F(Player, CompletesTheTrainingGroupWithTheKeyboard) { Complete(2, Device::Keyboard); }
TEST_F(Player, CompletesTheSegaGroupAndItsTwelveLetterWordWithAPad) { Complete(8, Device::Pad); }
TEST_F(Player, CompletesTheWardGroupAndItsTwelveLetterWordWithTheMouse) { Complete(14, Device::Mouse); }
TEST_F(Player, CompletesTheFelineGroupWithTheKeyboard) { Complete(56, Device::Keyboard); }

TEST_F(Player, GivingUpAfterTwoWordsEndsWithTwo) {
    StartPuzzle(31);
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    // What the pause menu's quit leaves behind.
    app->m_paused = 0;
    app->m_pauseChoice = -1;
    app->m_pausePanelY = -64;
    app->m_puzzleDone = 1;
    app->m_gaveUp = -1;
    app->m_pointerLatch = 1;
    ASSERT_TRUE(FramesUntil([&] { return app->m_state != 10; }, 95));
    EXPECT_EQ(app->m_state, 2);
    EXPECT_EQ(app->m_wordNum, 2);
    // The frozen grid takes no selection: the word in play can no longer be found.
    EXPECT_EQ(app->m_wordList[3], kp_GetAWordFunc_GetAWord(30, 2));
    EXPECT_EQ(app->m_wordList[4].ToUtf8(), "???");
}

// A pad pulled out mid-puzzle with its hat and stick held: nothing stays held, and the keyboard plays the rest.
TEST_F(Player, APadUnpluggedMidPuzzleLeavesNothingHeldAndTheKeyboardFinishes) {
    StartPuzzle(5);
    ASSERT_TRUE(PlayWord(Device::Pad));
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    PadButton(kKeyRight, true);
    fake.pads[0].axes = {1.0f, 1.0f, 0, 0, 0, 0};
    Frames(3);
    fake.pads[0].present = false;
    Frames(2);
    EXPECT_EQ(app->m_keyLatch, 0) << "no control is held once the pad is gone";
    const float cursor = Slot(play::kCursorX);
    Frames(60);
    EXPECT_EQ(Slot(play::kCursorX), cursor) << "the cursor does not run on by itself";
    for (int word = 1; word < 6; ++word) ASSERT_TRUE(PlayWord(Device::Keyboard)) << "word " << word;
    EXPECT_TRUE(FramesUntil([&] { return app->m_puzzleDone == 1; }, 600));
    EXPECT_EQ(app->m_wordNum, 6);
}

TEST_F(Player, WithNoPadAtAllTheKeyboardPlaysAWholePuzzle) {
    fake.pads[0].present = false;
    Complete(20, Device::Keyboard);
}

}  // namespace
