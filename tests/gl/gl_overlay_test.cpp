// The two overlays through real OpenGL (Mesa under Xvfb), drawn by the application's render pass with the build
// tree's generated art: the options box over the menu, and the pause menu with its drawing toy over a puzzle, at
// 640 x 480 and at 1280 x 1024. The pictures are kept beside this program for a person to look at.
#include "tests/support/gl_app_fixture.h"
#include "tests/support/play_fixture.h"

namespace {

class OverlayGl : public PuzzlePlayer<GlApp> {
protected:
    void Frame() override { Update(); }
    void PadButton(int, bool) override { FAIL() << "no pad in a real window"; }

    void ShowOptions(const std::string& name) {
        Frames(60);
        for (int i = 0; i < 3; ++i) Tap(Device::Keyboard, kKeyLeft);  // the cog
        Tap(Device::Keyboard, 13);
        ASSERT_EQ(app->m_optionsOpen, 1);
        Frames(40);
        Tap(Device::Keyboard, kKeyDown);  // the sound row
        Shot(name);
        // The box: the orange-brown panel from x 50 to the width less 50, its rows in blue with white labels.
        auto panel = [](Rgb p) { return p.r > 120 && p.r < 190 && p.g > 50 && p.g < 110 && p.b < 40; };
        EXPECT_GT(Count(50, height / 2, width - 50, height, panel), width * height / 6);
        auto row = [](Rgb p) { return p.b > p.g + 25; };
        EXPECT_GT(Count(84, 0, width - 84, height, row), width * height / 20);
    }
    void ShowPause(const std::string& name) {
        StartPuzzle(1);
        ASSERT_TRUE(FramesUntil([&] { return Settled(); }));
        Tap(Device::Keyboard, 27);
        ASSERT_EQ(app->m_paused, 1);
        Frames(150);  // the toy draws its trail
        Shot(name);
        // The toy's trail: coloured lines right of the icons, brightest at the pen.
        auto coloured = [](Rgb p) { return std::max({p.r, p.g, p.b}) > 90 && std::min({p.r, p.g, p.b}) < 60; };
        EXPECT_GT(Count(width / 4, 0, width, height, coloured), 300);
    }
};

TEST_F(OverlayGl, BothOverlaysAt640x480) {
    Start(640, 480);
    ShowOptions("options_640x480");
    Tap(Device::Keyboard, 27);  // Back closes the box
    Frames(40);
    ShowPause("pause_640x480");
}

TEST_F(OverlayGl, BothOverlaysAt1280x1024) {
    Start(1280, 1024);
    ShowOptions("options_1280x1024");
    Tap(Device::Keyboard, 27);
    Frames(40);
    ShowPause("pause_1280x1024");
}

}  // namespace
