// The rules of play, each driven through the input device on a real puzzle: the cursor's key repeat, the
// growth of a selection, a wrong selection's cue and its clearing, the hint marker, the colour schemes, a word
// found under the panel of a give-up, and the mended faults (cancel during a fall, stale letters past the edge,
// presses carried in from the menu, pausing and selecting once the puzzle is complete).
#include "tests/support/play_fixture.h"

namespace {

class Play : public PlayFixture {
protected:
    // A start and direction whose letters do not spell the word, with the whole selection inside the grid.
    Placement WrongPlacement() const {
        const String& word = app->m_word;
        for (int x = 0; x < 13; ++x) {
            for (int y = 0; y < 13; ++y) {
                for (int d = 1; d <= 4; ++d) {
                    const int ex = x + kStepX[d] * (word.Length() - 1), ey = y + kStepY[d] * (word.Length() - 1);
                    if (ex < 0 || ex > 12 || ey < 0 || ey > 12) continue;
                    bool spells = true;
                    for (int i = 0; i < word.Length() && spells; ++i) {
                        spells = Letter(x + kStepX[d] * i, y + kStepY[d] * i) == word[i];
                    }
                    if (!spells) return {x, y, d};
                }
            }
        }
        return {};
    }
    // Presses the pointer on a start and drags to the next cell, one frame each; the pointer stays down.
    void PointAt(Placement at) {
        auto [px, py] = CellOnScreen(at.x, at.y);
        MouseDown(px, py);
        Frame();
        auto [qx, qy] = CellOnScreen(at.x + kStepX[at.direction], at.y + kStepY[at.direction]);
        input->p_MouseEvent(KpEventMouseMove, -1, qx, qy);
        Frame();
    }
    void StartSettled(int game) {
        StartPuzzle(game);
        ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    }
    // Oval records of the frame with alpha 0.5 and no blue: the hint marker and the selection.
    int WarmOvals() const {
        int n = 0;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            n += r[0] == -3716.0f && r[7] == 0.5f && r[12] == 0.0f ? 1 : 0;
        }
        return n;
    }
};

TEST_F(Play, AHeldDirectionRepeatsAtItsTimingAndStopsAtTheEdge) {
    StartSettled(5);
    std::vector<int> moves;
    Press(kKeyRight);
    for (int frame = 0; frame < 70; ++frame) {
        const float before = Slot(play::kCursorX);
        Frame();
        if (Slot(play::kCursorX) != before) moves.push_back(frame);
    }
    Release(kKeyRight);
    EXPECT_EQ(moves, (std::vector<int>{0, 25, 40, 45, 49, 53}));
    EXPECT_EQ(Slot(play::kCursorX), 12);
}

TEST_F(Play, ADirectionHeldWhileTheLettersLandMovesAsTheFirstLandsAndThenEvery4Frames) {
    StartPuzzle(5);
    Press(kKeyDown);
    std::vector<int> moves;
    int landed = -1;
    for (int frame = 0; frame < 200 && (landed < 0 || frame < landed + 14); ++frame) {
        const float before = Slot(play::kCursorY);
        Frame();
        if (landed < 0 && app->m_offsetMax == 0) landed = frame;
        if (Slot(play::kCursorY) != before) moves.push_back(frame - landed);
    }
    Release(kKeyDown);
    ASSERT_GE(landed, 0);
    // The delay is never raised to 25 before the first move: the held key walks on in the shortest steps.
    EXPECT_EQ(moves, (std::vector<int>{0, 4, 8, 12}));
}

TEST_F(Play, ASelectionGrowsACellAFrameUpToTheWordAndAWrongOneShowsFor31Frames) {
    StartSettled(7);
    const int last = app->m_wordLast;
    PointAt(WrongPlacement());
    MouseUp();
    std::vector<float> lengths;
    int cueFrame = -1, clearedFrame = -1;
    for (int frame = 1; frame <= 60 && clearedFrame < 0; ++frame) {
        const int cues = CueCount(4);
        Frame();
        lengths.push_back(Slot(play::kLength));
        if (CueCount(4) > cues) {
            EXPECT_EQ(cueFrame, -1) << "the wrong cue sounds once";
            cueFrame = frame;
        }
        if (Slot(play::kState) == play::kNoSelection) clearedFrame = frame;
    }
    // Length 1 came with the direction; one more each frame, then held at the word's length.
    for (int i = 0; i < last - 1; ++i) EXPECT_EQ(lengths[static_cast<size_t>(i)], static_cast<float>(i + 2));
    for (float length : lengths) EXPECT_LE(length, static_cast<float>(last));
    const int full = last - 1;  // the frame (counted from 1) in which the length first was the word's
    EXPECT_EQ(cueFrame, full + 4) << "the cue sounds in the wrong selection's fourth frame";
    EXPECT_EQ(clearedFrame, full + 31) << "and it is cleared after 31 frames";
    EXPECT_EQ(Slot(play::kLength), 0);
}

TEST_F(Play, TheHintMarksTheTutorialAndTheFirstThreeTrainingWordsOnly) {
    StartSettled(1);
    EXPECT_EQ(WarmOvals(), 1) << "tutorial";
    StartSettled(2);
    for (int word = 0; word < 4; ++word) {
        EXPECT_EQ(WarmOvals(), word < 3 ? 1 : 0) << "training word " << word;
        ASSERT_TRUE(PlayWord(Device::Mouse));
        ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    }
    StartSettled(3);
    EXPECT_EQ(WarmOvals(), 0) << "a theme";
}

TEST_F(Play, TheSchemeToggleFlipsOnceAPressAndItsLabelNamesTheOther) {
    auto label = [&] {
        std::string text;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] == 90.0f && r[2] == 16.0f) text += static_cast<char>(r[6] + 32);
        }
        return text;
    };
    Press(67);  // C, still held from the menu that starts the puzzle
    StartSettled(4);
    EXPECT_EQ(app->m_settings[1], 0) << "a press carried in from the menu does not flip the scheme";
    EXPECT_EQ(label(), "Dark");
    Release(67);
    Frame();
    Tap(Device::Keyboard, 67);
    EXPECT_EQ(app->m_settings[1], 1);
    EXPECT_EQ(label(), "Light");
    Press(67);
    Frames(10);
    Release(67);
    Frame();
    EXPECT_EQ(app->m_settings[1], 0) << "holding the key flips once";
    int lightLetters = 0;
    for (int at = 0; at < app->m_drawCount; at += 15) lightLetters += app->m_drawList[at] == 11.0f ? 1 : 0;
    EXPECT_EQ(lightLetters, 169) << "black letters on the light scheme";
}

TEST_F(Play, CancelDuringTheFallOfAFoundWordLeavesItToLayOutTheNextWord) {
    StartSettled(6);
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_EQ(Slot(play::kState), play::kWordFound);
    Press(88);  // X, held through the fall
    ASSERT_TRUE(FramesUntil([&] { return Slot(play::kWordCounter) == 1; }, 400)) << "the puzzle locked";
    Release(88);
}

TEST_F(Play, ACancelledSelectionIsNotComparedAndLeavesALaterStartAlone) {
    StartSettled(9);
    const Placement wrong = WrongPlacement();
    PointAt(wrong);
    MouseUp();
    ASSERT_TRUE(FramesUntil([&] { return Slot(play::kLength) == static_cast<float>(app->m_wordLast); }));
    Press(88);  // cancel while the wrong timer is still 0
    Frame();
    Release(88);
    ASSERT_EQ(Slot(play::kState), play::kNoSelection);
    MoveCursorTo(Device::Keyboard, 0, 0);
    Tap(Device::Keyboard, kKeyZ);
    ASSERT_EQ(Slot(play::kStartX), 0);
    const int cues = CueCount(4);
    Frames(40);
    EXPECT_EQ(CueCount(4), cues) << "no wrong cue for a cancelled selection";
    EXPECT_EQ(Slot(play::kStartX), 0) << "the start chosen since survives";
    EXPECT_EQ(Slot(play::kState), play::kStartChosen);
}

TEST_F(Play, ASelectionRunningPastTheEdgeNeverMatches) {
    StartSettled(1);  // TUTORIAL: eight letters, the first four written where the grid ends
    const int codes[4] = {'T', 'U', 'T', 'O'};
    for (int i = 0; i < 4; ++i) app->m_grid[play::Cell(9 + i, 0)] = static_cast<float>(codes[i]);
    for (int i = 0; i < 8; ++i) app->m_selCodes[i] = app->m_wordCodes[i];  // left over from an earlier selection
    app->m_player[play::kStartX] = 9;
    app->m_player[play::kStartY] = 0;
    app->m_player[play::kDirection] = 1;
    app->m_player[play::kLength] = 7;
    app->m_player[play::kState] = play::kExtending;
    Frame();
    EXPECT_EQ(Slot(play::kState), play::kExtending);
    EXPECT_EQ(Slot(play::kWrongTimer), 1);
}

TEST_F(Play, AWordFoundUnderTheGiveUpPanelStillCounts) {
    StartPuzzle(1);
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Tap(Device::Keyboard, 27);
    Frames(15);
    Tap(Device::Keyboard, kKeyUp);  // from resume to quit
    Tap(Device::Keyboard, kKeyZ);
    ASSERT_EQ(app->m_gaveUp, -1);
    ASSERT_EQ(app->m_wordNum, 2);
    // The panel rises over a grid that is still live: the third word is found and laid out behind it.
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(FramesUntil([&] { return Slot(play::kWordCounter) == 3; }, 80));
    EXPECT_EQ(app->m_wordNum, 3);
    EXPECT_EQ(app->m_state, 10) << "the word was found before the panel handed over";
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1; }, 120));
    EXPECT_EQ(app->m_scores[0], 3);
    EXPECT_EQ(app->m_scores[5120], 3);
}

TEST_F(Play, AFinishedPuzzleOffersNoPauseAndTakesNoSelection) {
    StartPuzzle(1);
    ASSERT_TRUE(PlayPuzzle(Device::Mouse));
    Frame();
    Press(27);  // Escape in the panel's first frames
    Frame();
    Release(27);
    EXPECT_EQ(app->m_paused, 0);
    MouseDown(16 * app->m_scaleX, 16 * app->m_scaleY);  // the pause icon
    Frame();
    MouseUp();
    EXPECT_EQ(app->m_paused, 0);
    // The frozen grid lies two screens up; a pointer dragged far above the window still finds no cell to take.
    for (int x = 0; x < 13; ++x) {
        for (int y = 0; y < 13; ++y) {
            auto [px, py] = CellOnScreen(x, y);
            MouseDown(px, py - 960 * app->m_scaleY);
            Frame();
            MouseUp();
        }
    }
    EXPECT_EQ(Slot(play::kStartX), -1);
    EXPECT_EQ(Slot(play::kWordCounter), 6);
}

}  // namespace
