// The main menu through real OpenGL (Mesa under Xvfb), drawn by the application's own render pass with the build
// tree's generated art: the first menu, the wheel turned to another group, the side panel open, and the menu after
// the tutorial has been played to the end from it, at 640 x 480 and 1280 x 1024. The pictures are kept beside this
// program for a person to look at; the checks read the wheel, the medal and the panel back.
#include "tests/support/gl_app_fixture.h"
#include "tests/support/play_fixture.h"

namespace {

class MenuGl : public PuzzlePlayer<GlApp> {
protected:
    void Frame() override { Update(); }
    void PadButton(int, bool) override { FAIL() << "no pad in a real window"; }

    // The menu after loading, slid in and settled.
    void OpenMenu(int width, int height) {
        Start(width, height);
        Frames(60);
        ASSERT_EQ(app->m_state, 1);
    }
    void Key(int code) { Tap(Device::Keyboard, code); }

    // Menu colours: the orange background, the strip darker.
    static bool Orange(Rgb p) { return p.r > 120 && p.g > 50 && p.g < 110 && p.b < 40; }
};

TEST_F(MenuGl, TheFirstMenuTheWheelTurnedAndTheSidePanelAt640x480) {
    OpenMenu(640, 480);
    EXPECT_EQ(app->m_menuSel, 0) << "a first run selects the tutorial";
    Shot("menu_640x480");
    EXPECT_GT(Count(0, 0, 500, 480, Orange), 640 * 480 / 4) << "the menu's orange background";
    EXPECT_EQ(Count(520, 100, 640, 380, Orange), 0) << "the strip darkens the right edge";

    for (int i = 0; i < 12; ++i) Key(kKeyDown);
    Frames(40);
    EXPECT_EQ(app->m_menuSel, 12);
    Shot("menu_turned_640x480");

    Key(kKeyRight);
    Key(13);  // Return on the strip opens the side panel
    Frames(60);
    EXPECT_EQ(app->m_sidePanelOpen, 1);
    Shot("side_panel_640x480");
    // (the ring of coloured dots at the right has an orange one)
    EXPECT_EQ(Count(0, 150, 400, 480, Orange), 0) << "the panel lies across the whole screen";
}

TEST_F(MenuGl, TheMenuAt1280x1024) {
    OpenMenu(1280, 1024);
    Shot("menu_1280x1024");
    EXPECT_GT(Count(0, 0, 1000, 1024, Orange), 1280 * 1024 / 4);
}

TEST_F(MenuGl, TheMenuAfterTheTutorialShowsItsMedal) {
    OpenMenu(640, 480);
    const int before = Count(0, 0, 640, 480, [](Rgb p) { return p.r > 200 && p.g > 160 && p.b < 90; });
    Key(13);
    ASSERT_EQ(app->m_state, 10);
    Frame();
    ASSERT_TRUE(PlayPuzzle(Device::Keyboard));
    ASSERT_TRUE(FramesUntil([&] { return app->m_state == 1 && app->m_finishTimer == 0; }, 200));
    Frames(40);
    EXPECT_EQ(app->m_scores[0], 6);
    Shot("menu_after_tutorial_640x480");
    const int gold = Count(0, 0, 640, 480, [](Rgb p) { return p.r > 200 && p.g > 160 && p.b < 90; });
    EXPECT_GT(gold, before + 200) << "the tutorial's medal turned gold";
}

}  // namespace
