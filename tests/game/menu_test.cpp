// The main menu driven through the input device: the wheel's key repeat and its fresh start after a let-go, flicks
// against its end stops, taps that select or start a group, the control mode a start sets, the side panel with its
// scrolling credits and Back, filing results into the lists, and the mended faults (a stored selection out of
// range, the panel after the screen narrows).
#include <sstream>

#include "game/search.h"
#include "tests/support/play_fixture.h"

namespace {

class Menu : public PlayFixture {
protected:
    Menu() { Frames(40); }  // slid in

    // The window pixel of a virtual point (the window is 640 x 480: one pixel a unit).
    static float Px(float v) { return v + 0.5f; }
    // Where group e is drawn on the wheel now.
    std::pair<float, float> GroupOnScreen(int e) const {
        const float a = static_cast<float>(e) * 32 + 48 + app->m_wheelAngle;
        const float off = std::fabs(a - 45);
        const float r = 116 + (off <= 45 ? (45 - off) * 1.5f : 0.0f);
        const float rad = a * 3.14159265f / 180;
        return {Px(app->m_wheelX + std::sin(rad) * r), Px(app->m_wheelY - std::cos(rad) * r)};
    }
    // Presses the pointer over the wheel, clear of its groups, drags it by (dx, dy) a frame, then lets go.
    void Flick(float dx, float dy, int frames) {
        float x = Px(static_cast<float>(app->m_wheelX) + 150), y = Px(static_cast<float>(app->m_wheelY) - 200);
        MouseDown(x, y);
        Frame();
        for (int i = 0; i < frames; ++i) {
            x += dx, y += dy;
            input->p_MouseEvent(KpEventMouseMove, -1, x, y);
            Frame();
        }
        MouseUp();
        Frames(120);
    }
    float AngleOf(int e) const { return static_cast<float>(e) * 32 + 48 + app->m_wheelAngle; }
    void TurnTo(int group) {
        app->m_menuSel = group;  // where a long walk of the wheel would leave it
        app->m_wheelTarget = app->m_wheelAngle = -32.0f * static_cast<float>(group);
        Frames(10);
    }
};

TEST_F(Menu, HoldingDownStepsAtOnceThenAfter31_19_7AndEvery4NeverPast55) {
    std::vector<int> steps;
    Press(kKeyDown);
    for (int frame = 0; frame < 400; ++frame) {
        const int before = app->m_menuSel;
        Frame();
        if (app->m_menuSel != before) steps.push_back(frame);
    }
    Release(kKeyDown);
    ASSERT_GE(steps.size(), 7u);
    EXPECT_EQ(std::vector<int>(steps.begin(), steps.begin() + 7), (std::vector<int>{0, 31, 50, 57, 61, 65, 69}));
    EXPECT_EQ(app->m_menuSel, 55);
    EXPECT_FLOAT_EQ(app->m_wheelTarget, -32 * 55);
    EXPECT_EQ(app->m_gameNum, 56);
}

// Letting go starts the repeat afresh: a second hold steps at once and then only after 31 updates, not at the pace
// the first hold had reached. Up and down turn the wheel only while it has the focus.
TEST_F(Menu, LettingGoStartsTheRepeatAfreshAndOnlyTheFocusedWheelTurns) {
    // The updates of a hold at which the selection moved; one update with the key let go follows.
    auto steps = [&](int key, int updates) {
        std::vector<int> moved;
        Press(key);
        for (int frame = 0; frame < updates; ++frame) {
            const int before = app->m_menuSel;
            Frame();
            if (app->m_menuSel != before) moved.push_back(frame);
        }
        Release(key);
        Frame();
        return moved;
    };
    EXPECT_EQ(steps(kKeyDown, 60), (std::vector<int>{0, 31, 50, 57}));
    EXPECT_EQ(steps(kKeyDown, 40), (std::vector<int>{0, 31}));
    EXPECT_EQ(steps(kKeyUp, 40), (std::vector<int>{0, 31}));
    ASSERT_EQ(app->m_menuSel, 4);

    Tap(Device::Keyboard, kKeyLeft);
    ASSERT_EQ(app->m_menuFocus, 0) << "the cog";
    EXPECT_TRUE(steps(kKeyDown, 40).empty());
    EXPECT_TRUE(steps(kKeyUp, 40).empty());
    Tap(Device::Keyboard, kKeyRight);
    Tap(Device::Keyboard, kKeyRight);
    ASSERT_EQ(app->m_menuFocus, 2) << "the strip";
    EXPECT_TRUE(steps(kKeyDown, 40).empty());
    EXPECT_TRUE(steps(kKeyUp, 40).empty());
    EXPECT_EQ(app->m_menuSel, 4);
    EXPECT_FLOAT_EQ(app->m_wheelTarget, -32 * 4);
    EXPECT_EQ(app->m_optionsOpen + app->m_sidePanelOpen, 0) << "and nothing opened";
    Tap(Device::Keyboard, kKeyLeft);
    EXPECT_EQ(steps(kKeyDown, 1), std::vector<int>{0}) << "back on the wheel";
}

TEST_F(Menu, AFlickStopsAtTheFirstAndTheLastGroup) {
    Flick(10, 10, 6);  // right and down: back past the first group, which is selected already
    EXPECT_EQ(app->m_state, 1);
    EXPECT_EQ(app->m_menuSel, 0);
    EXPECT_LE(AngleOf(0), 61.0f) << "the first group is pushed back onto the line";
    Flick(-20, -10, 4);  // a flick the other way turns on through some groups
    EXPECT_GT(app->m_menuSel, 2);
    TurnTo(54);
    Flick(-20, 0, 8);
    EXPECT_EQ(app->m_menuSel, 55);
    EXPECT_GE(AngleOf(55), 29.0f) << "the last group cannot be carried past the line";
}

TEST_F(Menu, ATapSelectsAnotherGroupAndATapOnTheSelectedOneStartsIt) {
    auto [x, y] = GroupOnScreen(2);
    MouseDown(x, y);
    Frame();
    MouseUp();
    Frame();
    EXPECT_EQ(app->m_menuSel, 2);
    EXPECT_EQ(app->m_state, 1);
    EXPECT_TRUE(FramesUntil([&] { return std::fabs(app->m_wheelAngle - app->m_wheelTarget) < 0.01f; }, 200));
    std::tie(x, y) = GroupOnScreen(2);
    MouseDown(x, y);
    Frame();
    MouseUp();
    EXPECT_EQ(app->m_state, 11);
    EXPECT_EQ(app->m_gameNum, 3);
    EXPECT_EQ(app->m_controlMode, 2) << "a pointer start plays without button icons";
}

TEST_F(Menu, TheWayAPuzzleIsStartedSetsTheIconsOfPlay) {
    Press(13);  // Enter
    Frame();
    Release(13);
    EXPECT_EQ(app->m_state, 11);
    EXPECT_EQ(app->m_controlMode, 0) << "keyboard keycaps";
    app->m_state = 1;
    Frames(2);
    PadButton(kKeyZ, true);  // the pad's first button
    Frame();
    PadButton(kKeyZ, false);
    EXPECT_EQ(app->m_state, 11);
    EXPECT_EQ(app->m_controlMode, 1) << "pad buttons";
    app->m_state = 1;
    Frames(2);
    MouseDown(Px(kp_Search_jscrw - 70), Px(kp_Search_jscrh - 48));  // the play button, on the strip
    Frame();
    MouseUp();
    EXPECT_EQ(app->m_state, 11);
    EXPECT_EQ(app->m_controlMode, 2);
}

TEST_F(Menu, FocusMovesBetweenCogWheelAndStripAndEachActivates) {
    Tap(Device::Keyboard, kKeyRight);
    EXPECT_EQ(app->m_menuFocus, 2);
    Tap(Device::Keyboard, kKeyRight);
    EXPECT_EQ(app->m_menuFocus, 2) << "the strip is the last";
    Tap(Device::Keyboard, kKeyZ);
    EXPECT_EQ(app->m_sidePanelOpen, 1);
    Tap(Device::Keyboard, kKeyDown);
    EXPECT_EQ(app->m_menuSel, 0) << "the wheel is idle under the panel";
    Tap(Device::Keyboard, kKeyZ);
    EXPECT_EQ(app->m_sidePanelOpen, 0) << "select closes the panel";
    EXPECT_EQ(app->m_state, 1) << "and starts nothing";
    for (int i = 0; i < 3; ++i) Tap(Device::Keyboard, kKeyLeft);
    EXPECT_EQ(app->m_menuFocus, 0);
    Tap(Device::Keyboard, kKeyZ);
    EXPECT_EQ(app->m_optionsOpen, 1);
}

TEST_F(Menu, EscapeClosesTheSidePanelFirstAndThenQuits) {
    Tap(Device::Keyboard, kKeyRight);
    Tap(Device::Keyboard, 13);
    ASSERT_EQ(app->m_sidePanelOpen, 1);
    Tap(Device::Keyboard, 27);
    EXPECT_EQ(app->m_sidePanelOpen, 0);
    GTEST_FLAG_SET(death_test_style, "threadsafe");  // the sound device runs threads of its own
    EXPECT_EXIT(Tap(Device::Keyboard, 27), ::testing::ExitedWithCode(0), "");
}

TEST_F(Menu, ResultsAreFiledIntoTheBestAndLastLists) {
    int* best = &app->m_scores[10 * 4];
    int* last = &app->m_scores[5120 + 10 * 4];
    const int stored[5] = {6, 5, 4, 4, 0};
    for (int i = 0; i < 5; ++i) best[i] = stored[i], last[i] = i + 1;
    app->m_gameNum = 5;
    app->m_wordNum = 4;
    app->p_LoadMenu();
    EXPECT_EQ(std::vector<int>(best, best + 7), (std::vector<int>{6, 5, 4, 4, 4, 0, 0})) << "after both 4s";
    EXPECT_EQ(std::vector<int>(last, last + 6), (std::vector<int>{4, 1, 2, 3, 4, 5}));
    EXPECT_EQ(app->m_settings[3], 4);
    EXPECT_TRUE(StateFileExists()) << "filing saves";

    int* zeros = &app->m_scores[10 * 9];
    app->m_gameNum = 10;
    app->m_wordNum = 0;
    for (int i = 0; i < 10; ++i) app->m_scores[5120 + 90 + i] = 3;
    app->p_LoadMenu();
    EXPECT_EQ(std::vector<int>(zeros, zeros + 10), std::vector<int>(10, 0));
    EXPECT_EQ(app->m_scores[5120 + 90], 0);
    EXPECT_EQ(app->m_scores[5120 + 99], 3) << "the tenth drops out";

    for (int r : {6, 6, 6, 6, 6, 6, 6, 6, 6, 6, 5}) {
        app->m_wordNum = r;
        app->p_LoadMenu();
    }
    EXPECT_EQ(zeros[9], 6) << "a full list of sixes keeps its sixes";
}

TEST_F(Menu, AStoredSelectionOutOfRangeStartsOnTheFirstGroup) {
    std::string text;
    int sum = 0;
    for (int i = 0; i < 25; ++i) {
        const int value = i == 3 ? -7 : (i == 5 ? 1 : 0);
        sum += i * value;
        text += std::to_string(value) + "|";
    }
    WriteStateFile(text + std::to_string(sum) + "|");
    app->p_Load();
    EXPECT_EQ(app->m_menuSel, 0);
    EXPECT_FLOAT_EQ(app->m_wheelTarget, 0);
    Frames(40);
    int names = 0;
    for (int at = 0; at < app->m_drawCount; at += 15) names += app->m_drawList[at] == 95.0f ? 1 : 0;
    EXPECT_GE(names, 4) << "the wheel shows its groups";
}

// The side panel's credits: eight lines about the first one shown, counted round one less than their number, so
// the closing line never scrolls into view.
TEST_F(Menu, TheSidePanelScrollsTheCreditsRoundWithoutTheirClosingLine) {
    const int n = kp_Search_CreditText.Length();
    // The lines the draw list shows, top to bottom: the glyphs at the credits' scale, a line to a height.
    auto shown = [&] {
        std::vector<std::string> lines;
        float y = -1;
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] != 90.0f || r[4] != 0.8f) continue;
            if (lines.empty() || r[2] != y) lines.emplace_back();
            y = r[2];
            lines.back() += static_cast<char>(r[6] + 32);
        }
        return lines;
    };
    // The credit lines of the given indices as the font draws them: no spaces, and nothing for a blank line.
    auto lines = [&](std::vector<int> indices) {
        std::vector<std::string> out;
        for (int i : indices) {
            std::string text = kp_Search_CreditText[i].ToUtf8();
            std::erase(text, ' ');
            if (!text.empty()) out.push_back(text);
        }
        return out;
    };
    Tap(Device::Keyboard, kKeyRight);
    Press(13);
    Frame();
    Release(13);
    ASSERT_EQ(app->m_sidePanelOpen, 1);
    // The first frame: the end of the round (the closing line left out), then its start.
    EXPECT_EQ(shown(), lines({n - 4, n - 3, n - 2, 0, 1, 2, 3, 4}));

    // Down hurries the credits on, through a whole round and two lines more.
    const std::string closing = lines({n - 1}).at(0);
    bool closingShown = false;
    std::vector<std::string> third;
    Press(kKeyDown);
    for (int frame = 0; frame < 1000 && app->m_creditLine < n + 1; ++frame) {
        Frame();
        if (app->m_creditLine == 3 && third.empty()) third = shown();
        for (const std::string& line : shown()) closingShown = closingShown || line == closing;
    }
    Release(kKeyDown);
    ASSERT_EQ(app->m_creditLine, n + 1);
    EXPECT_EQ(third, lines({0, 1, 2, 3, 4, 5, 6, 7})) << "three lines on";
    EXPECT_EQ(shown(), lines({n - 2, 0, 1, 2, 3, 4, 5, 6}));
    EXPECT_FALSE(closingShown);
    EXPECT_EQ(app->m_sidePanelOpen, 1);
}

TEST_F(Menu, TheSidePanelEasesToAnarrowerScreen) {
    Tap(Device::Keyboard, kKeyRight);
    Tap(Device::Keyboard, 13);
    Frames(60);
    EXPECT_FLOAT_EQ(app->m_sidePanelX, 500);
    OpenWindow(1280, 1024);  // 600 x 480 virtual
    app->m_lastDevWidth = 0;  // a new size: the art reloads
    Render();
    Frames(80);
    EXPECT_FLOAT_EQ(kp_Search_jscrw, 600);
    EXPECT_FLOAT_EQ(app->m_sidePanelX, 460) << "no wider than the screen";
}

// The whole cycle from the first menu frame: the tutorial played to the end comes back to the menu with its medal
// and its result in both lists of the saved record; then the wheel is walked to group 30 with the keys, and that
// puzzle is filed too.
TEST_F(Menu, PlaysTheTutorialAndGroup30FromTheMenuAndFilesBoth) {
    auto fields = [&] {
        std::vector<std::string> out;
        std::stringstream text(StateFile());
        for (std::string field; std::getline(text, field, '|');) out.push_back(field);
        return out;
    };
    auto medalOf = [&](int group) {
        // The entry's medal is the button record drawn where the group is.
        auto [x, y] = GroupOnScreen(group);
        for (int at = 0; at < app->m_drawCount; at += 15) {
            const float* r = &app->m_drawList[at];
            if (r[0] == 95.0f && std::fabs(r[1] + 0.5f - x) < 1 && std::fabs(r[2] + 0.5f - y) < 1) return int(r[6]);
        }
        return -1;
    };
    EXPECT_EQ(medalOf(0), 0);
    Tap(Device::Keyboard, 13);
    ASSERT_EQ(app->m_state, 10);
    ASSERT_EQ(app->m_gameNum, 1);
    ASSERT_TRUE(PlayPuzzle(Device::Keyboard));
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1 && app->m_finishTimer == 0; }, 200));
    Frames(40);
    EXPECT_EQ(medalOf(0), 6) << "the tutorial's medal shows its best result";
    auto saved = fields();
    ASSERT_EQ(saved.size(), 10892u);
    EXPECT_EQ(saved[35], "6") << "best list";
    EXPECT_EQ(saved[36], "6") << "last list";
    EXPECT_EQ(saved[3], "0") << "the last group played";

    Press(kKeyDown);
    ASSERT_TRUE(FramesUntil([&] { return app->m_menuSel == 30; }, 400));
    Release(kKeyDown);
    Frames(40);
    Tap(Device::Keyboard, 13);
    ASSERT_EQ(app->m_gameNum, 31);
    ASSERT_TRUE(PlayPuzzle(Device::Mouse));
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1; }, 200));
    saved = fields();
    const size_t row = 35 + 30 * 21;
    EXPECT_EQ(saved[row], "6");
    EXPECT_EQ(saved[row + 1], "6");
    EXPECT_EQ(saved[3], "30");
    EXPECT_EQ(saved[35], "6") << "the tutorial's results stay";
}

}  // namespace
