// The options box and the pause menu driven through the input device: every row by keys, a pad and the mouse,
// from the menu and from the pause menu; the sound row's cycle, the cursor's ends, the slide, saving on closing and
// the stick senses; the pause panel's motion, resuming, quitting with the words found so far, and the drawing toy.
// Also the mended faults: stored values out of range, the window row's fresh press, entries while the panel leaves,
// changes after the closing save, a diagonal stick on the cog, the toy's first trail and its arrows under the box.
#include <cmath>
#include <sstream>

#include "tests/support/play_fixture.h"

namespace {

class Overlays : public PlayFixture {
protected:
    Overlays() { Frames(40); }

    // Opens the options box from the menu's cog and waits for it to slide in.
    void OpenOptionsFromMenu() {
        for (int i = 0; i < 3; ++i) Tap(Device::Keyboard, kKeyLeft);
        Tap(Device::Keyboard, 13);
        ASSERT_EQ(app->m_optionsOpen, 1);
        Frames(30);
        ASSERT_EQ(app->m_optionsSlide, 30);
    }
    // Where row k's label lies on the 640 x 480 window once the box is in.
    static std::pair<float, float> RowOnScreen(int row) { return {300.5f, 130.5f + 40 * static_cast<float>(row - 1) + 8}; }
    void Click(float x, float y, int held = 1) {
        MouseDown(x, y);
        Frames(held);
        MouseUp();
        Frame();
    }
    std::string SavedField(int index) {
        std::stringstream text(StateFile());
        std::string field;
        for (int i = 0; i <= index && std::getline(text, field, '|'); ++i) {
        }
        return field;
    }
    // The label drawn for a row this frame, read back from the glyph records at its height.
    std::string Label(int row) const {
        const float y = 130 + 40 * static_cast<float>(row - 1);
        std::string text;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] == 90.0f && r[4] == 2.0f && std::fabs(r[2] - y - 10) < 0.01f) text += static_cast<char>(r[6] + 32);
        }
        return text;
    }
};

TEST_F(Overlays, FourClicksOnTheSoundRowCycleItsLevelsOneStepEach) {
    OpenOptionsFromMenu();
    auto [x, y] = RowOnScreen(1);
    const std::string labels[5] = {"Sound:[---Loud]", "Sound:[--Normal-]", "Sound:[-Quiet--]", "Sound:[OFF---]",
                                   "Sound:[---Loud]"};
    EXPECT_EQ(Label(1), labels[0]);
    for (int click = 1; click <= 4; ++click) {
        Click(x, y, 20);  // held for a third of a second
        EXPECT_EQ(app->m_settings[6], click % 4) << "click " << click;
        EXPECT_EQ(Label(1), labels[click]);
    }
}

TEST_F(Overlays, TheCursorStopsAtItsEndsAndSelectOnTheCogClosesAndSaves) {
    OpenOptionsFromMenu();
    EXPECT_EQ(app->m_optionCursor, 0);
    Tap(Device::Keyboard, kKeyUp);
    EXPECT_EQ(app->m_optionCursor, 0);
    for (int i = 0; i < 6; ++i) Tap(Device::Pad, kKeyDown);
    EXPECT_EQ(app->m_optionCursor, 4) << "the pad walks to the last row and no further";
    Tap(Device::Pad, kKeyZ);  // the right stick flipped to normal
    EXPECT_EQ(app->m_settings[16], 1);
    for (int i = 0; i < 4; ++i) Tap(Device::Keyboard, kKeyUp);
    ASSERT_EQ(app->m_optionCursor, 0);
    ASSERT_FALSE(StateFileExists());
    Tap(Device::Keyboard, kKeyZ);
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(SavedField(16), "1") << "closing saved the record with the new setting";
    Frames(30);
    EXPECT_EQ(app->m_optionsSlide, 0);
    EXPECT_EQ(app->m_state, 1);
}

TEST_F(Overlays, AStickHeldDownLeftOnTheCogStillWalksDown) {
    OpenOptionsFromMenu();
    // The first stick's start sense is flipped: pulled towards the player and to the left reads as down-left.
    fake.pads[0].axes = {-0.8f, -0.8f, 0, 0, 0, 0};
    Frame();
    fake.pads[0].axes = {0, 0, 0, 0, 0, 0};
    Frame();
    EXPECT_EQ(app->m_optionCursor, 1) << "left cannot move the cursor above the cog; down then moves it";
}

TEST_F(Overlays, NoRowReactsWhileTheBoxSlidesIn) {
    for (int i = 0; i < 3; ++i) Tap(Device::Keyboard, kKeyLeft);
    Tap(Device::Keyboard, 13);
    auto [x, y] = RowOnScreen(3);
    MouseDown(x, y - 24 * 20);  // where the row is while the box is 20 updates from home
    Frames(10);
    MouseUp();
    Frames(30);
    EXPECT_EQ(app->m_settings[15], 0);
    Click(x, y);
    EXPECT_EQ(app->m_settings[15], 1) << "once in, a click acts";
}

TEST_F(Overlays, TheStickRowsSetTheSenseOfEachStick) {
    // Both sticks pushed away from the player, inside the dead zone so that no control is held.
    fake.pads[0].axes = {0, 0.3f, 0, 0.25f, 0, 0};
    Frame();
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), -0.3f) << "flipped at first: away from the player reads as up";
    EXPECT_FLOAT_EQ(app->p_StickY(1, 0), 0.25f) << "this pad reports the second stick's vertical axis negated";
    OpenOptionsFromMenu();
    auto [x3, y3] = RowOnScreen(3);
    Click(x3, y3);
    auto [x4, y4] = RowOnScreen(4);
    Click(x4, y4);
    EXPECT_FLOAT_EQ(app->p_StickY(0, 0), 0.3f);
    EXPECT_FLOAT_EQ(app->p_StickY(1, 0), -0.25f);
    EXPECT_EQ(Label(3), "LeftThumbstickYNormal");
    EXPECT_EQ(Label(4), "RightThumbstickYNormal");
}

TEST_F(Overlays, EveryRowIsReachedFromThePauseMenuByKeysPadAndMouse) {
    StartPuzzle(5);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Tap(Device::Keyboard, 27);
    ASSERT_EQ(app->m_paused, 1);
    Frames(20);
    Tap(Device::Keyboard, kKeyDown);  // resume to options
    EXPECT_EQ(app->m_pauseCursor, 1);
    Tap(Device::Keyboard, kKeyZ);
    ASSERT_EQ(app->m_optionsOpen, 1);
    Frames(30);
    Tap(Device::Keyboard, kKeyDown);
    Tap(Device::Keyboard, 13);  // keys: sound to normal
    EXPECT_EQ(app->m_settings[6], 1);
    Tap(Device::Pad, kKeyDown);
    Tap(Device::Pad, kKeyDown);
    Tap(Device::Pad, kKeyZ);  // pad: left stick to normal
    EXPECT_EQ(app->m_settings[15], 1);
    auto [x, y] = RowOnScreen(4);
    Click(x, y);  // mouse: right stick to normal
    EXPECT_EQ(app->m_settings[16], 1);
    EXPECT_EQ(app->m_optionCursor, 4);
    EXPECT_EQ(app->m_paused, 1) << "the puzzle stays paused under the box";
    const float counter = Slot(play::kWordCounter);
    Tap(Device::Keyboard, 27);  // back closes the box, back in the pause menu
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(SavedField(6), "1");
    Frames(30);
    EXPECT_EQ(app->m_paused, 1);
    EXPECT_EQ(Slot(play::kWordCounter), counter);
}

TEST_F(Overlays, ResumeLeavesPlayPausedUntilThePanelIsBelowMinus32) {
    StartPuzzle(5);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Tap(Device::Keyboard, 27);
    ASSERT_TRUE(FramesUntil([&] { return app->m_pausePanelY == 240; }, 30)) << "in by 24 a frame to half the height";
    Tap(Device::Keyboard, kKeyZ);  // resume is highlighted
    EXPECT_EQ(app->m_pauseChoice, -1);
    std::vector<int> panel;
    while (app->m_paused == 1 && panel.size() < 40) {
        panel.push_back(app->m_pausePanelY);
        Frame();
    }
    ASSERT_FALSE(panel.empty());
    EXPECT_GE(panel.back(), -32) << "still paused at " << panel.back();
    EXPECT_LT(app->m_pausePanelY, -32);
    const float cursor = Slot(play::kCursorX);
    Tap(Device::Keyboard, kKeyRight);
    EXPECT_EQ(Slot(play::kCursorX), cursor + 1) << "play goes on";
}

TEST_F(Overlays, QuittingFromThePauseMenuFilesTheWordsFoundSoFar) {
    Tap(Device::Keyboard, 13);  // the tutorial
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(PlayWord(Device::Mouse));
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Tap(Device::Keyboard, 27);
    Frames(15);
    Tap(Device::Keyboard, kKeyUp);  // resume to quit
    EXPECT_EQ(app->m_pauseCursor, -1);
    Tap(Device::Keyboard, kKeyZ);
    EXPECT_EQ(app->m_gaveUp, -1);
    EXPECT_EQ(app->m_paused, 0);
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1; }, 120));
    EXPECT_EQ(app->m_scores[0], 3);
    EXPECT_EQ(app->m_scores[5120], 3);
    EXPECT_EQ(SavedField(35), "3");
}

TEST_F(Overlays, TheToysArmAndSpeedKeepToTheirLimits) {
    StartPuzzle(5);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Tap(Device::Keyboard, 27);
    Frames(12);
    Press(kKeyUp);
    Frames(10);
    EXPECT_FLOAT_EQ(app->m_toyArm, 25 - 10) << "one a frame";
    Frames(30);
    EXPECT_FLOAT_EQ(app->m_toyArm, 0);
    Release(kKeyUp);
    Press(kKeyRight);
    Frames(500);
    Release(kKeyRight);
    EXPECT_FLOAT_EQ(app->m_toySpeed, 128);
    Press(kKeyDown);
    Frames(400);
    Release(kKeyDown);
    EXPECT_FLOAT_EQ(app->m_toyArm, 216) << "no longer than the toy's reach";
    std::string figures;
    for (int at = 0; at < app->m_drawCount; at += 15) {
        const float* r = &app->m_drawList[at];
        if (r[0] == 90.0f && r[10] == 100.0f && r[11] == 255.0f) figures += static_cast<char>(r[6] + 32);
    }
    EXPECT_EQ(figures, "128:216");
    int lines = 0;
    for (int at = 0; at < app->m_drawCount; at += 15) lines += app->m_drawList[at] == -3715.0f ? 1 : 0;
    EXPECT_EQ(lines, 202) << "101 segments, each drawn twice";
}

TEST_F(Overlays, TheToysFirstTrailStartsAtItsPenAndTheOptionsBoxOwnsTheArrows) {
    StartPuzzle(5);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Press(27);
    // Every segment of the trail lies within the toy's reach of its centre, from the first pause of the run on.
    const float cx = 640 / 2 + 96, cy = 480 / 2, reach = 216;
    for (int frame = 0; frame < 5; ++frame) {
        Frame();
        if (frame == 0) Release(27);
        int lines = 0;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] != -3715.0f) continue;
            ++lines;
            for (int end : {1, 4}) {
                ASSERT_LE(std::hypot(r[end] - cx, r[end + 1] - cy), reach + 1)
                    << "frame " << frame << ": a segment ends at " << r[end] << "," << r[end + 1];
            }
        }
        ASSERT_EQ(lines, 202);
    }
    Frames(15);
    Tap(Device::Keyboard, kKeyDown);  // resume to options
    Tap(Device::Keyboard, kKeyZ);
    ASSERT_EQ(app->m_optionsOpen, 1);
    Frames(30);
    const float arm = app->m_toyArm, speed = app->m_toySpeed, angle = app->m_toyAngle1;
    for (int key : {kKeyDown, kKeyRight, kKeyUp, kKeyLeft, kKeyDown}) Tap(Device::Keyboard, key);
    EXPECT_EQ(app->m_optionCursor, 1) << "down, right and down walk the box; up and left walk it back";
    EXPECT_FLOAT_EQ(app->m_toyArm, arm);
    EXPECT_FLOAT_EQ(app->m_toySpeed, speed);
    EXPECT_NE(app->m_toyAngle1, angle) << "the toy keeps turning behind the box";
}

TEST_F(Overlays, StoredValuesOutOfRangeAreShownAndCycledSafely) {
    app->m_settings[6] = -2;
    app->m_settings[15] = 7;
    OpenOptionsFromMenu();
    EXPECT_EQ(Label(1), "Sound:[---Loud]");
    EXPECT_EQ(app->m_settings[6], 0);
    EXPECT_EQ(Label(3), "LeftThumbstickYNormal") << "a stick reads any setting but 0 as normal";
    auto [x, y] = RowOnScreen(3);
    Click(x, y);
    EXPECT_EQ(app->m_settings[15], 0);
    EXPECT_EQ(Label(3), "LeftThumbstickYFlipped");
    std::tie(x, y) = RowOnScreen(1);
    Click(x, y);
    EXPECT_EQ(app->m_settings[6], 1);
}

TEST_F(Overlays, TheWindowRowActsOnceForAHeldButton) {
    OpenOptionsFromMenu();
    Tap(Device::Pad, kKeyDown);
    Tap(Device::Pad, kKeyDown);
    ASSERT_EQ(app->m_optionCursor, 2);
    const int opened = fake.windowsOpened;
    PadButton(kKeyZ, true);
    for (int i = 0; i < 120; ++i) {
        Frame();
        Render();  // a new window size reloads the art, as the render pass sees it
    }
    PadButton(kKeyZ, false);
    Frame();
    EXPECT_EQ(fake.windowsOpened, opened + 1);
    EXPECT_EQ(app->m_fullscreen, 1);
}

TEST_F(Overlays, PauseEntriesWaitWhileThePanelLeaves) {
    StartPuzzle(5);
    ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
    Tap(Device::Keyboard, 27);
    Frames(12);
    Tap(Device::Keyboard, kKeyZ);  // resume
    ASSERT_EQ(app->m_pauseChoice, -1);
    Tap(Device::Keyboard, kKeyDown);
    Tap(Device::Keyboard, kKeyZ);  // options, quickly, while the panel slides out
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(app->m_pauseCursor, 0);
}

TEST_F(Overlays, NothingChangesAfterTheClosingSave) {
    OpenOptionsFromMenu();
    Tap(Device::Keyboard, kKeyDown);
    ASSERT_EQ(app->m_optionCursor, 1);
    // Back and select pressed together on the sound row: the box closes and saves, and the row stays as saved.
    PadButton(kKeyZ, true);
    Press(27);
    Frame();
    PadButton(kKeyZ, false);
    Release(27);
    Frame();
    EXPECT_EQ(app->m_optionsOpen, 0);
    EXPECT_EQ(SavedField(6), std::to_string(app->m_settings[6]));
}

}  // namespace
